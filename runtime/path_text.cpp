#include "runtime/path_text.h"

#include "runtime/utf16.h"

namespace tavrin {

using NativeChar = std::filesystem::path::value_type;
static_assert(sizeof(NativeChar) == 1 || sizeof(NativeChar) == 2, "paths are bytes or UTF-16");

std::string PathText(const std::filesystem::path& path) {
  const auto& native = path.native();
  if constexpr (sizeof(NativeChar) == 1) {
    return std::string(native.begin(), native.end());
  } else {
    return Utf8FromUtf16(std::u16string(native.begin(), native.end()));
  }
}

std::filesystem::path PathFromText(std::string_view text) {
  if constexpr (sizeof(NativeChar) == 1) {
    return std::filesystem::path::string_type(text.begin(), text.end());
  } else {
    const std::u16string wide = Utf16FromUtf8(text);
    return std::filesystem::path::string_type(wide.begin(), wide.end());
  }
}

}  // namespace tavrin
