#pragma once

#include "typing/keyboard.h"

#include <QObject>
#include <QString>
#include <functional>

class QDBusMessage;

namespace orvane {

// fcitx5's input method of the focused window, through its controller on
// the session bus (what fcitx5-remote calls).
class FcitxSwitch {
public:
    // Turns it to direct input and confirms that it is; `present` is false
    // when there is no fcitx5 to ask.
    void TurnOff(std::function<void(InputMethodSwitch found, bool present)> done);
    // Turns it on again and confirms that it is.
    void TurnBackOn(std::function<void(bool)> done);

private:
    void Call(const QString& method, std::function<void(const QDBusMessage&)> answer);

    QObject context_; // answers come back to this; they go with it
};

} // namespace orvane
