#pragma once

#include <QToolButton>
#include <QWidget>
#include <vector>

#include "window/qt/image_list.h"

namespace tavrin {

// A toolbar of push buttons, each showing its image above its caption. Button n (from 1)
// shows image n of the normal list, and image n of the hot list while the mouse pointer is
// over it. The buttons have no tool tips. The toolbar is one tab stop: one button takes the
// focus by Tab (the first, at the start), the arrow keys move it and the stop along the row.
class Toolbar : public QWidget {
  Q_OBJECT

 public:
  Toolbar(const QStringList& captions, const ImageList& normal, const ImageList& hot, QSize button_size,
          QWidget* parent = nullptr);

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  // Button `index`, from 1.
  QToolButton* Button(int index) const { return buttons_.at(static_cast<std::size_t>(index - 1)); }

 signals:
  // A button was clicked; `index` tells which (from 1).
  void ButtonClick(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Makes button `index` (from 0) the toolbar's tab stop.
  void MoveStop(std::size_t index);
  std::vector<QToolButton*> buttons_;
};

// The object name of toolbar button `index`.
QString ToolbarButtonName(int index);

}  // namespace tavrin
