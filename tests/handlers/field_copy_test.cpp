#include "handlers/field_copy.h"
#include "handlers/phone_fill.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window_access.h"

#include <QMimeData>
#include <QPushButton>
#include <set>

namespace orvane {

namespace {

class FieldCopy : public testing::Test {
protected:
    bool Enabled(int group, const std::string& key) {
        return Component<QPushButton>(window, CopyButtonName(group, key))->isEnabled();
    }
    // Every copy button except the listed ones is enabled.
    void ExpectOnlyDisabled(const std::set<std::pair<int, std::string>>& disabled) {
        for (int n = 1; n <= kGroupCount; ++n) {
            for (const std::string& key : kFieldKeys) {
                EXPECT_EQ(Enabled(n, key), disabled.count({n, key}) == 0)
                    << n << " " << ToUnicode(key).toStdString();
            }
        }
    }
    MainWindow window;
};

TEST_F(FieldCopy, PutsExactlyTheBoxTextOnTheClipboardAndGreysOnlyThatButton) {
    for (const std::string& text :
         {std::string("张三"), std::string("𠮷子"), std::string("O'Neil Ann")}) {
        window.SetContent(EditBoxName(3, NameKey()), text);
        RestoreGroup(window, 3);
        CopyField(window, 3, NameKey());
        EXPECT_EQ(ClipboardText(), text);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), ToUnicode(text));
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        EXPECT_EQ(data->data(QStringLiteral("x-kde-passwordManagerHint")), "secret")
            << "clipboard managers and history keep no copy";
        ExpectOnlyDisabled({{3, NameKey()}});
    }
}

TEST_F(FieldCopy, EmptyBoxReplacesTheClipboardWithEmptyText) {
    QGuiApplication::clipboard()->setText(QStringLiteral("旧内容"));
    CopyField(window, 17, IdKey());
    EXPECT_EQ(ClipboardText(), "");
    ExpectOnlyDisabled({{17, IdKey()}});
}

TEST_F(FieldCopy, UsedMarkSurvivesEditsFillsAndProgramWrites) {
    CopyField(window, 3, NameKey());
    CopyField(window, 4, NameKey());
    window.SetContent(EditBoxName(3, NameKey()), "改过的名字");
    window.SetContent(kAllPhoneBox, "13900000000");
    FillAllPhone(window);
    FillPagePhone(window, 1);
    ExpectOnlyDisabled({{3, NameKey()}, {4, NameKey()}});
}

TEST_F(FieldCopy, RestoreEnablesOnlyItsOwnGroup) {
    for (const std::string& key : kFieldKeys) {
        CopyField(window, 3, key);
    }
    CopyField(window, 4, NameKey());
    RestoreGroup(window, 3);
    ExpectOnlyDisabled({{4, NameKey()}});
    RestoreGroup(window, 3); // nothing disabled: no change
    ExpectOnlyDisabled({{4, NameKey()}});
}

TEST_F(FieldCopy, TheRealClickCopiesUntilRestored) {
    window.SetContent(EditBoxName(25, PhoneKey()), "13700000025");
    auto* button = Component<QPushButton>(window, CopyButtonName(25, PhoneKey()));
    QObject::connect(button, &QPushButton::clicked, [this] { CopyField(window, 25, PhoneKey()); });
    button->click();
    EXPECT_EQ(ClipboardText(), "13700000025");
    QGuiApplication::clipboard()->setText(QStringLiteral("别的"));
    button->click(); // disabled: ignored
    EXPECT_EQ(ClipboardText(), "别的");
}

} // namespace

} // namespace orvane
