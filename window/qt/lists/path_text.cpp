#include "window/qt/lists/path_text.h"

#include <cstring>

#include "runtime/path_text.h"
#include "runtime/shown_text.h"

namespace tavrin {

QString DisplayText(const std::filesystem::path& path) { return QString::fromStdString(ShownText(PathText(path))); }

QByteArray PathBytes(const std::filesystem::path& path) {
  const auto& native = path.native();
  return QByteArray(reinterpret_cast<const char*>(native.data()),
                    static_cast<qsizetype>(native.size() * sizeof(native[0])));
}

std::filesystem::path PathFromBytes(const QByteArray& bytes) {
  using Char = std::filesystem::path::value_type;
  std::filesystem::path::string_type native(static_cast<size_t>(bytes.size()) / sizeof(Char), Char{});
  std::memcpy(native.data(), bytes.constData(), native.size() * sizeof(Char));
  return native;
}

}  // namespace tavrin
