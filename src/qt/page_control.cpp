#include "page_control.h"

#include "window/layout.h"

#include <QFrame>
#include <QTabBar>

namespace orvane {

PageControl::PageControl(QWidget* parent) : QWidget(parent), tabs_(new QTabBar(this)) {
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(0, kTabRowHeight - 1, 315, 654 - kTabRowHeight + 1);
    frame->lower();
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    // All six captions must fit in the row: no scroll arrows, ever.
    tabs_->setUsesScrollButtons(false);
    tabs_->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; min-width: 0px; }"));
    QObject::connect(tabs_, &QTabBar::currentChanged, this, [this](int i) { ShowOnly(i); });
}

void PageControl::SetTabFont(const QFont& font) {
    tabs_->setFont(font);
}

QWidget* PageControl::AddPage(const QString& caption) {
    auto* page = new QWidget(this);
    page->setGeometry(rect());
    pages_.push_back(page);
    tabs_->addTab(caption);
    tabs_->setGeometry(0, 0, width(), kTabRowHeight);
    tabs_->raise();
    ShowOnly(tabs_->currentIndex());
    return page;
}

int PageControl::CurrentPage() const {
    return tabs_->currentIndex();
}

void PageControl::SelectPage(int index) {
    tabs_->setCurrentIndex(index);
}

void PageControl::ShowOnly(int index) {
    for (size_t i = 0; i < pages_.size(); ++i) {
        pages_[i]->setVisible(int(i) == index);
    }
    tabs_->raise();
}

} // namespace orvane
