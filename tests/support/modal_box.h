#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

namespace orvane {

// Answers the message boxes that appear while it lives, the way a user
// would, and records what they said. `onShown` runs while a box is up.
class ModalBoxAnswerer {
public:
    enum class Answer { ClickOk, PressEscape, CloseBox };

    explicit ModalBoxAnswerer(Answer answer = Answer::ClickOk, std::function<void()> onShown = {})
        : answer_(answer), onShown_(std::move(onShown)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
    }

    int count = 0;
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    QStringList buttonTexts;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        ++count;
        text = box->text();
        caption = box->windowTitle();
        icon = box->icon();
        buttonCount = int(box->buttons().size());
        buttonTexts.clear();
        for (QAbstractButton* button : box->buttons()) {
            buttonTexts << button->text();
        }
        if (onShown_) {
            onShown_();
        }
        switch (answer_) {
        case Answer::ClickOk:
            box->button(QMessageBox::Ok)->click();
            break;
        case Answer::PressEscape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case Answer::CloseBox:
            box->close();
            break;
        }
    }

    Answer answer_;
    std::function<void()> onShown_;
    QTimer timer_;
};

} // namespace orvane
