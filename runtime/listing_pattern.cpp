#include "runtime/listing_pattern.h"

namespace tavrin {

ListingPattern SplitListingPattern(const std::filesystem::path& pattern) {
  const std::string& text = pattern.native();
  const std::size_t last_separator = text.rfind('/');
  if (last_separator == std::string::npos) return {".", text};

  ListingPattern split{{}, text.substr(last_separator + 1)};
  std::size_t folder_end = last_separator;
  while (folder_end > 0 && text[folder_end - 1] == '/') --folder_end;
  split.folder = folder_end == 0 ? std::string("/") : text.substr(0, folder_end);
  return split;
}

Status FolderUnreadable(const std::filesystem::path& folder, int error_number) {
  std::string shown = folder.native();
  if (shown.empty() || shown.back() != '/') shown += '/';
  return Status::FromErrno(error_number, "Das Verzeichnis [" + shown + "] kann nicht gelesen werden");
}

}  // namespace tavrin
