#include "window/message_box.h"
#include "owned_message_box.h"

#include "ansi.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <array>

namespace orvane {

namespace {

struct KindLook {
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

// Indexed by MessageKind.
const std::array<KindLook, 5> kLooks = {{
    {QMessageBox::NoIcon, QMessageBox::Ok},
    {QMessageBox::Information, QMessageBox::Ok},
    {QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel},
    {QMessageBox::Warning, QMessageBox::Ok},
    {QMessageBox::Critical, QMessageBox::Ok},
}};

} // namespace

bool ShowOwnedMessageBox(QWidget* owner, const Message& message) {
    const KindLook& look = kLooks.at(size_t(message.kind));
    QMessageBox box(look.icon, ToUnicode(message.caption), ToUnicode(message.text), look.buttons,
                    owner);
    box.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    box.button(QMessageBox::Ok)->setText(ToUnicode("确定"));
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel)) {
        cancel->setText(ToUnicode("取消"));
    }
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Ok) ||
           box.button(QMessageBox::Cancel) == nullptr;
}

bool ShowMessageBox(const Message& message) {
    return ShowOwnedMessageBox(nullptr, message);
}

} // namespace orvane
