// The alarm's beeps: the desktop's bell, once for a second, three times in
// quick succession at the opening; twice for a press that typed nothing.
#include "window/beep.h"

#include <QApplication>
#include <QTimer>

namespace orvane {

void PlayBeep(BeepSound sound) {
    QApplication::beep();
    if (sound != BeepSound::Second) {
        QTimer::singleShot(150, [] { QApplication::beep(); });
    }
    if (sound == BeepSound::Opening) {
        QTimer::singleShot(300, [] { QApplication::beep(); });
    }
}

} // namespace orvane
