#pragma once

#include <filesystem>
#include <string>

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

}  // namespace tavrin::cli
