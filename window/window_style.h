#pragma once

#include <QProxyStyle>

namespace tavrin {

// Fusion, with the narrower tab padding of classic tab controls, so that the page captions
// fit their tabs at the window's fixed size.
class WindowStyle : public QProxyStyle {
  Q_OBJECT

 public:
  WindowStyle();
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
};

}  // namespace tavrin
