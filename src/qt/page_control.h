#pragma once

#include <QWidget>
#include <vector>

class QFrame;
class QScrollArea;
class QTabBar;

namespace orvane {

// A row of tabs along the top edge; each tab shows one page below it. A
// page shorter than its content scrolls, and a component focused on it is
// scrolled into view.
class PageControl : public QWidget {
public:
    explicit PageControl(QWidget* parent);
    // The page's content, where its components go.
    QWidget* AddPage(const QString& caption);
    // The tab row and the frame for the control's present size.
    void PlaceTabs(int tabRowHeight);
    // A page's place in the control, and its content's whole size.
    void PlacePage(QWidget* content, const QRect& shown, const QSize& whole) const;
    void SetTabFont(const QFont& font);
    int CurrentPage() const;
    void SelectPage(int index);
    QTabBar* TabBar() const { return tabs_; }
    // The scrolling page that is or holds the widget, or none.
    QScrollArea* PageOf(const QWidget* widget) const;

private:
    void ShowOnly(int index);
    void ScrollIntoView(QWidget* widget) const;

    QTabBar* tabs_;
    QFrame* frame_;
    std::vector<QScrollArea*> pages_;
};

} // namespace orvane
