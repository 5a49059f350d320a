#include "bus_input_method.h"

#include <utility>

namespace orvane {

// fcitx5 or IBus running puts its module between the keys and every
// program that loads it, switched off or not.
void BusInputMethod::TurnOff(std::function<void(InputMethodFound)> done) {
    fcitx_.TurnOff([this, done = std::move(done)](InputMethodSwitch found, bool present) {
        if (present) {
            turned_ = found == InputMethodSwitch::SwitchedOff ? Turned::Fcitx : Turned::None;
            done({found, true});
            return;
        }
        ibus_.TurnOff([this, done](InputMethodSwitch ibusFound, bool ibusPresent) {
            turned_ = ibusFound == InputMethodSwitch::SwitchedOff ? Turned::Ibus : Turned::None;
            done({ibusFound, ibusPresent});
        });
    });
}

void BusInputMethod::TurnBackOn(std::function<void(bool)> done) {
    Turned turned = std::exchange(turned_, Turned::None);
    if (turned == Turned::Fcitx) {
        fcitx_.TurnBackOn(std::move(done));
    } else if (turned == Turned::Ibus) {
        ibus_.TurnBackOn(std::move(done));
    } else {
        done(true);
    }
}

} // namespace orvane
