#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace orvane {

// fcitx5 with pinyin as a Chinese user's second input method, on the
// session bus, its settings in the configuration folder the environment
// names; and what fcitx5-remote asks of its controller.
class Fcitx {
public:
    ~Fcitx() {
        process.terminate();
        process.waitForFinished(3000);
    }
    // Started once it answers on the bus.
    bool Start(const QProcessEnvironment& environment) {
        QString config = environment.value(QStringLiteral("XDG_CONFIG_HOME"));
        QDir().mkpath(config + QStringLiteral("/fcitx5"));
        QFile profile(config + QStringLiteral("/fcitx5/profile"));
        if (!profile.open(QIODevice::WriteOnly)) {
            return false;
        }
        profile.write("[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=pinyin\n\n"
                      "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n"
                      "[Groups/0/Items/1]\nName=pinyin\nLayout=\n\n"
                      "[GroupOrder]\n0=Default\n");
        profile.close();
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("fcitx5"),
                      {QStringLiteral("--disable=notificationitem,classicui")});
        return process.waitForStarted() &&
               QTest::qWaitFor(
                   [] {
                       return QDBusConnection::sessionBus().interface()->isServiceRegistered(
                           QStringLiteral("org.fcitx.Fcitx5"));
                   },
                   15000);
    }
    // The controller's answer: the state of the focused input context (2
    // active, 1 inactive), or -1.
    static int Call(const char* method) {
        QDBusMessage reply = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
            QStringLiteral("org.fcitx.Fcitx5"), QStringLiteral("/controller"),
            QStringLiteral("org.fcitx.Fcitx.Controller1"), QString::fromLatin1(method)));
        return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                   ? reply.arguments().front().toInt()
                   : -1;
    }

    QProcess process;
};

} // namespace orvane
