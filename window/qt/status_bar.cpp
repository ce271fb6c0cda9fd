#include "window/qt/status_bar.h"

namespace tavrin {

StatusBar::StatusBar(QWidget* parent) : QWidget(parent), panel_(new ElidedLabel(QString(), this)) {
  panel_->setObjectName(QStringLiteral("SimpleText"));
  panel_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  panel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  panel_->setIndent(3);
}

QString StatusBar::SimpleText() const { return panel_->text(); }

void StatusBar::SetSimpleText(const QString& text) { panel_->SetText(text); }

void StatusBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  panel_->setGeometry(rect().adjusted(2, 2, -2, -2));
}

}  // namespace tavrin
