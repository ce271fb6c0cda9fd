#pragma once

#include <QProxyStyle>

namespace tavrin {

// Fusion, with the narrower tab padding of classic tab controls, so that the page captions
// fit their tabs at the window's fixed size, and with classic frames: an etched frame line
// whose caption stands on the line at the top left, the line giving way behind it.
class WindowStyle : public QProxyStyle {
  Q_OBJECT

 public:
  WindowStyle();
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget = nullptr) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget = nullptr) const override;
};

}  // namespace tavrin
