#include "window/qt/image_list.h"

#include <QPainter>
#include <QSvgRenderer>

// The images are compiled into a static library; register them before their first use.
static int RegisterWindowImages() {
  Q_INIT_RESOURCE(images);
  return 0;
}

namespace tavrin {

QPixmap RenderSvg(const QString& resource, QSize size, qreal device_pixel_ratio) {
  static const int registered = RegisterWindowImages();
  (void)registered;
  QSvgRenderer renderer(resource);
  if (!renderer.isValid()) return {};
  QPixmap pixmap(size * device_pixel_ratio);
  pixmap.fill(Qt::transparent);
  {
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
  }
  pixmap.setDevicePixelRatio(device_pixel_ratio);
  return pixmap;
}

QIcon SvgIcon(const QString& resource) {
  QIcon icon;
  // The larger drawings serve screens of higher density.
  for (int side : {16, 32, 64}) icon.addPixmap(RenderSvg(resource, QSize(side, side)));
  return icon;
}

ImageList::ImageList(const QString& name, const QStringList& resources, QObject* parent)
    : QObject(parent), resources_(resources) {
  setObjectName(name);
  images_.reserve(static_cast<std::size_t>(resources.size()));
  for (const QString& resource : resources) images_.push_back(SvgIcon(resource));
}

QStringList NormalToolbarImages() {
  return {QStringLiteral(":/images/folder.svg"), QStringLiteral(":/images/folder_search.svg"),
          QStringLiteral(":/images/keys_f1_f5.svg"), QStringLiteral(":/images/bubble_question.svg"),
          QStringLiteral(":/images/bubble_info.svg")};
}

QStringList HotToolbarImages() {
  return {QStringLiteral(":/images/folder_hot.svg"), QStringLiteral(":/images/card_index_hand.svg"),
          QStringLiteral(":/images/hand_key.svg"), QStringLiteral(":/images/question_circle.svg"),
          QStringLiteral(":/images/exclamation_circle.svg")};
}

QIcon WindowIcon() {
  QIcon icon;
  icon.addPixmap(RenderSvg(kWindowIconSmallResource, QSize(16, 16)));
  for (int side : {32, 64}) icon.addPixmap(RenderSvg(kWindowIconResource, QSize(side, side)));
  return icon;
}

}  // namespace tavrin
