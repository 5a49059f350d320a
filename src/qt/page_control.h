#pragma once

#include <QWidget>
#include <vector>

class QTabBar;

namespace orvane {

// A row of tabs along the top edge; each tab shows one page. Pages cover the
// whole control, so their children are placed in the control's own
// coordinates, below the tab row.
class PageControl : public QWidget {
public:
    explicit PageControl(QWidget* parent);
    QWidget* AddPage(const QString& caption);
    void SetTabFont(const QFont& font);
    int CurrentPage() const;
    void SelectPage(int index);
    QTabBar* TabBar() const { return tabs_; }

private:
    void ShowOnly(int index);

    QTabBar* tabs_;
    std::vector<QWidget*> pages_;
};

} // namespace orvane
