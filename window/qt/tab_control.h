#pragma once

#include <QStringList>
#include <QTabBar>
#include <QWidget>
#include <vector>

namespace tavrin {

// The tab strip of a TabControl: its tabs share the strip's width equally, all in one row.
class PageTabBar : public QTabBar {
  Q_OBJECT

 public:
  PageTabBar(int strip_height, QWidget* parent);
  int StripHeight() const { return strip_height_; }

 protected:
  QSize tabSizeHint(int index) const override;
  QSize minimumTabSizeHint(int index) const override;

 private:
  int strip_height_;
};

// A tab control in the manner of the classic one: a strip of page tabs along the top and the
// controls of all pages as its own children (or grandchildren), placed relative to its outer
// rectangle, strip included. Only the controls of the page in front are visible.
class TabControl : public QWidget {
  Q_OBJECT

 public:
  // `size`: the outer size, which the tab strip spans from the start.
  TabControl(const QStringList& captions, int strip_height, int first_page, QSize size, QWidget* parent = nullptr);

  // The page in front, from 0.
  int Tab() const { return tab_; }

  // Brings `page` to the front. When that changes the page in front, Click(previous page) is
  // raised before this returns; out-of-range pages are ignored.
  void SetTab(int page);

  // Puts `control` (a child of this control) on `page`: it is visible only while `page` is in front.
  void AddToPage(QWidget* control, int page);

  PageTabBar* TabBar() const { return bar_; }

 signals:
  // Another page came to the front; `previous_tab` was in front before.
  void Click(int previous_tab);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void OnCurrentChanged(int page);
  void ShowPage(int page);

  PageTabBar* bar_;
  int tab_;
  std::vector<std::vector<QWidget*>> pages_;
};

}  // namespace tavrin
