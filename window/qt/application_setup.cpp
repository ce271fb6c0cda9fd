#include "window/qt/application_setup.h"

#include <QApplication>

#include "tavrin_version.h"
#include "window/qt/image_list.h"
#include "window/qt/window_style.h"

namespace tavrin {

QFont DefaultControlFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(7.5);
  return font;
}

void SetUpApplication() {
  QApplication::setApplicationName(QStringLiteral("Tavrin"));
  QApplication::setApplicationVersion(QStringLiteral(TAVRIN_VERSION_TEXT));
  QApplication::setDesktopFileName(QStringLiteral("tavrin"));
  // One style everywhere, so that the fixed layout looks the same on every desktop.
  QApplication::setStyle(new WindowStyle);
  QApplication::setFont(DefaultControlFont());
  // The classic bitmap face of the status labels exists on few systems.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
  QApplication::setWindowIcon(WindowIcon());
}

}  // namespace tavrin
