#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavrin {

// A path as UTF-8 text, for messages and displays, and a path from such text. Where paths are
// bytes (POSIX systems) they pass unchanged; where they are UTF-16 (Windows) they are
// converted exactly (Utf8FromUtf16), never through a code page.
std::string PathText(const std::filesystem::path& path);
std::filesystem::path PathFromText(std::string_view text);

}  // namespace tavrin
