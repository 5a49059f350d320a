#include "window/message_box.h"
#include "owned_message_box.h"

#include "ansi.h"
#include "runtime/ansi_literals.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <array>

namespace orvane {

namespace {

using Button = QMessageBox::StandardButton;

const std::array<QMessageBox::StandardButtons, 6> kButtonSets = {
    QMessageBox::Ok,
    QMessageBox::Ok | QMessageBox::Cancel,
    QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
    QMessageBox::Yes | QMessageBox::No,
    QMessageBox::Retry | QMessageBox::Cancel,
};

const std::array<QMessageBox::Icon, 5> kIcons = {
    QMessageBox::NoIcon,  QMessageBox::Critical,    QMessageBox::Question,
    QMessageBox::Warning, QMessageBox::Information,
};

struct ButtonInfo {
    Button button;
    int result;
    const char* caption; // as a Chinese Windows labels it
};

const std::array<ButtonInfo, 7> kButtonInfo = {{
    {QMessageBox::Ok, kResultOk, "确定"},
    {QMessageBox::Cancel, kResultCancel, "取消"},
    {QMessageBox::Abort, kResultAbort, "中止"},
    {QMessageBox::Retry, kResultRetry, "重试"},
    {QMessageBox::Ignore, kResultIgnore, "忽略"},
    {QMessageBox::Yes, kResultYes, "是"},
    {QMessageBox::No, kResultNo, "否"},
}};

QMessageBox::StandardButtons ButtonsOf(int code) {
    auto set = size_t(code & 0xF);
    return set < kButtonSets.size() ? kButtonSets[set] : kButtonSets[0];
}

QMessageBox::Icon IconOf(int code) {
    auto icon = size_t((code >> 4) & 0xF);
    return icon < kIcons.size() ? kIcons[icon] : QMessageBox::NoIcon;
}

void CaptionButtons(QMessageBox& box) {
    for (const ButtonInfo& info : kButtonInfo) {
        if (QAbstractButton* button = box.button(info.button)) {
            button->setText(ToUnicode(info.caption));
        }
    }
}

int ResultOf(QMessageBox& box) {
    Button clicked = box.standardButton(box.clickedButton());
    for (const ButtonInfo& info : kButtonInfo) {
        if (info.button == clicked) {
            return info.result;
        }
    }
    return kResultOk;
}

} // namespace

int ShowOwnedMessageBox(QWidget* owner, const std::string& text, int code,
                        const std::optional<std::string>& caption) {
    QMessageBox box(IconOf(code), ToUnicode(caption.value_or("信息：")), ToUnicode(text),
                    ButtonsOf(code), owner);
    box.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    CaptionButtons(box);
    box.exec();
    return ResultOf(box);
}

int ShowMessageBox(const std::string& text, int code, const std::optional<std::string>& caption) {
    return ShowOwnedMessageBox(nullptr, text, code, caption);
}

} // namespace orvane
