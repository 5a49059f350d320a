#include "desktop_look.h"

#include "desktop_scale.h"
#include "window/layout.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orvane {

void ApplyDesktopLook(QApplication& app) {
    QApplication::setStyle(QStringLiteral("Fusion"));
    SetTextDpi(ScreenDpi(QApplication::primaryScreen()));
    // Qt's own texts (the edit boxes' context menus) in Chinese, like ours.
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

void SetTextDpi(int dpi) {
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(Scaled(12, dpi));
    QApplication::setFont(font);
}

} // namespace orvane
