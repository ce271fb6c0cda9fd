#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/conversion_host.h"
#include "conversion/folder_path.h"
#include "conversion/key_table.h"
#include "conversion/result_checks.h"
#include "runtime/file_services.h"

namespace tavrin {

// A file or folder that was not transferred, and why (German).
struct FileFailure {
  std::filesystem::path name;
  std::string reason;
};

// What one pass did.
struct PassReport {
  bool recursive = false;             // the whole tree below the source folder
  int rows = KeyTable::kUpper;        // the rows of the key table used
  std::uint64_t folders = 0;          // folders whose files were transferred, the top one included
  std::uint64_t files_copied = 0;     // copied byte for byte
  std::uint64_t files_rewritten = 0;  // rewritten line by line
  std::uint64_t lines_changed = 0;
  std::uint64_t lines_removed = 0;    // duplicate references dropped from project files (--complete)
  KeyTable::Counts replacements{};    // per row, index 1..rows
  std::vector<FileFailure> failures;  // files, in listing order
  std::vector<TransferredFile> transferred;  // in the order of the walk
  std::vector<FileFindings> findings;         // of the rewritten files that have any
  // Source folders that could not be listed: their files are neither transferred nor counted.
  std::vector<FileFailure> folder_failures;
  // The host asked the pass to stop: the files after the last transferred one were left out.
  bool stopped = false;
  // Target folders that could not be made or opened, by their path below the target: every
  // file below them stands in `failures`.
  std::vector<FileFailure> target_folder_failures;

  bool ok() const { return failures.empty() && folder_failures.empty() && target_folder_failures.empty(); }
};

inline constexpr std::string_view kSuffixList = "vbp vbg frm cls ctl bas dob pag wct";
inline constexpr std::string_view kClosingText = "Konvertierung abgeschlossen...";
inline constexpr std::string_view kClosingTextWithFailures = "Konvertierung mit Fehlern abgeschlossen...";

// True when a file of this name is project text and is rewritten line by line: its suffix
// (GetSuffix: after the first dot), in lower case, is one of the nine words of kSuffixList.
// Every other file, one without a suffix included, is copied byte for byte.
bool IsProjectText(const NativeString& name);

// The two folders of a pass: opened once, before the checks, so that what was checked is what
// is read and written; and their folder paths, for the progress texts.
struct PassFolders {
  std::filesystem::path source_path;
  std::filesystem::path target_path;
  OpenedFolder& source;
  OpenedFolder& target;
};

struct PassOptions {
  // Every subfolder below the source too (not hidden ones, not links to folders), each into the
  // same relative folder of the target, made as needed.
  bool recursive = false;
  // A unified diff of every rewritten file with changed lines, for FileDone.
  bool diff = false;
  // Each project file (.vbp) keeps one "Object=" line per class id, its first; the later ones are
  // dropped (and show in the diff as removed lines).
  bool drop_duplicate_references = false;
};

// The conversion pass: copies every ordinary file of the source folder into the target folder,
// rewriting project text through `keys`; each folder's listing is taken before its first file.
// Target files are only ever created new; a failed file is recorded (by its path relative to
// the source folder), leaves no target file, and the pass goes on with the next file. When the
// host asks to stop, the file at hand is dropped unfinished and the pass ends.
PassReport FileConvert(ConversionHost& host, const KeyTable& keys, const PassFolders& folders,
                       const PassOptions& options = {});

}  // namespace tavrin
