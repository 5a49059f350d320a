#include "field_edit.h"

#include "ansi.h"
#include "applicants/paste_fit.h"
#include "byte_limit_validator.h"
#include "owned_message_box.h"
#include "text/ansi_literals.h"
#include "window/clipboard.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <algorithm>
#include <memory>

namespace orvane {

FieldEdit::FieldEdit(int byteLimit, QWidget* parent) : QLineEdit(parent), limit_(byteLimit) {
    setValidator(new ByteLimitValidator(byteLimit, this));
}

void FieldEdit::AddMenuEntry(const QString& caption, std::function<void()> handler) {
    entries_.emplace_back(caption, std::move(handler));
}

std::string FieldEdit::PasteNote() const {
    return text() == textAfterPaste_ ? note_ : std::string();
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteClipboard();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// The middle button would paste the selection with a read that can hold the
// window; the box takes pastes from the clipboard only.
void FieldEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FieldEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu;
    bool selected = hasSelectedText();
    menu.addAction(ToUnicode("撤消(&U)"), this, &QLineEdit::undo)->setEnabled(isUndoAvailable());
    menu.addAction(ToUnicode("重做(&R)"), this, &QLineEdit::redo)->setEnabled(isRedoAvailable());
    menu.addSeparator();
    menu.addAction(ToUnicode("剪切(&T)"), this, &QLineEdit::cut)->setEnabled(selected);
    menu.addAction(ToUnicode("复制(&C)"), this, &QLineEdit::copy)->setEnabled(selected);
    menu.addAction(ToUnicode("粘贴(&P)"), this, [this] { PasteClipboard(); });
    menu.addAction(ToUnicode("删除(&D)"), this, &QLineEdit::del)->setEnabled(selected);
    menu.addSeparator();
    menu.addAction(ToUnicode("全选(&A)"), this, &QLineEdit::selectAll)
        ->setEnabled(!text().isEmpty());
    if (!entries_.empty()) {
        menu.addSeparator();
    }
    for (const auto& [caption, handler] : entries_) {
        menu.addAction(caption, this, handler);
    }
    menu.exec(event->globalPos());
}

void FieldEdit::PasteClipboard() {
    QPointer<FieldEdit> self(this);
    ReadClipboardText([self](std::optional<std::string> pasted) {
        if (self.isNull()) {
            return;
        }
        if (!pasted) {
            ShowOwnedMessageBox(
                self->window(),
                {.text = kClipboardSilent, .caption = "粘贴", .kind = MessageKind::Warning});
            return;
        }
        self->InsertPasted(*pasted);
    });
}

void FieldEdit::InsertPasted(const std::string& pasted) {
    QString before = text();
    int start = hasSelectedText() ? selectionStart() : cursorPosition();
    int length = hasSelectedText() ? int(selectedText().size()) : 0;
    int kept = AnsiByteCount(before) - AnsiByteCount(before.mid(start, length));
    FittedPaste fitted = FitPaste(pasted, size_t(std::max(limit_ - kept, 0)));
    QString inserted = ToUnicode(fitted.text);
    note_ = fitted.note;
    textAfterPaste_ = before.left(start) + inserted + before.mid(start + length);
    if (textAfterPaste_ == before) {
        emit textChanged(before); // nothing to insert: the finding still tells why
        return;
    }
    insert(inserted);
}

} // namespace orvane
