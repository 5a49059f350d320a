// The alarm's beeps: the desktop's bell, once for a second, three times in
// quick succession at the opening.
#include "window/beep.h"

#include <QApplication>
#include <QTimer>

namespace orvane {

void PlayBeep(BeepSound sound) {
    QApplication::beep();
    if (sound == BeepSound::Opening) {
        QTimer::singleShot(150, [] { QApplication::beep(); });
        QTimer::singleShot(300, [] { QApplication::beep(); });
    }
}

} // namespace orvane
