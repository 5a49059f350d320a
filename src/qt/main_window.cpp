#include "main_window.h"

#include "ansi.h"
#include "desktop_look.h"
#include "desktop_scale.h"
#include "field_edit.h"
#include "owned_message_box.h"
#include "page_control.h"
#include "window/component_names.h"
#include "window/fatal_error.h"
#include "window/layout.h"
#include "window/readable_tip.h"
#include "window_builder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <memory>
#include <utility>

namespace orvane {

MainWindow::MainWindow(WindowDescription description)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      description_(description) {
    setObjectName(ToUnicode(kMainWindow));
    setWindowTitle(ToUnicode(description_.frame.title));
    BuildComponents(this, description_.layout, components_);
    Refit();
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    if (components_.contains(kPageControl)) {
        SelectPage(0);
    }
}

template <class T> T* MainWindow::Find(const std::string& name) const {
    auto found = components_.find(name);
    T* component = found == components_.end() ? nullptr : dynamic_cast<T*>(found->second);
    ExpectComponent(component != nullptr, name);
    return component;
}

std::string MainWindow::GetContent(const std::string& editBox) const {
    auto* edit = Find<QLineEdit>(editBox);
    return edit != nullptr ? ToAnsi(edit->text()) : std::string();
}

void MainWindow::SetContent(const std::string& editBox, const std::string& text) {
    if (auto* edit = Find<QLineEdit>(editBox)) {
        edit->setText(ToUnicode(text));
    }
}

void MainWindow::SetEnabled(const std::string& button, bool enabled) {
    if (auto* widget = Find<QAbstractButton>(button)) {
        widget->setEnabled(enabled);
    }
}

bool MainWindow::GetEnabled(const std::string& button) const {
    auto* widget = Find<QAbstractButton>(button);
    return widget != nullptr && widget->isEnabled();
}

void MainWindow::Close() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::RequestAttention() {
    QApplication::alert(this);
}

bool MainWindow::GetTicked(const std::string& checkBox) const {
    auto* box = Find<QCheckBox>(checkBox);
    return box != nullptr && box->isChecked();
}

void MainWindow::SetTicked(const std::string& checkBox, bool ticked) {
    if (auto* box = Find<QCheckBox>(checkBox)) {
        box->setChecked(ticked);
    }
}

int MainWindow::GetInterval(const std::string& timer) const {
    auto* clock = Find<QTimer>(timer);
    return clock != nullptr && clock->isActive() ? clock->interval() : 0;
}

void MainWindow::SetInterval(const std::string& timer, int milliseconds) {
    auto* clock = Find<QTimer>(timer);
    if (clock == nullptr) {
        return;
    }
    if (milliseconds > 0) {
        clock->start(milliseconds);
    } else {
        clock->stop();
    }
}

// A component on a page that is not shown would take the typing unseen: the
// focus goes to the shown page's first box instead.
void MainWindow::FocusComponent(const std::string& name) {
    auto* widget = Find<QWidget>(name);
    if (widget != nullptr && !widget->isVisibleTo(this)) {
        widget = nullptr;
        for (const ComponentRow& row : description_.layout) {
            auto* box = row.kind == Kind::EditBox ? Find<QWidget>(row.name) : nullptr;
            if (box != nullptr && box->isVisibleTo(this)) {
                widget = box;
                break;
            }
        }
    }
    if (widget != nullptr) {
        widget->setFocus(Qt::OtherFocusReason);
        pendingFocus_ = isActiveWindow() ? nullptr : widget;
        if (pendingFocus_) {
            qApp->installEventFilter(this);
        }
    }
}

// Activating a window hands the focus to a visible child, and a component on
// another page is not visible: give the focus back once activation is done,
// unless the user has clicked somewhere first (that click may be what
// activates the window, and its focus wins).
bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Move) {
        Refit(); // the frame is known once the window manager has framed it
    }
    if (event->type() == QEvent::WindowActivate && pendingFocus_) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (pendingFocus_) {
                    pendingFocus_->setFocus(Qt::OtherFocusReason);
                }
                DropPendingFocus();
            },
            Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::MouseButtonPress && widget != nullptr &&
        widget->window() == this) {
        DropPendingFocus();
    }
    return false;
}

void MainWindow::DropPendingFocus() {
    pendingFocus_ = nullptr;
    qApp->removeEventFilter(this);
}

void MainWindow::KeepAbove(bool above) {
    if (above) {
        raise();
        activateWindow();
    }
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, above);
    // setWindowFlags would recreate the native window (hiding it and losing
    // its place); the QWindow takes the change in place.
    overrideWindowFlags(flags);
    if (QWindow* native = windowHandle()) {
        native->setFlags(flags);
    }
}

QLabel* MainWindow::StatusPanel(const std::string& statusBar, int panel) const {
    auto* bar = Find<QStatusBar>(statusBar);
    if (bar == nullptr) {
        return nullptr;
    }
    QList<QLabel*> panes = bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    return panel >= 0 && panel < panes.size() ? panes[panel] : nullptr;
}

void MainWindow::SetStatusPanelText(const std::string& statusBar, int panel,
                                    const std::string& text) {
    if (QLabel* pane = StatusPanel(statusBar, panel)) {
        pane->setText(ToUnicode(text));
    }
}

void MainWindow::SetStatusPanelTip(const std::string& statusBar, int panel,
                                   const std::string& tip) {
    if (QLabel* pane = StatusPanel(statusBar, panel)) {
        pane->setToolTip(ToUnicode(ReadableTip(tip)));
    }
}

bool MainWindow::ShowMessage(const Message& message) {
    return ShowOwnedMessageBox(this, message);
}

void MainWindow::RunAfter(int milliseconds, std::function<void()> task) {
    QTimer::singleShot(std::max(milliseconds, 0), Qt::PreciseTimer, this,
                       [task = std::move(task)] { RunGuarded(task); });
}

void MainWindow::SetTip(const std::string& name, const std::string& tip) {
    if (auto* widget = Find<QWidget>(name)) {
        widget->setToolTip(ToUnicode(ReadableTip(tip)));
    }
}

void MainWindow::SetFinding(const std::string& editBox, const std::string& finding) {
    auto* edit = Find<QLineEdit>(editBox);
    if (edit == nullptr) {
        return;
    }
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, finding.empty()
                                         ? QApplication::palette(edit).color(QPalette::Text)
                                         : QColor(Qt::red));
    edit->setPalette(palette);
    edit->setToolTip(ToUnicode(ReadableTip(finding)));
    edit->setAccessibleDescription(ToUnicode(finding));
}

void MainWindow::AddContextAction(const std::string& editBox, const std::string& caption,
                                  std::function<void()> handler) {
    if (auto* edit = Find<FieldEdit>(editBox)) {
        edit->AddMenuEntry(ToUnicode(caption), std::move(handler));
    }
}

std::string MainWindow::PasteNote(const std::string& editBox) const {
    auto* edit = Find<FieldEdit>(editBox);
    return edit != nullptr ? edit->PasteNote() : std::string();
}

void MainWindow::Bind(const std::string& name, Event event, std::function<void()> handler) {
    if (event == Event::Created) {
        onCreated_.push_back(std::move(handler));
    } else if (event == Event::Tick) {
        if (auto* clock = Find<QTimer>(name)) {
            connect(clock, &QTimer::timeout, this, std::move(handler));
        }
    } else if (event == Event::Edited) {
        if (auto* edit = Find<QLineEdit>(name)) {
            connect(edit, &QLineEdit::textChanged, this, std::move(handler));
        }
    } else if (event == Event::Confirmed) {
        if (auto* edit = Find<QLineEdit>(name)) {
            connect(edit, &QLineEdit::editingFinished, this, std::move(handler));
        }
    } else if (auto* button = Find<QAbstractButton>(name)) {
        connect(button, &QAbstractButton::clicked, this, std::move(handler));
    }
}

void MainWindow::FinishCreation() {
    for (const auto& handler : std::exchange(onCreated_, {})) {
        handler();
    }
}

int MainWindow::CurrentPage() const {
    auto* control = Find<PageControl>(kPageControl);
    return control != nullptr ? control->CurrentPage() : -1;
}

void MainWindow::SelectPage(int index) {
    if (auto* control = Find<PageControl>(kPageControl)) {
        control->SelectPage(index);
    }
}

void MainWindow::ShowCentered() {
    QRect work = screen()->availableGeometry();
    QSize outer = frameGeometry().size();
    move(work.left() + ((work.width() - outer.width()) / 2),
         std::max(work.top(), work.top() + ((work.height() - outer.height()) / 2)));
    show();
}

// Laid out at the screen's DPI, the pages cut to fit its work area, and
// moved up into it where the window reaches below. Again on another screen,
// at another DPI or with another work area.
void MainWindow::Refit() {
    QScreen* shown = screen();
    if (shown != watched_) {
        watched_ = shown;
        connect(shown, &QScreen::availableGeometryChanged, this, &MainWindow::Refit,
                Qt::UniqueConnection);
        connect(shown, &QScreen::logicalDotsPerInchChanged, this, &MainWindow::Refit,
                Qt::UniqueConnection);
    }
    QRect work = shown->availableGeometry();
    int frameHeight = frameGeometry().height() - height();
    int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    WindowFit fit =
        FitWindow(ScreenDpi(shown), work.height(), frameHeight, scrollBar, description_.frame);
    if (fit.dpi != fit_.dpi || fit.cut != fit_.cut || fit.scrollBar != fit_.scrollBar || !placed_) {
        placed_ = true;
        fit_ = fit;
        SetTextDpi(fit.dpi);
        PlaceComponents(description_.layout, components_, fit);
        setFixedSize(fit.ClientWidth(), fit.ClientHeight());
    }
    QRect outer = frameGeometry();
    if (isVisible() && outer.bottom() > work.bottom() && outer.top() > work.top()) {
        move(x(), y() - std::min(outer.bottom() - work.bottom(), outer.top() - work.top()));
    }
}

int MainWindow::RunMessageLoop() {
    return QApplication::exec();
}

} // namespace orvane
