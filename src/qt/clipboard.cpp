#include "window/clipboard.h"

#include "ansi.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace orvane {

bool SetClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return false;
    }
    auto* data = new QMimeData;
    data->setText(ToUnicode(text));
    // The hint that KDE's Klipper, CopyQ and other managers honour.
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    clipboard->setMimeData(data);
    return true;
}

std::string GetClipboardText() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard != nullptr ? ToAnsi(clipboard->text()) : std::string();
}

} // namespace orvane
