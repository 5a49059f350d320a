// The handler tests' desk on the Qt window, offscreen.
#include "desk.h"

#include "qt/ansi.h"
#include "qt/main_window.h"
#include "window/component_names.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace orvane {

namespace {

QWidget* Widget(Window& window, const std::string& name) {
    auto* found = static_cast<MainWindow&>(window).findChild<QWidget*>(ToUnicode(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QLabel* Pane(Window& window, int panel) {
    QList<QLabel*> panes = Widget(window, kStatusBar)->findChildren<QLabel*>();
    return panel < panes.size() ? panes.at(panel) : nullptr;
}

MessageKind KindOf(QMessageBox::Icon icon) {
    switch (icon) {
    case QMessageBox::Information:
        return MessageKind::Information;
    case QMessageBox::Question:
        return MessageKind::Question;
    case QMessageBox::Warning:
        return MessageKind::Warning;
    case QMessageBox::Critical:
        return MessageKind::Error;
    default:
        return MessageKind::Plain;
    }
}

// Closes every message box with 确定 as it comes up, keeping what it said.
class BoxCloser : public QObject {
public:
    BoxCloser() : QObject(qApp) {
        connect(&timer_, &QTimer::timeout, this, &BoxCloser::Poll);
        timer_.start(5);
    }
    std::vector<Message> shown;
    bool ok = true; // how the boxes are closed: 确定, or Esc

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        shown.push_back({ToAnsi(box->text()), ToAnsi(box->windowTitle()), KindOf(box->icon())});
        if (ok) {
            box->button(QMessageBox::Ok)->click();
        } else {
            QTest::keyClick(box, Qt::Key_Escape);
        }
    }

    QTimer timer_;
};

BoxCloser& Closer() {
    static auto* closer = new BoxCloser; // the application owns it
    return *closer;
}

} // namespace

std::unique_ptr<Window> NewDeskWindow() {
    Closer();
    return std::make_unique<MainWindow>();
}

void Click(Window& window, const std::string& name) {
    if (auto* button = qobject_cast<QAbstractButton*>(Widget(window, name))) {
        button->click();
    }
}

void Pass(Window&, int milliseconds) {
    QCoreApplication::processEvents();
    if (milliseconds > 0) {
        QTest::qWait(milliseconds);
    }
}

bool PassUntil(Window&, const std::function<bool()>& done, int milliseconds) {
    return QTest::qWaitFor(done, milliseconds);
}

std::string TipOf(Window& window, const std::string& name) {
    QWidget* widget = Widget(window, name);
    return widget != nullptr ? ToAnsi(widget->toolTip()) : std::string();
}

std::string PanelTextOf(Window& window, int panel) {
    QLabel* pane = Pane(window, panel);
    return pane != nullptr ? ToAnsi(pane->text()) : std::string();
}

std::string PanelTipOf(Window& window, int panel) {
    QLabel* pane = Pane(window, panel);
    return pane != nullptr ? ToAnsi(pane->toolTip()) : std::string();
}

std::string DeskClipboardText() {
    return ToAnsi(QGuiApplication::clipboard()->text());
}

bool DeskHoldsAllOfGb18030() {
    return true;
}

std::vector<Message> TakeMessages() {
    return std::exchange(Closer().shown, {});
}

void AnswerBoxes(bool ok) {
    Closer().ok = ok;
}

} // namespace orvane
