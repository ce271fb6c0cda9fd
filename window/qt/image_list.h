#pragma once

#include <QIcon>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <vector>

namespace tavrin {

// Draws the SVG image at `resource` into a transparent pixmap of `size` logical pixels at
// `device_pixel_ratio`. An image that cannot be read gives a null pixmap.
QPixmap RenderSvg(const QString& resource, QSize size, qreal device_pixel_ratio = 1.0);

// An icon drawn from one SVG image at 16 x 16, 32 x 32 and 64 x 64 pixels.
QIcon SvgIcon(const QString& resource);

// A list of images that controls show by number, never shown itself.
class ImageList : public QObject {
  Q_OBJECT

 public:
  // `resources`: the SVG images, image 1 first.
  ImageList(const QString& name, const QStringList& resources, QObject* parent = nullptr);

  int Count() const { return static_cast<int>(images_.size()); }
  // Image `index`, from 1.
  const QIcon& Image(int index) const { return images_.at(static_cast<std::size_t>(index - 1)); }
  const QString& Resource(int index) const { return resources_.at(index - 1); }

 private:
  QStringList resources_;
  std::vector<QIcon> images_;
};

// The SVG images of the toolbar's lists and of the window's icon.
QStringList NormalToolbarImages();
QStringList HotToolbarImages();
inline const QString kWindowIconResource = QStringLiteral(":/images/tavrin.svg");
inline const QString kWindowIconSmallResource = QStringLiteral(":/images/tavrin16.svg");

// The window's and the program's icon: the 32 x 32 and the 16 x 16 drawing.
QIcon WindowIcon();

}  // namespace tavrin
