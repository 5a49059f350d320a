#include "message_box.h"

#include "ansi.h"
#include "ansi_literals.h"

#include <QMessageBox>
#include <array>
#include <utility>

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

const std::array<std::pair<Button, int>, 7> kResults = {{
    {QMessageBox::Ok, kResultOk},
    {QMessageBox::Cancel, kResultCancel},
    {QMessageBox::Abort, kResultAbort},
    {QMessageBox::Retry, kResultRetry},
    {QMessageBox::Ignore, kResultIgnore},
    {QMessageBox::Yes, kResultYes},
    {QMessageBox::No, kResultNo},
}};

QMessageBox::StandardButtons ButtonsOf(int code) {
    size_t set = size_t(code & 0xF);
    return set < kButtonSets.size() ? kButtonSets[set] : kButtonSets[0];
}

QMessageBox::Icon IconOf(int code) {
    size_t icon = size_t((code >> 4) & 0xF);
    return icon < kIcons.size() ? kIcons[icon] : QMessageBox::NoIcon;
}

int ResultOf(QMessageBox& box) {
    Button clicked = box.standardButton(box.clickedButton());
    for (auto [button, result] : kResults) {
        if (button == clicked) {
            return result;
        }
    }
    return kResultOk;
}

} // namespace

int ShowMessageBox(const std::string& text, int code, const std::optional<std::string>& caption,
                   QWidget* owner) {
    QMessageBox box(IconOf(code), ToUnicode(caption.value_or("信息：")), ToUnicode(text),
                    ButtonsOf(code), owner);
    box.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    box.exec();
    return ResultOf(box);
}
