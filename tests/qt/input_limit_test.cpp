#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window_access.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

namespace orvane {

namespace {

// Chinese arrives from an input method as committed text, one character at a time.
void TypeThroughInputMethod(QLineEdit* edit, const QString& text) {
    for (qsizetype i = 0; i < text.size();) {
        qsizetype width = text[i].isHighSurrogate() ? 2 : 1;
        QInputMethodEvent commit;
        commit.setCommitString(text.mid(i, width));
        QApplication::sendEvent(edit, &commit);
        i += width;
    }
}

class InputLimit : public testing::Test {
protected:
    QLineEdit* Box(const std::string& key) {
        return Component<QLineEdit>(window, EditBoxName(6, key));
    }
    MainWindow window;
};

TEST_F(InputLimit, IdBoxTakesEighteenBytesAndRefusesTheNineteenth) {
    QLineEdit* id = Box(IdKey());
    QTest::keyClicks(id, QStringLiteral("12345678901234567X9"));
    EXPECT_EQ(id->text(), QStringLiteral("12345678901234567X"));
}

TEST_F(InputLimit, PhoneBoxRefusesTheTwelfthDigit) {
    QLineEdit* phone = Box(PhoneKey());
    QTest::keyClicks(phone, QStringLiteral("138001380001"));
    EXPECT_EQ(phone->text(), QStringLiteral("13800138000"));
}

TEST_F(InputLimit, ChineseCountsTwoBytesAndRareCharactersFour) {
    QLineEdit* phone = Box(PhoneKey());
    TypeThroughInputMethod(phone, QStringLiteral("一二三四五六"));
    EXPECT_EQ(phone->text(), QStringLiteral("一二三四五"));
    QLineEdit* id = Box(IdKey());
    id->setText(QStringLiteral("1234567890123"));
    id->setCursorPosition(13);
    TypeThroughInputMethod(id, QStringLiteral("𠮷𠮷")); // 17 bytes, then 21
    EXPECT_EQ(id->text(), QStringLiteral("1234567890123𠮷"));
}

TEST_F(InputLimit, PastingBeyondTheLimitIsRefused) {
    QLineEdit* phone = Box(PhoneKey());
    QTest::keyClicks(phone, QStringLiteral("138"));
    QGuiApplication::clipboard()->setText(QStringLiteral("123456789"));
    phone->paste();
    EXPECT_EQ(phone->text(), QStringLiteral("138"));
    QGuiApplication::clipboard()->setText(QStringLiteral("12345678"));
    phone->paste();
    EXPECT_EQ(phone->text(), QStringLiteral("13812345678"));
}

TEST_F(InputLimit, ProgramWritesAnyLengthAndTheUserMayShortenIt) {
    window.SetContent(EditBoxName(6, PhoneKey()), "13800138000 转 1234");
    QLineEdit* phone = Box(PhoneKey());
    EXPECT_EQ(window.GetContent(EditBoxName(6, PhoneKey())), "13800138000 转 1234");
    phone->setCursorPosition(int(phone->text().size()));
    QTest::keyClick(phone, Qt::Key_Backspace);
    EXPECT_EQ(phone->text(), QStringLiteral("13800138000 转 123"));
    QTest::keyClicks(phone, QStringLiteral("9"));
    EXPECT_EQ(phone->text(), QStringLiteral("13800138000 转 123"));
}

TEST_F(InputLimit, NameBoxHasNoLimit) {
    QLineEdit* name = Box(NameKey());
    QString longName(40, QChar(0x5F20)); // 张 × 40
    TypeThroughInputMethod(name, longName);
    EXPECT_EQ(name->text(), longName);
}

} // namespace

} // namespace orvane
