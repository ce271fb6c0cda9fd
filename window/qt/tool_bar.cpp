#include "window/qt/tool_bar.h"

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
    buttons_.push_back(button);
  }
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
