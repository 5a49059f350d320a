#include "ibus_switch.h"

#include "bus_call.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusVariant>
#include <QDir>
#include <QFile>

namespace orvane {

namespace {

const QString kService = QStringLiteral("org.freedesktop.IBus");
const QString kPath = QStringLiteral("/org/freedesktop/IBus");
const QString kConnection = QStringLiteral("orvane-ibus");
// The keyboard as it is, with no conversion: typed keys arrive as keys.
const QString kDirectEngine = QStringLiteral("xkb:us::eng");

QString MachineId() {
    for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly)) {
            return QString::fromLatin1(file.readLine(64)).trimmed();
        }
    }
    return {};
}

// Where IBus's bus is: named in the environment, or in the file IBus
// writes for this machine and display.
QString IbusAddress() {
    QString named = qEnvironmentVariable("IBUS_ADDRESS");
    if (!named.isEmpty()) {
        return named;
    }
    QString display = qEnvironmentVariable("DISPLAY");
    QString host = display.section(QLatin1Char(':'), 0, 0);
    QString number = display.section(QLatin1Char(':'), 1).section(QLatin1Char('.'), 0, 0);
    QString config =
        qEnvironmentVariable("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"));
    QFile file(config + QStringLiteral("/ibus/bus/") + MachineId() + QLatin1Char('-') +
               (host.isEmpty() ? QStringLiteral("unix") : host) + QLatin1Char('-') + number);
    if (number.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    for (int lines = 0; lines < 32 && !file.atEnd(); ++lines) {
        QString line = QString::fromUtf8(file.readLine(4096)).trimmed();
        if (line.startsWith(QStringLiteral("IBUS_ADDRESS="))) {
            return line.mid(13);
        }
    }
    return {};
}

// The name in the engine's description (a struct: its type's name, its
// attachments, then the engine's name); empty when IBus says there is no
// engine (no input context has had the focus), nothing when IBus did not
// answer.
std::optional<QString> EngineName(const QDBusMessage& reply) {
    if (reply.type() == QDBusMessage::ErrorMessage &&
        reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.Failed")) {
        return QString();
    }
    if (IsErrorReply(reply) || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    QVariant value = qvariant_cast<QDBusVariant>(reply.arguments().front()).variant();
    value = qvariant_cast<QDBusVariant>(value).variant();
    const auto description = qvariant_cast<QDBusArgument>(value); // const: read, not written
    if (description.currentType() != QDBusArgument::StructureType) {
        return std::nullopt;
    }
    QString type;
    QVariantMap attachments;
    QString name;
    description.beginStructure();
    description >> type >> attachments >> name;
    return name;
}

} // namespace

std::optional<QDBusConnection> IbusSwitch::Bus() {
    QString address = IbusAddress();
    if (address.isEmpty()) {
        return std::nullopt;
    }
    if (address != address_) {
        QDBusConnection::disconnectFromBus(kConnection);
        address_ = address;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(address, kConnection);
    if (!bus.isConnected()) {
        // A connection that failed stays under its name: the next try makes
        // a new one.
        QDBusConnection::disconnectFromBus(kConnection);
        address_.clear();
        return std::nullopt;
    }
    return bus;
}

void IbusSwitch::AskEngine(std::function<void(const std::optional<QString>&)> answer) {
    std::optional<QDBusConnection> bus = Bus();
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << kService << QStringLiteral("GlobalEngine");
    if (!bus) {
        answer(std::nullopt);
        return;
    }
    CallOnBus(*bus, call, &context_, [answer = std::move(answer)](const QDBusMessage& reply) {
        answer(EngineName(reply));
    });
}

void IbusSwitch::SetEngine(const QString& name, std::function<void(bool)> done) {
    std::optional<QDBusConnection> bus = Bus();
    if (!bus) {
        done(false);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService,
                                                       QStringLiteral("SetGlobalEngine"));
    call << name;
    CallOnBus(*bus, call, &context_,
              [this, name, done = std::move(done)](const QDBusMessage& reply) {
                  if (IsErrorReply(reply)) {
                      done(false);
                      return;
                  }
                  AskEngine([name, done](const std::optional<QString>& now) { done(now == name); });
              });
}

// No IBus, no engine, or one that converts nothing (a keyboard layout's):
// there is nothing to turn off.
void IbusSwitch::TurnOff(std::function<void(InputMethodSwitch, bool)> done) {
    if (!Bus()) {
        done(InputMethodSwitch::Direct, false);
        return;
    }
    AskEngine([this, done = std::move(done)](const std::optional<QString>& engine) {
        if (!engine) {
            done(InputMethodSwitch::Failed, true);
        } else if (engine->isEmpty() || engine->startsWith(QStringLiteral("xkb:"))) {
            done(InputMethodSwitch::Direct, true);
        } else {
            SetEngine(kDirectEngine, [this, name = *engine, done](bool set) {
                before_ = set ? name : QString();
                done(set ? InputMethodSwitch::SwitchedOff : InputMethodSwitch::Failed, true);
            });
        }
    });
}

void IbusSwitch::TurnBackOn(std::function<void(bool)> done) {
    SetEngine(std::exchange(before_, QString()), std::move(done));
}

} // namespace orvane
