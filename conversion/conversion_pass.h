#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/conversion_host.h"
#include "conversion/folder_path.h"
#include "conversion/key_table.h"
#include "runtime/file_services.h"

namespace tavrin {

// A file that was not transferred, and why (German).
struct FileFailure {
  std::filesystem::path name;
  std::string reason;
};

// What one pass did.
struct PassReport {
  std::uint64_t files_copied = 0;     // copied byte for byte
  std::uint64_t files_rewritten = 0;  // rewritten line by line
  std::uint64_t lines_changed = 0;
  KeyTable::Counts replacements{};    // per row, index 1..14
  std::vector<FileFailure> failures;  // in listing order

  bool ok() const { return failures.empty(); }
};

inline constexpr std::string_view kSuffixList = "vbp vbg frm cls ctl bas dob pag wct";
inline constexpr std::string_view kClosingText = "Konvertierung abgeschlossen...";
inline constexpr std::string_view kClosingTextWithFailures = "Konvertierung mit Fehlern abgeschlossen...";

// True when a file of this name is project text and is rewritten line by line: its suffix
// (GetSuffix), in lower case, is found anywhere in kSuffixList. An empty suffix is found too.
bool IsProjectText(const NativeString& name);

// The conversion pass: copies every ordinary file of `source` into `target` (both folder
// paths, fixed for the whole pass; the listing is taken before the first file), rewriting
// project text through `keys`. Target files are only ever created new; a failed file is
// recorded, its partial target removed, and the pass goes on with the next file.
PassReport FileConvert(ConversionHost& host, FileServices& files, const KeyTable& keys,
                       const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace tavrin
