#include "byte_limit_validator.h"

#include "ansi.h"

#include <QLineEdit>

namespace orvane {

int AnsiByteCount(const QString& text) {
    return int(ToAnsi(text).size());
}

ByteLimitValidator::ByteLimitValidator(int limit, QLineEdit* edit)
    : QValidator(edit), limit_(limit) {
    // textChanged follows both accepted edits and setText, so this is always
    // the length before the edit being validated.
    QObject::connect(edit, &QLineEdit::textChanged,
                     [this](const QString& text) { currentBytes_ = AnsiByteCount(text); });
}

QValidator::State ByteLimitValidator::validate(QString& input, int&) const {
    if (input.contains(QLatin1Char('\n')) || input.contains(QLatin1Char('\r')) ||
        input.contains(QChar(0))) {
        return Invalid;
    }
    int bytes = AnsiByteCount(input);
    return bytes <= limit_ || bytes < currentBytes_ ? Acceptable : Invalid;
}

} // namespace orvane
