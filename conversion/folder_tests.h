#pragma once

#include <filesystem>

#include "runtime/file_services.h"
#include "runtime/status.h"

namespace tavrin {

// Answer of a folder test. When the folder cannot be listed, `listed` is false, `yes` is
// false and `status` holds a German message that names the folder.
struct FolderAnswer {
  bool yes = false;
  bool listed = true;
  Status status;
};

// Yes when the folder (a folder path) holds a file matching "*.vbp", letter case ignored.
FolderAnswer ProjectExist(FileServices& files, const std::filesystem::path& folder);
// With `tree`, anywhere below the folder as well (hidden folders and links to folders aside).
FolderAnswer ProjectExist(OpenedFolder& folder, bool tree = false);

// Yes when the folder (a folder path) holds no ordinary file; subfolders and hidden entries
// do not count. An entry that could not be examined counts as a file: it may be one.
FolderAnswer ProjectCreatable(FileServices& files, const std::filesystem::path& folder);
// With `tree`, no ordinary file anywhere below it either; a folder below that cannot be read
// answers no, with its reason, since it may hold files.
FolderAnswer ProjectCreatable(OpenedFolder& folder, bool tree = false);

}  // namespace tavrin
