#include "window/qt/tool_bar.h"

#include <algorithm>

#include <QKeyEvent>
#include <QStyleOptionToolBar>
#include <QStylePainter>

namespace tavrin {

QString ToolbarButtonName(int index) { return QStringLiteral("Toolbar1.Button(%1)").arg(index); }

Toolbar::Toolbar(const QStringList& captions, const ImageList& normal, const ImageList& hot, QSize button_size,
                 QWidget* parent)
    : QWidget(parent) {
  const int top = 1;
  for (int index = 1; index <= captions.size(); ++index) {
    auto* button = new QToolButton(this);
    button->setObjectName(ToolbarButtonName(index));
    button->setText(captions.at(index - 1));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);  // draws the Active image of the icon while hovered
    button->setIconSize(QSize(16, 16));
    button->setToolTip(QString());
    // Normal mode from the normal list, Active mode (pointer over the button) from the hot list.
    QIcon icon;
    for (const QSize& size : normal.Image(index).availableSizes())
      icon.addPixmap(normal.Image(index).pixmap(size), QIcon::Normal);
    for (const QSize& size : hot.Image(index).availableSizes())
      icon.addPixmap(hot.Image(index).pixmap(size), QIcon::Active);
    button->setIcon(icon);
    button->setGeometry((index - 1) * button_size.width(), top, button_size.width(), button_size.height());
    connect(button, &QToolButton::clicked, this, [this, index] { emit ButtonClick(index); });
    button->installEventFilter(this);
    buttons_.push_back(button);
  }
  if (!buttons_.empty()) MoveStop(0);
}

void Toolbar::MoveStop(std::size_t index) {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->setFocusPolicy(i == index ? Qt::TabFocus : Qt::NoFocus);
}

bool Toolbar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const auto it = std::find(buttons_.begin(), buttons_.end(), watched);
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && it != buttons_.end()) {
      const std::size_t count = buttons_.size();
      const auto here = static_cast<std::size_t>(it - buttons_.begin());
      const std::size_t next = key == Qt::Key_Right ? (here + 1) % count : (here + count - 1) % count;
      MoveStop(next);
      buttons_[next]->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void Toolbar::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionToolBar option;
  option.initFrom(this);
  option.toolBarArea = Qt::TopToolBarArea;
  option.features = QStyleOptionToolBar::None;
  option.positionOfLine = QStyleOptionToolBar::OnlyOne;
  option.positionWithinLine = QStyleOptionToolBar::OnlyOne;
  painter.drawControl(QStyle::CE_ToolBar, option);
}

}  // namespace tavrin
