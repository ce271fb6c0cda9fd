#pragma once

#include <filesystem>
#include <string>

#include "runtime/status.h"

namespace tavrin {

// A listing pattern ("/p/*.*", "C:\p\*.*") split at its last separator ("/", and on Windows
// "\" as well).
struct ListingPattern {
  // The folder to read, without trailing separators ("/p" for "/p//*.*"); a root keeps its
  // one ("/", "C:\"), "." for a pattern without any separator.
  std::filesystem::path folder;
  // The wildcard behind the last separator, as UTF-8 text ("*.*").
  std::string wildcard;
};

ListingPattern SplitListingPattern(const std::filesystem::path& pattern);

// The reason for a folder that cannot be listed; it names the folder as a folder path:
// "Das Verzeichnis [/p/] kann nicht gelesen werden (Datei oder Verzeichnis nicht gefunden)".
Status FolderUnreadable(const std::filesystem::path& folder, int error_number);

// The first half of that reason, for a system reason that has no error number:
// "Das Verzeichnis [/p/] kann nicht gelesen werden".
std::string FolderUnreadableText(const std::filesystem::path& folder);

}  // namespace tavrin
