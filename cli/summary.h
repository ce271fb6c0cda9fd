#pragma once

#include <filesystem>
#include <string>

#include "conversion/conversion_pass.h"

namespace tavrin::cli {

// The German summary of a pass for standard output: the closing text, both folders, files
// copied, rewritten and not transferred (and folders that could not be read, if any), lines changed, and the replacements of every row of
// the key table with its total. One item per line, "Label: value".
std::string Summary(const PassReport& report, const std::filesystem::path& source,
                    const std::filesystem::path& target);

}  // namespace tavrin::cli
