#include "window/qt/tab_control.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace tavrin {

PageTabBar::PageTabBar(int strip_height, QWidget* parent) : QTabBar(parent), strip_height_(strip_height) {
  setExpanding(true);
  setUsesScrollButtons(false);
  setElideMode(Qt::ElideNone);
  setDrawBase(false);
  // The strip never scrolls; its scroll buttons stay out of the tab order.
  for (QWidget* button : findChildren<QWidget*>()) button->setFocusPolicy(Qt::NoFocus);
}

QSize PageTabBar::tabSizeHint(int index) const {
  const int tabs = count();
  if (tabs == 0) return {0, strip_height_};
  const int share = width() / tabs;
  // The last tab takes what the division leaves over.
  const int tab_width = index == tabs - 1 ? width() - share * (tabs - 1) : share;
  return {tab_width, strip_height_};
}

QSize PageTabBar::minimumTabSizeHint(int index) const { return tabSizeHint(index); }

TabControl::TabControl(const QStringList& captions, int strip_height, int first_page, QSize size, QWidget* parent)
    : QWidget(parent), bar_(new PageTabBar(strip_height, this)), tab_(first_page) {
  bar_->setObjectName(QStringLiteral("TabStrip"));
  // Placed now: a hidden widget hears of its size only when it is first shown.
  resize(size);
  bar_->setGeometry(0, 0, size.width(), strip_height);
  for (const QString& caption : captions) bar_->addTab(caption);
  pages_.resize(static_cast<std::size_t>(captions.size()));
  bar_->setCurrentIndex(first_page);
  setFocusProxy(bar_);
  connect(bar_, &QTabBar::currentChanged, this, &TabControl::OnCurrentChanged);
}

void TabControl::SetTab(int page) {
  if (page < 0 || page >= bar_->count()) return;
  bar_->setCurrentIndex(page);  // raises currentChanged synchronously when the page changes
}

void TabControl::AddToPage(QWidget* control, int page) {
  pages_.at(static_cast<std::size_t>(page)).push_back(control);
  control->setVisible(page == tab_);
}

void TabControl::OnCurrentChanged(int page) {
  if (page < 0 || page == tab_) return;
  const int previous = tab_;
  tab_ = page;
  ShowPage(page);
  emit Click(previous);
}

void TabControl::ShowPage(int page) {
  // The focus in a page that goes moves to the tab strip, not to whatever control follows.
  QWidget* focus = QApplication::focusWidget();
  if (focus != nullptr && focus != bar_ && isAncestorOf(focus)) bar_->setFocus(Qt::OtherFocusReason);
  for (std::size_t p = 0; p < pages_.size(); ++p) {
    if (static_cast<int>(p) != page)
      for (QWidget* control : pages_[p]) control->hide();
  }
  for (QWidget* control : pages_.at(static_cast<std::size_t>(page))) control->show();
  update();
}

void TabControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  bar_->setGeometry(0, 0, width(), bar_->StripHeight());
}

void TabControl::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
  const int strip = bar_->height();
  frame.rect = QRect(0, strip - overlap, width(), height() - strip + overlap);
  frame.shape = bar_->shape();
  frame.tabBarSize = bar_->size();
  frame.tabBarRect = bar_->geometry();
  frame.selectedTabRect = bar_->tabRect(tab_).translated(bar_->pos());
  frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

}  // namespace tavrin
