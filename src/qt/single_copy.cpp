#include "single_copy.h"

#include "ansi.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QLocalSocket>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <xcb/xcb.h>

namespace orvane {

namespace {

// The socket's name: the user's and the file's path, hashed, so that copies
// with their own files (portable ones side by side) run side by side, and
// another user's copy of a shared folder is never asked nor taken over.
QString SocketName(const std::string& file) {
    QByteArray digest =
        QCryptographicHash::hash(ToUnicode(file).toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("orvane-%1-%2")
        .arg(::getuid())
        .arg(QString::fromLatin1(digest.toHex().left(16)));
}

// The longest wait for a running copy to take the request.
constexpr int kAnswerLimit = 2000;

// Gives `front` the keyboard now. The request carries no time of a user's
// input of this copy's (the double-click went to the other one), so a window
// manager is asked as a task bar asks it, and without one the focus is set
// at the server's present time: Qt's own request is dated by this copy's
// last event and the server drops it as older than the focus it has.
void BringToFront(QWidget* front) {
    front->showNormal();
    front->raise();
    front->activateWindow();
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 != nullptr ? x11->connection() : nullptr;
    if (c == nullptr) {
        return;
    }
    auto window = xcb_window_t(front->winId());
    const char name[] = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    if (atom != nullptr) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom->atom;
        message.data.data32[0] = 2; // from a task bar, which the manager obeys
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        xcb_send_event(c, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        std::free(atom);
    }
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    xcb_flush(c);
}

} // namespace

SingleCopy::SingleCopy(const std::string& file) {
    // Bound where the name says, without socket options: with them Qt binds
    // elsewhere and moves the socket over any that is there.
    QString name = SocketName(file);
    if (server_.listen(name)) {
        return;
    }
    QLocalSocket running;
    running.connectToServer(name);
    if (running.waitForConnected(kAnswerLimit)) {
        running.write("show\n");
        running.waitForBytesWritten(kAnswerLimit);
        running.waitForDisconnected(kAnswerLimit);
        other_ = true;
        return;
    }
    QLocalServer::removeServer(name); // left by a copy that ended without closing it
    server_.listen(name);
}

void SingleCopy::ShowOnRequest(QWidget* window) {
    window_ = window;
    auto answer = [this] {
        while (QLocalSocket* later = server_.nextPendingConnection()) {
            later->deleteLater();
            // The greeting, or another box, before the window when one is up.
            QWidget* front = QApplication::activeModalWidget();
            front = front != nullptr ? front : window_.data();
            if (front != nullptr && (front != window_ || window_->isVisible())) {
                BringToFront(front);
            }
        }
    };
    QObject::connect(&server_, &QLocalServer::newConnection, answer);
    answer();
}

} // namespace orvane
