#include "window/window_calls.h"

#include <QWidget>
#include <QWindow>

namespace orvane {

namespace {

QWidget* WindowOf(std::uintptr_t handle) {
    QWidget* widget = handle != 0 ? QWidget::find(WId(handle)) : nullptr;
    return widget != nullptr ? widget->window() : nullptr;
}

} // namespace

bool SetWindowPos(std::uintptr_t window, std::intptr_t insertAfter, int, int, int, int, unsigned) {
    QWidget* widget = WindowOf(window);
    if (widget == nullptr || (insertAfter != kHwndTopmost && insertAfter != kHwndNotTopmost)) {
        return false;
    }
    Qt::WindowFlags flags = widget->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, insertAfter == kHwndTopmost);
    // QWidget::setWindowFlags would recreate the native window (hiding it and
    // losing its place); the QWindow takes the change in place.
    widget->overrideWindowFlags(flags);
    if (QWindow* native = widget->windowHandle()) {
        native->setFlags(flags);
    }
    return true;
}

bool SetForegroundWindow(std::uintptr_t window) {
    QWidget* widget = WindowOf(window);
    if (widget == nullptr) {
        return false;
    }
    widget->raise();
    widget->activateWindow();
    return true;
}

} // namespace orvane
