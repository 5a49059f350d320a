#include "modal_box.h"
#include "text/ansi_literals.h"
#include "window/fatal_error.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <stdexcept>

namespace orvane {

namespace {

TEST(FatalErrorText, CodeAndMessageLines) {
    EXPECT_EQ(FatalErrorText("载入启动窗口失败", FatalCode::WindowNotBuilt),
              "运行时出错!\n错误代码：1\n错误信息：载入启动窗口失败");
    EXPECT_EQ(FatalErrorText("分配内存失败!", FatalCode::OutOfMemory),
              "运行时出错!\n错误代码：2\n错误信息：分配内存失败!");
}

// The box is shown, captioned "错误" with the error icon; the run stops
// there: no handler runs after it, not even in the box's own loop, and the
// message loop ends with exit code -1.
TEST(FatalErrorDeathTest, ShowsTheBoxThenEndsTheRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto run = [] {
        ModalBoxAnswerer answerer(ModalBoxAnswerer::Answer::ClickOk, [&answerer] {
            bool errorIcon = answerer.icon == QMessageBox::Critical;
            std::fprintf(stderr, "[box %s %s %s]\n", answerer.caption.toUtf8().constData(),
                         errorIcon ? "error-icon" : "other-icon",
                         answerer.text.contains(QStringLiteral("错误代码：3")) ? "code-3"
                                                                               : "no-code");
        });
        int after = 0;
        QTimer::singleShot(0, [] { RunGuarded([] { throw std::runtime_error("坏了"); }); });
        QTimer::singleShot(0, [&after] { RunGuarded([&after] { ++after; }); });
        int code = QApplication::exec();
        RunGuarded([&after] { ++after; });
        std::fprintf(stderr, "[handlers after it: %d]\n", after);
        std::exit(code);
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(255),
                reinterpret_cast<const char*>(
                    u8"\\[box 错误 error-icon code-3\\].*\\[handlers after it: 0\\]"));
}

} // namespace

} // namespace orvane
