#include "page_control.h"

#include <QApplication>
#include <QFrame>
#include <QResizeEvent>
#include <QScrollArea>
#include <QTabBar>
#include <utility>

namespace orvane {

PageControl::PageControl(QWidget* parent)
    : QWidget(parent), tabs_(new QTabBar(this)), frame_(new QFrame(this)) {
    frame_->setFrameShape(QFrame::StyledPanel);
    frame_->lower();
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    // All six captions must fit in the row: no scroll arrows, ever.
    tabs_->setUsesScrollButtons(false);
    tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; min-width: 0px; }"));
    QObject::connect(tabs_, &QTabBar::currentChanged, this, [this](int i) { ShowOnly(i); });
    QObject::connect(qApp, &QApplication::focusChanged, this,
                     [this](QWidget*, QWidget* now) { ScrollIntoView(now); });
}

void PageControl::SetTabFont(const QFont& font) {
    tabs_->setFont(font);
}

QWidget* PageControl::AddPage(const QString& caption) {
    auto* page = new QScrollArea(this);
    page->setFrameShape(QFrame::NoFrame);
    page->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    page->setWidget(new QWidget);
    // The control's frame shows through, as behind a page that does not
    // scroll.
    page->viewport()->setAutoFillBackground(false);
    page->widget()->setAutoFillBackground(false);
    pages_.push_back(page);
    tabs_->addTab(caption);
    tabs_->raise();
    ShowOnly(tabs_->currentIndex());
    return page->widget();
}

void PageControl::PlaceTabs(int tabRowHeight) {
    tabs_->setGeometry(0, 0, width(), tabRowHeight);
    frame_->setGeometry(0, tabRowHeight - 1, width(), height() - tabRowHeight + 1);
}

void PageControl::PlacePage(QWidget* content, const QRect& shown, const QSize& whole) const {
    QScrollArea* page = PageOf(content);
    if (page == nullptr) {
        return;
    }
    page->setGeometry(shown);
    content->setFixedSize(whole);
    // Lays the page out now, hidden or not (a hidden one would wait for its
    // first show): its components are where they are drawn.
    QResizeEvent resized(page->size(), page->size());
    QCoreApplication::sendEvent(page, &resized);
}

int PageControl::CurrentPage() const {
    return tabs_->currentIndex();
}

void PageControl::SelectPage(int index) {
    tabs_->setCurrentIndex(index);
}

QScrollArea* PageControl::PageOf(const QWidget* widget) const {
    for (QScrollArea* page : pages_) {
        if (widget != nullptr &&
            (page->widget() == widget || page->widget()->isAncestorOf(widget))) {
            return page;
        }
    }
    return nullptr;
}

// The whole component, not only an edit box's cursor.
void PageControl::ScrollIntoView(QWidget* widget) const {
    QScrollArea* page = PageOf(widget);
    if (page == nullptr || page->widget() == widget) {
        return;
    }
    QRect box(widget->mapTo(page->widget(), QPoint(0, 0)), widget->size());
    page->ensureVisible(box.left(), box.bottom() + 1, 0, 0);
    page->ensureVisible(box.left(), box.top(), 0, 0);
}

void PageControl::ShowOnly(int index) {
    for (size_t i = 0; i < pages_.size(); ++i) {
        pages_[i]->setVisible(std::cmp_equal(i, index));
    }
    tabs_->raise();
}

} // namespace orvane
