#include "window/presenter/path_display.h"

#include "runtime/path_text.h"
#include "runtime/shown_text.h"

namespace tavrin {

std::string ShownPath(const std::filesystem::path& path) { return ShownText(PathText(path)); }

std::filesystem::path LexicalFolder(const std::filesystem::path& folder) {
  std::filesystem::path normal = folder.lexically_normal();
  if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
  return normal;
}

}  // namespace tavrin
