#include "clipboard.h"

#include "ansi.h"

#include <QClipboard>
#include <QGuiApplication>

bool SetClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return false;
    }
    clipboard->setText(ToUnicode(text));
    return true;
}
