#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <functional>

class QObject;

namespace orvane {

// Calls a method over D-Bus without waiting: `answer` gets the reply, or an
// error reply (no bus, no answer within half a second), on the window's
// thread under the handlers' guard, unless `context` is gone by then.
void CallOnBus(const QDBusConnection& bus, const QDBusMessage& call, QObject* context,
               std::function<void(const QDBusMessage&)> answer);

bool IsErrorReply(const QDBusMessage& reply);

// The service is not on the bus, or there is no bus: nothing of it to ask.
bool NobodyThere(const QDBusMessage& reply);

} // namespace orvane
