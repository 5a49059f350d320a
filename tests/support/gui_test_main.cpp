// Entry point of the widget tests: a real QApplication on the offscreen
// platform (unless a display was asked for), styled as the program is.
#include "qt/desktop_look.h"
#include "qt/desktop_scale.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    orvane::TakeOverScaling();
    QApplication app(argc, argv);
    orvane::ApplyDesktopLook(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
