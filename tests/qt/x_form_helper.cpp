// Another program's form on the X server: three fields in a column, as a
// bank's reservation page has them, Tab moving from one to the next. Prints
// "READY" once the first field has the keyboard focus, and after each change
// "FIELDS" with each field's UTF-8 in hex ("-" when empty). A line "RESET"
// on standard input empties the fields and focuses the first again. An
// argument "limit=N" keeps the second field to N characters, as a page's
// box with too small a limit does.
#include <QApplication>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <array>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget form;
    form.setWindowTitle(QStringLiteral("form"));
    auto* column = new QVBoxLayout(&form);
    std::array<QLineEdit*, 3> fields{};
    auto report = [&fields] {
        std::printf("FIELDS");
        for (QLineEdit* field : fields) {
            QByteArray hex = field->text().toUtf8().toHex();
            std::printf(" %s", hex.isEmpty() ? "-" : hex.constData());
        }
        std::printf("\n");
        std::fflush(stdout);
    };
    for (QLineEdit*& field : fields) {
        field = new QLineEdit(&form);
        column->addWidget(field);
        QObject::connect(field, &QLineEdit::textChanged, report);
    }
    for (const QString& argument : QApplication::arguments()) {
        if (argument.startsWith(QStringLiteral("limit="))) {
            fields[1]->setMaxLength(argument.mid(6).toInt());
        }
    }
    auto ready = [&form, &fields] {
        form.activateWindow();
        fields[0]->setFocus();
        auto* poll = new QTimer(&form);
        QObject::connect(poll, &QTimer::timeout, [poll, &fields] {
            if (fields[0]->hasFocus() && fields[0]->window()->isActiveWindow()) {
                poll->deleteLater();
                std::printf("READY\n");
                std::fflush(stdout);
            }
        });
        poll->start(10);
    };
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64] = {};
        if (read(STDIN_FILENO, line, sizeof line - 1) <= 0) {
            QApplication::quit();
            return;
        }
        for (QLineEdit* field : fields) {
            field->clear();
        }
        ready();
    });
    form.resize(300, 120);
    form.move(600, 400);
    form.show();
    ready();
    return QApplication::exec();
}
