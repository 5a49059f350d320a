#pragma once

#include "qt/main_window.h"
#include "window/component_names.h"
#include "window_access.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLabel>
#include <QProcess>
#include <QStatusBar>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <xcb/xcb.h>
#define explicit xkb_explicit // a field of xkb.h has the name of a C++ keyword
#include <xcb/xkb.h>
#undef explicit

namespace orvane {

// Tests that type into another program's form on the X server: the form
// (x_form_helper) started beside the window, its reports read, and what a
// test asks of the window and the keyboard. The form's boxes can be read
// through the accessibility bus, as a browser's are with accessibility on.
class XFormTest : public testing::Test {
protected:
    void SetUp() override { StartForm(FormEnvironment()); }
    void TearDown() override { StopForm(); }
    void StopForm() {
        form.closeWriteChannel();
        form.waitForFinished(3000);
    }
    static QProcessEnvironment FormEnvironment() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        return environment;
    }
    // Programs send focus events only while somebody listens: a form that
    // starts before Orvane has told the accessibility bus that it does
    // never says which box has the focus.
    static bool FocusListened() {
        QDBusMessage address = QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
            QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
        if (address.arguments().isEmpty()) {
            return false;
        }
        QDBusConnection bus = QDBusConnection::connectToBus(address.arguments().front().toString(),
                                                            QStringLiteral("test-atspi"));
        QDBusMessage events = bus.call(QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry"),
            QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("GetRegisteredEvents")));
        QDBusConnection::disconnectFromBus(QStringLiteral("test-atspi"));
        if (events.arguments().isEmpty()) {
            return false;
        }
        const auto listeners = events.arguments().front().value<QDBusArgument>(); // read only
        bool found = false;
        listeners.beginArray();
        while (!listeners.atEnd()) {
            QString listener;
            QString event;
            listeners.beginStructure();
            listeners >> listener >> event;
            listeners.endStructure();
            found = found || event == QStringLiteral("Object:StateChanged:Focused");
        }
        listeners.endArray();
        return found;
    }
    void StartForm(const QProcessEnvironment& environment, const QStringList& arguments = {}) {
        if (form.state() != QProcess::NotRunning) {
            StopForm();
        }
        ASSERT_TRUE(QTest::qWaitFor([] { return FocusListened(); }, 10000));
        form.setProcessEnvironment(environment);
        form.start(QStringLiteral(X_FORM_HELPER), arguments);
        ASSERT_TRUE(WaitForLine("READY"));
    }
    // The form emptied, its first field focused again.
    void ResetForm() {
        form.write("RESET\n");
        ASSERT_TRUE(WaitForLine("READY"));
    }
    // The form's last report matching, within a few seconds.
    bool WaitForLine(const QByteArray& wanted) {
        return QTest::qWaitFor(
            [&] {
                while (form.canReadLine()) {
                    last = form.readLine().trimmed();
                }
                return last == wanted;
            },
            8000);
    }
    // The form's three fields, as UTF-8; none for an empty one.
    bool WaitForFields(const char8_t* name, const char8_t* id, const char8_t* phone) {
        return WaitForLine("FIELDS " + Hex(name) + " " + Hex(id) + " " + Hex(phone));
    }
    static QByteArray Hex(const char8_t* utf8) {
        return utf8 == nullptr ? QByteArray("-")
                               : QByteArray(reinterpret_cast<const char*>(utf8)).toHex();
    }

    static void Fill(MainWindow& window, int group, const char* name, const char* id,
                     const char* phone) {
        window.SetContent(EditBoxName(group, NameKey()), name);
        window.SetContent(EditBoxName(group, IdKey()), id);
        window.SetContent(EditBoxName(group, PhoneKey()), phone);
    }
    // The status bar's line of the hot key.
    static QString TypingLine(MainWindow& window) {
        return Component<QStatusBar>(window, kStatusBar)->findChildren<QLabel*>().at(1)->text();
    }
    static bool GroupMarked(MainWindow& window, int group) {
        for (const std::string& key : kFieldKeys) {
            if (window.GetEnabled(CopyButtonName(group, key))) {
                return false;
            }
        }
        return true;
    }
    static bool CapsLockOn() {
        xcb_connection_t* c = xcb_connect(nullptr, nullptr);
        std::free(xcb_xkb_use_extension_reply(c, xcb_xkb_use_extension(c, 1, 0), nullptr));
        std::unique_ptr<xcb_xkb_get_state_reply_t, decltype(&std::free)> state(
            xcb_xkb_get_state_reply(c, xcb_xkb_get_state(c, XCB_XKB_ID_USE_CORE_KBD), nullptr),
            &std::free);
        xcb_disconnect(c);
        return state && (state->lockedMods & XCB_MOD_MASK_LOCK) != 0;
    }

    QProcess form;
    QByteArray last;
};

} // namespace orvane
