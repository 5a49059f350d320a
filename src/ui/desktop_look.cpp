#include "desktop_look.h"

#include <QApplication>
#include <QFont>

void ApplyDesktopLook(QApplication& app) {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    app.setFont(font);
}
