#pragma once

#include <QWidget>

#include "window/qt/elided_label.h"

namespace tavrin {

// A status bar in simple style: one text field across the whole bar. A text too long for it
// is shown shortened in the middle, with the whole text as the field's tool tip.
class StatusBar : public QWidget {
  Q_OBJECT

 public:
  explicit StatusBar(QWidget* parent = nullptr);

  QString SimpleText() const;
  void SetSimpleText(const QString& text);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  ElidedLabel* panel_;
};

}  // namespace tavrin
