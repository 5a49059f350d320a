// The hot key with pinyin active in the form, as most Chinese users have
// it, in fcitx5 and in IBus: without turning it off, the ID's X starts a
// composition, Tab is taken by it and the phone's first digit picks a
// candidate. The press types the applicant byte for byte and leaves pinyin
// active again. The input methods run on the session bus of the test's own
// (dbus-run-session), with settings in a folder of the test's.
#include "fcitx.h"
#include "program_bindings.h"
#include "qt/ansi.h"
#include "temp_folder.h"
#include "window/global_typing.h"
#include "x_form.h"
#include "x_input.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <thread>

namespace orvane {

namespace {

using std::chrono::milliseconds;

// An input method of the test's own, its settings in a home folder of the
// test's, and a form that uses it beside the window.
class InputMethodOnX : public XFormTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
            << "run under dbus-run-session";
        config = ToUnicode(home.path) + QStringLiteral("/.config");
        environment = FormEnvironment();
        environment.insert(QStringLiteral("HOME"), ToUnicode(home.path));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        environment.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
        // Where this program looks for IBus's bus, as the form does.
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override {
        bindings.clock.Stop();
        XFormTest::TearDown();
        method.terminate();
        method.waitForFinished(3000);
    }
    void StartMethod(const QString& program, const QStringList& arguments) {
        method.setProcessEnvironment(environment);
        method.start(program, arguments);
        ASSERT_TRUE(method.waitForStarted());
    }
    // The hot key as a hand presses it, V held 150 ms: the applicant
    // arrives byte for byte and its group is marked.
    void PressAndCheck() {
        Fill(window, 1, "欧阳吉祥", "11010519491231002X", "13912345678");
        std::thread hand([] {
            XInput().PressLikeAHand({XInput::kControl, XInput::kAlt, 'v'}, milliseconds(150));
        });
        EXPECT_TRUE(WaitForFields(u8"欧阳吉祥", u8"11010519491231002X", u8"13912345678"))
            << last.toStdString();
        hand.join();
        EXPECT_TRUE(QTest::qWaitFor([&] { return GroupMarked(window, 1); }, 3000));
        EXPECT_EQ(TypingLine(window), QStringLiteral("已输入第一组")) << "read back";
    }

    TempFolder home;
    QString config;
    QProcessEnvironment environment;
    QProcess method;
    MainWindow window;
    ProgramBindings bindings{window, kNoTimeServer, OpenKeyboard(window)};
};

TEST_F(InputMethodOnX, Fcitx5PinyinIsOffWhileTheKeysGoAndOnAgainAfter) {
    Fcitx fcitx;
    ASSERT_TRUE(fcitx.Start(environment));
    environment.insert(QStringLiteral("QT_IM_MODULE"), QStringLiteral("fcitx"));
    StartForm(environment);
    bindings.StartSettings();
    // The form's input context, the last to have had the focus, turned on.
    ASSERT_TRUE(QTest::qWaitFor([] { return Fcitx::Call("State") == 1; }, 5000));
    Fcitx::Call("Activate");
    ASSERT_EQ(Fcitx::Call("State"), 2) << "pinyin active in the form";
    PressAndCheck();
    EXPECT_TRUE(QTest::qWaitFor([] { return Fcitx::Call("State") == 2; }, 3000))
        << "pinyin as the user had it";
}

TEST_F(InputMethodOnX, IbusPinyinIsOffWhileTheKeysGoAndOnAgainAfter) {
    StartMethod(
        QStringLiteral("ibus-daemon"),
        {QStringLiteral("--xim"), QStringLiteral("--panel=disable"), QStringLiteral("--replace")});
    // IBus's bus, once its address is written and it answers.
    QDir buses(config + QStringLiteral("/ibus/bus"));
    auto address = [&buses] {
        QStringList files = buses.entryList(QDir::Files);
        QFile file(buses.filePath(files.value(0)));
        QString found;
        bool open = !files.isEmpty() && file.open(QIODevice::ReadOnly);
        while (open && !file.atEnd() && found.isEmpty()) {
            QString line = QString::fromUtf8(file.readLine()).trimmed();
            found = line.startsWith(QStringLiteral("IBUS_ADDRESS=")) ? line.mid(13) : QString();
        }
        return found;
    };
    auto connect = [&address] {
        QDBusConnection::disconnectFromBus(QStringLiteral("test")); // a failed try stays
        return QDBusConnection::connectToBus(address(), QStringLiteral("test"));
    };
    auto engine = [&connect] {
        QDBusConnection bus = connect();
        QDBusMessage get = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.IBus"), QStringLiteral("/org/freedesktop/IBus"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.freedesktop.IBus") << QStringLiteral("GlobalEngine");
        QDBusMessage reply = bus.call(get); // the description reads from it
        QVariant value = reply.arguments().value(0);
        value = value.value<QDBusVariant>().variant().value<QDBusVariant>().variant();
        const auto description = value.value<QDBusArgument>(); // const: read, not written
        QString type;
        QVariantMap attachments;
        QString name;
        if (description.currentType() == QDBusArgument::StructureType) {
            description.beginStructure();
            description >> type >> attachments >> name;
        }
        return name;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return connect().isConnected(); }, 15000));
    environment.insert(QStringLiteral("QT_IM_MODULE"), QStringLiteral("ibus"));
    StartForm(environment);
    bindings.StartSettings();
    QDBusMessage set = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.IBus"), QStringLiteral("/org/freedesktop/IBus"),
        QStringLiteral("org.freedesktop.IBus"), QStringLiteral("SetGlobalEngine"));
    set << QStringLiteral("libpinyin");
    connect().call(set);
    ASSERT_EQ(engine(), QStringLiteral("libpinyin"));
    PressAndCheck();
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine() == QStringLiteral("libpinyin"); }, 3000))
        << "pinyin as the user had it";
}

} // namespace

} // namespace orvane
