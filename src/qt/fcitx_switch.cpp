#include "fcitx_switch.h"

#include "bus_call.h"

#include <QDBusError>
#include <QFileInfo>

namespace orvane {

namespace {

// fcitx5's states of the focused input context.
constexpr int kNoContext = 0;
constexpr int kInactive = 1;
constexpr int kActive = 2;

// The state in the reply to "State"; -1 for an error.
int StateIn(const QDBusMessage& reply) {
    return IsErrorReply(reply) || reply.arguments().isEmpty() ? -1
                                                              : reply.arguments().front().toInt();
}

// A session bus to ask: one named, or the user's bus of the session
// manager. Without either there is none, and none is started for this.
bool SessionBusThere() {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") ||
           (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")));
}

} // namespace

void FcitxSwitch::Call(const QString& method, std::function<void(const QDBusMessage&)> answer) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.fcitx.Fcitx5"), QStringLiteral("/controller"),
        QStringLiteral("org.fcitx.Fcitx.Controller1"), method);
    // Asking must not start an fcitx5 the user does not run.
    call.setAutoStartService(false);
    if (!SessionBusThere()) {
        answer(call.createErrorReply(QDBusError::Disconnected, QString()));
        return;
    }
    CallOnBus(QDBusConnection::sessionBus(), call, &context_, std::move(answer));
}

void FcitxSwitch::TurnOff(std::function<void(InputMethodSwitch, bool)> done) {
    Call(QStringLiteral("State"), [this, done = std::move(done)](const QDBusMessage& reply) {
        int state = StateIn(reply);
        if (NobodyThere(reply)) {
            done(InputMethodSwitch::Direct, false);
        } else if (state == kNoContext || state == kInactive) {
            done(InputMethodSwitch::Direct, true);
        } else if (state != kActive) {
            done(InputMethodSwitch::Failed, true);
        } else {
            Call(QStringLiteral("Deactivate"), [this, done](const QDBusMessage& off) {
                if (IsErrorReply(off)) {
                    done(InputMethodSwitch::Failed, true);
                    return;
                }
                Call(QStringLiteral("State"), [done](const QDBusMessage& confirm) {
                    done(StateIn(confirm) == kInactive ? InputMethodSwitch::SwitchedOff
                                                       : InputMethodSwitch::Failed,
                         true);
                });
            });
        }
    });
}

void FcitxSwitch::TurnBackOn(std::function<void(bool)> done) {
    Call(QStringLiteral("Activate"), [this, done = std::move(done)](const QDBusMessage& on) {
        if (IsErrorReply(on)) {
            done(false);
            return;
        }
        Call(QStringLiteral("State"),
             [done](const QDBusMessage& confirm) { done(StateIn(confirm) == kActive); });
    });
}

} // namespace orvane
