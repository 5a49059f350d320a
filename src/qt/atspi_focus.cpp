#include "atspi_focus.h"

#include "ansi.h"
#include "bus_call.h"

#include <QDBusArgument>
#include <memory>

namespace orvane {

namespace {

const QString kEvents = QStringLiteral("org.a11y.atspi.Event.Object");
const QString kRegistry = QStringLiteral("org.a11y.atspi.Registry");
const QString kFocused = QStringLiteral("focused");

// Bits of an object's state set.
constexpr int kEditable = 7;
constexpr int kFocusedState = 12;
// No box is compared beyond this many characters.
constexpr int kLongestText = 512;

// Firefox pads each character beyond the BMP with a U+FEFF, so that its
// offsets count as UTF-16 does: the padding is no part of the box's text.
QString WithoutPadding(const QString& text) {
    QString kept;
    for (qsizetype at = 0; at < text.size(); ++at) {
        bool padding = text[at] == QChar(0xFEFF) && at > 0 && text[at - 1].isLowSurrogate();
        if (!padding) {
            kept += text[at];
        }
    }
    return kept;
}

bool HasState(const QDBusMessage& reply, int state) {
    if (IsErrorReply(reply) || reply.arguments().isEmpty()) {
        return false;
    }
    QList<uint> words;
    reply.arguments().front().value<QDBusArgument>() >> words;
    return state / 32 < words.size() && (words[state / 32] & (1U << (state % 32))) != 0;
}

} // namespace

// The bus's address comes from the session's accessibility service, which
// is started when asked, as every GTK program asks at its start.
AtspiFocus::AtspiFocus() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
    CallOnBus(QDBusConnection::sessionBus(), call, this, [this](const QDBusMessage& reply) {
        if (!IsErrorReply(reply) && !reply.arguments().isEmpty()) {
            Connect(reply.arguments().front().toString());
        }
    });
}

// A connection of its own: its events end with it.
void AtspiFocus::Connect(const QString& address) {
    QDBusConnection bus = QDBusConnection::connectToBus(address, name_);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(name_);
        return;
    }
    bus_ = bus;
    bus.connect(QString(), QString(), kEvents, QStringLiteral("StateChanged"), {kFocused},
                QString(), this, SLOT(OnStateChanged(QDBusMessage)));
    Register(true);
}

AtspiFocus::~AtspiFocus() {
    if (bus_) {
        QDBusConnection::disconnectFromBus(name_);
    }
}

// Programs send their focus events only while somebody listens: the
// registry is told. Registries before 2.46 take the event's name alone.
void AtspiFocus::Register(bool withProperties) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kRegistry, QStringLiteral("/org/a11y/atspi/registry"),
                                       kRegistry, QStringLiteral("RegisterEvent"));
    call << QStringLiteral("object:state-changed:focused");
    if (withProperties) {
        call << QStringList() << QString();
    }
    CallOnBus(*bus_, call, this, [this, withProperties](const QDBusMessage& reply) {
        if (IsErrorReply(reply) && withProperties) {
            Register(false);
        }
    });
}

// The process of a program is asked when one of its objects first gets
// the focus: a read then needs no more than the object's state and text.
void AtspiFocus::OnStateChanged(const QDBusMessage& message) {
    QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || arguments[0].toString() != kFocused || arguments[1].toInt() != 1) {
        return;
    }
    sender_ = message.service();
    path_ = message.path();
    if (processes_.contains(sender_)) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionUnixProcessID"));
    call << sender_;
    CallOnBus(*bus_, call, this, [this, sender = sender_](const QDBusMessage& reply) {
        if (!IsErrorReply(reply) && !reply.arguments().isEmpty()) {
            processes_[sender] = reply.arguments().front().toUInt();
        }
    });
}

// The box that last got the focus, if it is the process's, still has the
// focus and takes text: its text. State and text are asked together.
void AtspiFocus::Read(quint32 process, std::function<void(FieldText)> done) {
    auto known = processes_.find(sender_);
    if (!bus_ || known == processes_.end() || known->second != process || process == 0) {
        done({});
        return;
    }
    struct Answers {
        std::optional<bool> usable; // focused and editable
        std::optional<QString> text;
    };
    auto answers = std::make_shared<Answers>();
    auto both = [answers, box = ToAnsi(sender_ + path_), done = std::move(done)] {
        if (answers->usable && answers->text) {
            done(*answers->usable ? FieldText{true, box, ToAnsi(*answers->text)} : FieldText{});
        }
    };
    QDBusMessage state = QDBusMessage::createMethodCall(
        sender_, path_, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetState"));
    CallOnBus(*bus_, state, this, [answers, both](const QDBusMessage& reply) {
        answers->usable = answers->usable.value_or(true) && HasState(reply, kFocusedState) &&
                          HasState(reply, kEditable);
        both();
    });
    AskText(sender_, path_, [answers, both](const std::optional<QString>& text) {
        answers->text = text.value_or(QString());
        if (!text) {
            answers->usable = false;
        }
        both();
    });
}

// The box's identity is its program's name on the bus and its path.
void AtspiFocus::ReadAgain(const std::string& field, std::function<void(FieldText)> done) {
    QString box = ToUnicode(field);
    qsizetype path = box.indexOf(QLatin1Char('/'));
    if (!bus_ || path <= 0) {
        done({});
        return;
    }
    AskText(box.left(path), box.mid(path),
            [field, done = std::move(done)](const std::optional<QString>& text) {
                done(text ? FieldText{true, field, ToAnsi(*text)} : FieldText{});
            });
}

void AtspiFocus::AskText(const QString& sender, const QString& path,
                         std::function<void(std::optional<QString>)> done) {
    QDBusMessage text = QDBusMessage::createMethodCall(
        sender, path, QStringLiteral("org.a11y.atspi.Text"), QStringLiteral("GetText"));
    text << 0 << -1;
    CallOnBus(*bus_, text, this, [done = std::move(done)](const QDBusMessage& reply) {
        if (IsErrorReply(reply) || reply.arguments().isEmpty()) {
            done(std::nullopt);
            return;
        }
        done(WithoutPadding(reply.arguments().front().toString()).left(kLongestText));
    });
}

} // namespace orvane
