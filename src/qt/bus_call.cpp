#include "bus_call.h"

#include "window/fatal_error.h"

#include <QDBusError>
#include <QDBusPendingCallWatcher>

namespace orvane {

namespace {

// The longest wait for an answer: the user is waiting for the typing.
constexpr int kAnswerLimit = 500;

} // namespace

void CallOnBus(const QDBusConnection& bus, const QDBusMessage& call, QObject* context,
               std::function<void(const QDBusMessage&)> answer) {
    if (!bus.isConnected()) {
        answer(call.createErrorReply(QDBusError::Disconnected, QString()));
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerLimit), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [answer = std::move(answer)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         QDBusMessage reply = finished->reply();
                         RunGuarded([&] { answer(reply); });
                     });
}

bool IsErrorReply(const QDBusMessage& reply) {
    return reply.type() != QDBusMessage::ReplyMessage;
}

bool NobodyThere(const QDBusMessage& reply) {
    QString name = reply.errorName();
    return name == QDBusError::errorString(QDBusError::ServiceUnknown) ||
           name == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner") ||
           name == QDBusError::errorString(QDBusError::Disconnected);
}

} // namespace orvane
