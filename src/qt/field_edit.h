#pragma once

#include <QLineEdit>
#include <functional>
#include <string>
#include <vector>

namespace orvane {

// An edit box whose text is always one line of at most its limit in ANSI
// bytes. A paste keeps the first line and what fits, and remembers what it
// left out for the field's finding; the clipboard is read without holding
// the window. Its context menu is the standard one in Chinese, with the
// program's entries after it.
class FieldEdit : public QLineEdit {
public:
    FieldEdit(int byteLimit, QWidget* parent);

    void AddMenuEntry(const QString& caption, std::function<void()> handler);
    // What the last paste left out, while the box still shows what it left.
    std::string PasteNote() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void PasteClipboard();
    void InsertPasted(const std::string& pasted);

    int limit_;
    std::string note_;
    QString textAfterPaste_;
    std::vector<std::pair<QString, std::function<void()>>> entries_;
};

} // namespace orvane
