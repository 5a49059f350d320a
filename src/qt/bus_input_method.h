#pragma once

#include "fcitx_switch.h"
#include "ibus_switch.h"
#include "typing/keyboard.h"

#include <functional>

namespace orvane {

// The input method of the focused window, switched through its own D-Bus
// service: fcitx5's controller, else IBus's engine. Each call is answered
// on the window's thread; none waits on it.
class BusInputMethod {
public:
    // Turns the method to direct input and confirms that it is.
    void TurnOff(std::function<void(InputMethodFound)> done);
    // Turns the one turned off on again and confirms that it is.
    void TurnBackOn(std::function<void(bool)> done);

private:
    enum class Turned { None, Fcitx, Ibus };

    FcitxSwitch fcitx_;
    IbusSwitch ibus_;
    Turned turned_ = Turned::None;
};

} // namespace orvane
