#include "window/window_style.h"

#include <QStyleFactory>

namespace tavrin {

WindowStyle::WindowStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int WindowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  if (metric == PM_TabBarTabHSpace) return 12;
  return QProxyStyle::pixelMetric(metric, option, widget);
}

}  // namespace tavrin
