#include "bus_input_method.h"

#include "window/fatal_error.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <memory>

namespace orvane {

namespace {

// The longest wait for an answer: the user is waiting for the typing.
constexpr int kAnswerLimit = 500;

// fcitx5's states of the focused input context.
constexpr int kNoContext = 0;
constexpr int kInactive = 1;
constexpr int kActive = 2;

bool IsError(const QDBusMessage& reply) {
    return reply.type() != QDBusMessage::ReplyMessage;
}

// The state in the reply to "State"; -1 for an error.
int StateIn(const QDBusMessage& reply) {
    return IsError(reply) || reply.arguments().isEmpty() ? -1 : reply.arguments().front().toInt();
}

// No fcitx5 on the bus, or no bus at all: there is no input method to turn
// off this way.
bool NobodyThere(const QDBusMessage& reply) {
    QString name = reply.errorName();
    return name == QDBusError::errorString(QDBusError::ServiceUnknown) ||
           name == QDBusError::errorString(QDBusError::Disconnected);
}

// A session bus to ask: one named, or the user's bus of the session
// manager. Without either there is none, and none is started for this.
bool SessionBusThere() {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") ||
           (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")));
}

} // namespace

void BusInputMethod::Call(const QString& method, std::function<void(const QDBusMessage&)> answer) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.fcitx.Fcitx5"), QStringLiteral("/controller"),
        QStringLiteral("org.fcitx.Fcitx.Controller1"), method);
    if (!SessionBusThere() || !QDBusConnection::sessionBus().isConnected()) {
        answer(call.createErrorReply(QDBusError::Disconnected, QString()));
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(call, kAnswerLimit), &context_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &context_,
                     [answer = std::move(answer)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         QDBusMessage reply = finished->reply();
                         RunGuarded([&] { answer(reply); });
                     });
}

void BusInputMethod::TurnOff(std::function<void(InputMethodSwitch)> done) {
    Call(QStringLiteral("State"), [this, done](const QDBusMessage& reply) {
        int state = StateIn(reply);
        if (NobodyThere(reply) || state == kNoContext || state == kInactive) {
            done(InputMethodSwitch::Direct);
        } else if (state != kActive) {
            done(InputMethodSwitch::Failed);
        } else {
            Call(QStringLiteral("Deactivate"), [this, done](const QDBusMessage& off) {
                if (IsError(off)) {
                    done(InputMethodSwitch::Failed);
                    return;
                }
                Call(QStringLiteral("State"), [done](const QDBusMessage& confirm) {
                    done(StateIn(confirm) == kInactive ? InputMethodSwitch::SwitchedOff
                                                       : InputMethodSwitch::Failed);
                });
            });
        }
    });
}

void BusInputMethod::TurnBackOn(std::function<void(bool)> done) {
    Call(QStringLiteral("Activate"), [this, done](const QDBusMessage& on) {
        if (IsError(on)) {
            done(false);
            return;
        }
        Call(QStringLiteral("State"),
             [done](const QDBusMessage& confirm) { done(StateIn(confirm) == kActive); });
    });
}

} // namespace orvane
