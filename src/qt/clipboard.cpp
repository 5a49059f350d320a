#include "window/clipboard.h"

#include "ansi.h"
#include "window/window_thread.h"
#include "x_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <thread>

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

namespace {

std::optional<std::string> WithinLimit(std::string text) {
    return text.size() <= kClipboardLimit ? std::optional(std::move(text)) : std::nullopt;
}

void Answer(std::function<void(std::optional<std::string>)> answer,
            std::optional<std::string> text) {
    PostToWindowThread([answer = std::move(answer), text = std::move(text)]() mutable {
        answer(std::move(text));
    });
}

} // namespace

// On X the clipboard's owner is another program that may never answer: the
// read runs on a thread of its own. Elsewhere Qt holds the text itself.
void ReadClipboardText(std::function<void(std::optional<std::string>)> answer) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        Answer(std::move(answer),
               WithinLimit(clipboard != nullptr ? ToAnsi(clipboard->text()) : std::string()));
        return;
    }
    std::thread([answer = std::move(answer)]() mutable {
        std::optional<std::string> utf8 = ReadXClipboard(std::chrono::seconds(1), kClipboardLimit);
        std::optional<std::string> text;
        if (utf8) {
            text = WithinLimit(ToAnsi(QString::fromUtf8(*utf8)));
        }
        Answer(std::move(answer), std::move(text));
    }).detach();
}

} // namespace orvane
