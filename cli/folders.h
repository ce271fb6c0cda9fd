#pragma once

#include <filesystem>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/file_services.h"
#include "runtime/status.h"

namespace tavrin::cli {

// A folder named on the command line (UTF-8 on Windows, bytes elsewhere) as an absolute,
// lexically normal path without a trailing separator (only a root keeps its one), so that "p",
// "./p/" and "q/../p" name the same folder. Symbolic links are not resolved. Fails on an empty
// name.
Status NormalizeFolder(const std::string& word, std::filesystem::path* folder);

// Ok when `source` is a folder that can be opened and listed through `files`; otherwise a
// German reason naming it.
Status CheckSourceFolder(FileServices& files, const std::filesystem::path& source);

// The project files (*.vbp) in the folders below `source` (not in it): how many, and the first
// `most` by path relative to `source`. Folders that cannot be read are left out.
struct ProjectFilesBelow {
  std::uint64_t count = 0;
  std::vector<std::string> first;  // shown paths, in byte order
};
ProjectFilesBelow FindProjectFilesBelow(FileServices& files, const std::filesystem::path& source, std::size_t most);

// What a refusal for a source without a project at its top adds when there are project files
// below it; empty when there are none.
std::string ProjectsBelowNote(const ProjectFilesBelow& below);

}  // namespace tavrin::cli
