#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "conversion/conversion_pass.h"

namespace tavrin::cli {

// The German summary of a pass for standard output: the closing text, both folders, files
// copied, rewritten and not transferred (and folders that could not be read, if any), lines changed, and the replacements of every row of
// the key table with its total. One item per line, "Label: value".
// A dry run says so in its first line.
std::string Summary(const PassReport& report, const std::filesystem::path& source,
                    const std::filesystem::path& target, bool dry_run = false);

// The "Hinweise" section: how many hints of each kind, then the hints, one a line ("[kind]
// file, Zeile n: message"), at most `most` of each kind followed by "(und N weitere)".
std::string HintsSection(const std::vector<Hint>& hints, std::size_t most);

// What a dry run says of one file: "kopieren NAME" or "umschreiben (N Zeilen geändert) NAME".
std::string DryRunLine(const TransferredFile& file);

}  // namespace tavrin::cli
