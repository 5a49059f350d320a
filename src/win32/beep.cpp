// The alarm's beeps and the refusal: the system's sounds, which play without
// waiting.
#include "window/beep.h"

#include <windows.h>

namespace orvane {

void PlayBeep(BeepSound sound) {
    MessageBeep(sound == BeepSound::Opening   ? MB_ICONEXCLAMATION
                : sound == BeepSound::Refused ? MB_ICONHAND
                                              : MB_OK);
}

} // namespace orvane
