#include "window/qt/path_elision.h"

#include <string>
#include <string_view>

#include "window/presenter/path_display.h"

namespace tavrin {

QString ElidePathInMiddle(const QString& text, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  const QByteArray utf8 = text.toUtf8();
  const TextWidth width_of = [&metrics](std::string_view part) {
    return metrics.horizontalAdvance(QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
  };
  const std::string shown =
      ElidePath(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), width_of, width);
  return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

}  // namespace tavrin
