#pragma once

#include <QFont>
#include <QLabel>
#include <QString>

namespace tavrin {

// A label for texts that may be too long for it, such as paths: it shows its text shortened
// in the middle (see ElidePathInMiddle) when it does not fit, and then has the whole text as
// its tool tip. `text()` is always the whole text.
class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(const QString& text = QString(), QWidget* parent = nullptr);

  // Sets the text, and the tool tip as above.
  void SetText(const QString& text);

  // The text as the label shows it at its present size and font.
  QString ShownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The part of the label that the text is drawn in, as QLabel lays out plain text.
  QRect TextRect() const;
  void UpdateToolTip();

  // The last text shortened, for the width and font it was shortened for: a label painted
  // again, or asked for its tool tip, does not measure the text again.
  mutable QString elided_for_;
  mutable int elided_width_ = -1;
  mutable QFont elided_font_;
  mutable QString elided_;
};

}  // namespace tavrin
