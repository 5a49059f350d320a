#pragma once

#include "typing/keyboard.h"

#include <QObject>
#include <QString>
#include <functional>

class QDBusMessage;

namespace orvane {

// The input method of the focused window, switched through its own D-Bus
// service: fcitx5's controller (what fcitx5-remote calls). Each call is
// answered on the window's thread; none waits on it.
class BusInputMethod {
public:
    // Turns the method to direct input and confirms that it is.
    void TurnOff(std::function<void(InputMethodSwitch)> done);
    // Turns it on again and confirms that it is.
    void TurnBackOn(std::function<void(bool)> done);

private:
    // Calls a method of fcitx5's controller; `answer` gets the reply, or
    // an error message.
    void Call(const QString& method, std::function<void(const QDBusMessage&)> answer);

    QObject context_; // answers come back to this; they go with it
};

} // namespace orvane
