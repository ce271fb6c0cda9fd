#include "window/qt/single_click_filter.h"

#include <QEvent>

namespace tavrin {

bool SingleClickFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace tavrin
