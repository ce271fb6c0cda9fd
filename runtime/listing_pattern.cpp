#include "runtime/listing_pattern.h"

#include "runtime/path_text.h"

namespace tavrin {
namespace {

using NativeString = std::filesystem::path::string_type;
constexpr auto kSeparator = std::filesystem::path::preferred_separator;

bool IsSeparator(NativeString::value_type c) { return c == '/' || c == kSeparator; }

}  // namespace

ListingPattern SplitListingPattern(const std::filesystem::path& pattern) {
  const NativeString& text = pattern.native();
  std::size_t last_separator = text.size();
  while (last_separator > 0 && !IsSeparator(text[last_separator - 1])) --last_separator;
  if (last_separator == 0) return {".", PathText(pattern)};

  ListingPattern split{{}, PathText(text.substr(last_separator))};
  std::size_t folder_end = last_separator - 1;
  while (folder_end > 0 && IsSeparator(text[folder_end - 1])) --folder_end;
  NativeString folder = text.substr(0, folder_end);
  // A root keeps its separator: "/" and "C:\" are folders, "" and "C:" are not the same.
  if (folder.empty() || std::filesystem::path(folder) == std::filesystem::path(folder).root_name()) {
    folder.push_back(kSeparator);
  }
  split.folder = std::move(folder);
  return split;
}

std::string FolderUnreadableText(const std::filesystem::path& folder) {
  std::string shown = PathText(folder);
  if (shown.empty() || !IsSeparator(static_cast<NativeString::value_type>(shown.back()))) {
    shown += static_cast<char>(kSeparator);
  }
  return "Das Verzeichnis [" + shown + "] kann nicht gelesen werden";
}

Status FolderUnreadable(const std::filesystem::path& folder, int error_number) {
  return Status::FromErrno(error_number, FolderUnreadableText(folder));
}

}  // namespace tavrin
