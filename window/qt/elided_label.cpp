#include "window/qt/elided_label.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

#include "window/qt/path_elision.h"

namespace tavrin {

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setTextFormat(Qt::PlainText);
  UpdateToolTip();
}

void ElidedLabel::SetText(const QString& text) {
  setText(text);
  UpdateToolTip();
}

QString ElidedLabel::ShownText() const {
  const QString whole = text();
  const int width = TextRect().width();
  if (width != elided_width_ || whole != elided_for_ || font() != elided_font_) {
    elided_ = ElidePathInMiddle(whole, fontMetrics(), width);
    elided_for_ = whole;
    elided_width_ = width;
    elided_font_ = font();
  }
  return elided_;
}

QRect ElidedLabel::TextRect() const {
  QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  int indent = this->indent();
  if (indent < 0 && frameWidth() > 0)
    indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin();
  if (indent > 0) {
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    if (align & Qt::AlignLeft) area.setLeft(area.left() + indent);
    if (align & Qt::AlignRight) area.setRight(area.right() - indent);
    if (align & Qt::AlignTop) area.setTop(area.top() + indent);
    if (align & Qt::AlignBottom) area.setBottom(area.bottom() - indent);
  }
  return area;
}

void ElidedLabel::UpdateToolTip() {
  const QString shown = ShownText();
  setToolTip(shown == text() ? QString() : text());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawFrame(&painter);
  style()->drawItemText(&painter, TextRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                        palette(), isEnabled(), ShownText(), foregroundRole());
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  UpdateToolTip();
}

void ElidedLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    elided_width_ = -1;  // the same font may measure differently in another style
    UpdateToolTip();
  }
}

}  // namespace tavrin
