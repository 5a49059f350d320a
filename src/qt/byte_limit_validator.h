#pragma once

#include <QValidator>

class QLineEdit;

namespace orvane {

// Refuses an edit that makes the text longer than a number of ANSI bytes,
// the way a Windows edit box's typing limit counts, and any edit that would
// put a line break or a NUL into it. Edits that shorten an over-long text
// (one set by the program) stay allowed.
class ByteLimitValidator : public QValidator {
public:
    ByteLimitValidator(int limit, QLineEdit* edit);
    State validate(QString& input, int& pos) const override;

private:
    int limit_;
    int currentBytes_ = 0;
};

int AnsiByteCount(const QString& text);

} // namespace orvane
