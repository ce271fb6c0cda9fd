#pragma once

#include <filesystem>

namespace tavrin {

// The order of folder names in a folder list: letters compare without regard to ASCII case
// and runs of digits compare by their value ("z9" before "z10"). Names that are equal in this
// order fall back to their raw bytes, so the order is total and does not depend on the order
// in which the system lists a folder.
bool FolderNameLess(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace tavrin
