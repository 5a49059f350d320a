#include "desktop_scale.h"

#include "window/layout.h"

#include <QScreen>
#include <QtGlobal>
#include <cmath>

namespace orvane {

namespace {

// A scale outside this is a typing error in the variable, not a screen.
constexpr double kLeastScale = 0.5;
constexpr double kMostScale = 4.0;

double& UserScale() {
    static double scale = 1.0;
    return scale;
}

} // namespace

void TakeOverScaling() {
    bool number = false;
    double asked = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&number);
    if (number && asked >= kLeastScale && asked <= kMostScale) {
        UserScale() = asked;
    }
    qunsetenv("QT_SCALE_FACTOR");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

int ScreenDpi(const QScreen* screen) {
    double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : kDesignDpi;
    return int(std::lround(dpi * UserScale()));
}

} // namespace orvane
