#pragma once

#include "typing/keyboard.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QDBusConnection;

namespace orvane {

// IBus's input method, through IBus's own bus: its global engine set to
// the plain US keyboard while typing, and back to the engine before.
class IbusSwitch {
public:
    // `present` is false when there is no IBus to ask.
    void TurnOff(std::function<void(InputMethodSwitch found, bool present)> done);
    void TurnBackOn(std::function<void(bool)> done);

private:
    // The engine in use: its name, empty for none, nothing when IBus did
    // not answer.
    void AskEngine(std::function<void(const std::optional<QString>&)> answer);
    // Sets the engine and confirms that it is in use.
    void SetEngine(const QString& name, std::function<void(bool)> done);
    std::optional<QDBusConnection> Bus();

    QString address_; // of the bus connected to
    QString before_;  // the engine turned off
    QObject context_; // answers come back to this; they go with it
};

} // namespace orvane
