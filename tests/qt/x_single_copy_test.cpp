// Two starts of the program with one data folder, as two double-clicks make
// them: the second brings the first one's window to the front and ends, so
// that two windows never save over each other's 信息.ini.
#include "temp_folder.h"
#include "x_form.h"
#include "x_input.h"

#include <QProcess>
#include <filesystem>

namespace orvane {

namespace {

using std::chrono::milliseconds;

// What xdotool answers, trimmed.
QString Xdotool(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    xdotool.waitForFinished(3000);
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

// The process whose window has the keyboard.
qint64 FocusedProcess() {
    return Xdotool({QStringLiteral("getwindowfocus"), QStringLiteral("getwindowpid")}).toLongLong();
}

// The program's main window, once shown; empty before.
QString MainWindowId() {
    return Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--name"), QStringLiteral("^Orvane$")});
}

class SingleCopyOnX : public XFormTest {
protected:
    void SetUp() override {
        // A copy of the program in a folder of the test's: its data folder.
        std::filesystem::copy_file(ORVANE_PROGRAM, PathOf(folder.Path("orvane")));
        program = ToUnicode(folder.Path("orvane"));
    }
    void TearDown() override {
        for (QProcess* copy : {&first, &second}) {
            copy->terminate();
            copy->waitForFinished(5000);
        }
        XFormTest::TearDown();
    }
    void Start(QProcess& copy) {
        copy.start(program, {QStringLiteral("--time-url"), QStringLiteral("http://127.0.0.1:9/")});
        ASSERT_TRUE(copy.waitForStarted());
    }

    TempFolder folder;
    QString program;
    QProcess first;
    QProcess second;
};

TEST_F(SingleCopyOnX, ASecondStartShowsTheFirstWindowAndEnds) {
    Start(first);
    // The greeting, then the window.
    ASSERT_TRUE(QTest::qWaitFor([&] { return FocusedProcess() == first.processId(); }, 15000));
    XInput().PressLikeAHand({XInput::kReturn}, milliseconds(80));
    ASSERT_TRUE(QTest::qWaitFor([] { return !MainWindowId().isEmpty(); }, 10000));
    StartForm(FormEnvironment()); // the keyboard to another program
    ASSERT_NE(FocusedProcess(), first.processId());

    Start(second);
    EXPECT_TRUE(second.waitForFinished(10000)) << "the second start ends";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return Xdotool({QStringLiteral("getwindowfocus")}) == MainWindowId(); }, 5000))
        << "the first copy's window in front";
    EXPECT_EQ(first.state(), QProcess::Running);
}

// A copy that was killed leaves its socket behind; the next start takes the
// folder over and greets the user instead of asking nobody to show a window.
TEST_F(SingleCopyOnX, ACopyThatWasKilledDoesNotKeepTheNextFromStarting) {
    Start(first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FocusedProcess() == first.processId(); }, 15000));
    first.kill();
    ASSERT_TRUE(first.waitForFinished(5000));
    Start(second);
    EXPECT_TRUE(QTest::qWaitFor([&] { return FocusedProcess() == second.processId(); }, 15000))
        << "the second start shows its greeting";
    EXPECT_EQ(second.state(), QProcess::Running);
}

} // namespace

} // namespace orvane
