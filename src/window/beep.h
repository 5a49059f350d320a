#pragma once

namespace orvane {

// The alarm's sounds: a short beep for each of the last seconds before the
// opening, a distinct one at the opening; and the sound of a press of the
// hot key that typed nothing. Returns at once. Each desktop's library
// implements it.
enum class BeepSound { Second, Opening, Refused };
void PlayBeep(BeepSound sound);

} // namespace orvane
