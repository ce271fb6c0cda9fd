#pragma once

#include <filesystem>
#include <string>

namespace tavrin {

// How the window shows and tidies paths, without a toolkit.

// `path` as the window shows it, UTF-8: control characters and bytes that are not valid UTF-8
// written as escapes (see ShownText), so a name is always one line and two different names
// never look alike.
std::string ShownPath(const std::filesystem::path& path);

// `folder` with "." and ".." worked out by its text (a link keeps the name it was reached by)
// and without a separator at the end, except for a root.
std::filesystem::path LexicalFolder(const std::filesystem::path& folder);

}  // namespace tavrin
