#include "window/qt/lists/list_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The drawings live in a static library, whose resources must be registered by hand; this has
// to happen outside any namespace.
static void RegisterListResources() { Q_INIT_RESOURCE(lists); }

namespace tavrin {
namespace {

QIcon RenderedIcon(const QString& drawing) {
  static const bool registered = (RegisterListResources(), true);
  (void)registered;
  QSvgRenderer renderer(drawing);
  QIcon icon;
  for (const int size : {16, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon OpenFolderIcon() { return RenderedIcon(QStringLiteral(":/tavrin/lists/folder-open.svg")); }
QIcon ClosedFolderIcon() { return RenderedIcon(QStringLiteral(":/tavrin/lists/folder-closed.svg")); }
QIcon DriveIcon() { return RenderedIcon(QStringLiteral(":/tavrin/lists/drive.svg")); }

}  // namespace tavrin
