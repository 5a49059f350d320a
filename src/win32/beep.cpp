// The alarm's beeps: the system's sounds, which play without waiting.
#include "window/beep.h"

#include <windows.h>

namespace orvane {

void PlayBeep(BeepSound sound) {
    MessageBeep(sound == BeepSound::Opening ? MB_ICONEXCLAMATION : MB_OK);
}

} // namespace orvane
