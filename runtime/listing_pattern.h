#pragma once

#include <filesystem>
#include <string>

#include "runtime/status.h"

namespace tavrin {

// A listing pattern ("/p/*.*") split at its last separator.
struct ListingPattern {
  // The folder to read, without trailing separators ("/p" for "/p//*.*"); "/" for a pattern
  // right under the root, "." for a pattern without any separator.
  std::filesystem::path folder;
  // The wildcard behind the last separator, as bytes ("*.*").
  std::string wildcard;
};

ListingPattern SplitListingPattern(const std::filesystem::path& pattern);

// The reason for a folder that cannot be listed; it names the folder as a folder path:
// "Das Verzeichnis [/p/] kann nicht gelesen werden (Datei oder Verzeichnis nicht gefunden)".
Status FolderUnreadable(const std::filesystem::path& folder, int error_number);

}  // namespace tavrin
