#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/folder_path.h"
#include "conversion/line_splitter.h"
#include "conversion/text_rewriter.h"
#include "runtime/file_services.h"
#include "runtime/text_sink.h"

namespace tavrin {

// The kinds of hints, each with its German name for the summary.
inline constexpr std::string_view kHintMissingProjectFile = "missing-project-file";
inline constexpr std::string_view kHintVb5ClassId = "vb5-class-id";
inline constexpr std::string_view kHintReplacedControl = "replaced-control";
inline constexpr std::string_view kHintLineEnds = "line-ends";
inline constexpr std::string_view kHintDuplicateReference = "duplicate-reference";
// In the order in which the outputs list them.
inline constexpr std::string_view kHintKinds[] = {kHintMissingProjectFile, kHintVb5ClassId, kHintDuplicateReference,
                                                  kHintReplacedControl, kHintLineEnds};

// Something the converted project still needs: not a failure, nothing was lost, but a person
// has to look at it before the project opens in Visual Basic 6 as it should.
struct Hint {
  std::string_view kind;
  NativeString file;        // below the top folder; empty for a hint about the whole result
  std::uint64_t line = 0;   // 0 when the hint has no line
  std::string text;         // the entry or class id it is about, as bytes of the file
  std::string message;      // German
  std::uint64_t count = 1;  // what it lists: files, lines
};

// The German name of a kind, for counts and the window ("Fehlende Projektdateien").
std::string_view HintKindName(std::string_view kind);

// What the rewriting of one file found for the checks.
struct FileFindings {
  NativeString relative;
  bool group = false;                         // a project group (.vbg)
  std::uint64_t vb5_lines = 0;                // lines that still hold a version 5 class id
  std::vector<std::uint64_t> vb5_first_lines;
  std::string vb5_first_text;
  struct ControlLine {
    std::uint64_t line;
    int kind;
    std::string text;
  };
  std::vector<ControlLine> replaced;  // lines that name a control version 6 replaced
  std::uint64_t replaced_more = 0;    // such lines beyond those kept
  struct Entry {
    std::uint64_t line;
    std::string value;  // the file it names, as written (quotes removed)
  };
  std::vector<Entry> entries;         // the project's entries that name files
  // An "Object=" line of a project file naming a library that an earlier one named already.
  struct Duplicate {
    std::uint64_t first_line;
    std::string first_version;
    std::uint64_t line;
    std::string version;
    std::string text;      // the later line, as written
    std::string class_id;  // in upper case
    bool removed = false;  // dropped from the output (--complete)
  };
  std::vector<Duplicate> duplicates;
  unsigned uses = 0;  // a bit (1 << kind) for each kind of watched text that stands in the file

  bool empty() const {
    return vb5_lines == 0 && replaced.empty() && replaced_more == 0 && entries.empty() && duplicates.empty() &&
           uses == 0;
  }
};

// The class ids a rewriter looks out for: those of the version 5 controls and their sub-objects
// (left standing when the key table has no row for them), and controls that version 6 replaced
// by other libraries.
const std::vector<WatchedText>& ResultWatch();

// Collects the findings of one rewritten file: the watched texts the rewriter reports, and for
// a project file (.vbp) or a project group (.vbg), by the name's last suffix, the entries of
// the text on its way to `next`.
class FindingsCollector : public TextSink {
 public:
  FindingsCollector(TextSink& next, NativeString relative);

  Status Append(std::string_view bytes) override;
  void Found(int kind, std::uint64_t line, std::string_view text);
  // The text has ended; what was found.
  FileFindings Finish();
  // The "Object=" line `line` was dropped from the output after it passed here.
  void Removed(std::uint64_t line);

 private:
  void NoteObjectLine(std::uint64_t number, std::string_view text);

  TextSink& next_;
  bool project_file_ = false;
  FileFindings findings_;
  LineSplitter entries_;
  // Per class id of the "Object=" lines so far: the first line and its version.
  std::map<std::string, std::pair<std::uint64_t, std::string>> object_lines_;
};

// One file as it was transferred.
struct TransferredFile {
  NativeString relative;
  bool rewritten = false;
  std::uint64_t lines_changed = 0;
  bool line_ends_changed = false;
  // Duplicate references dropped (--complete); lines_changed still counts those the rewriter
  // had changed before they were dropped.
  std::uint64_t lines_removed = 0;
};

// The hints about a converted result: entries of project files that name files the target
// lacks (with where they are in the source), class ids of the version 5 controls left
// standing, controls version 6 replaced by other libraries, and line ends made CR LF.
// `source` is the top source folder, looked into to tell where a missing file is.
std::vector<Hint> CheckResult(const std::vector<TransferredFile>& transferred,
                              const std::vector<FileFindings>& findings, OpenedFolder& source, bool recursive,
                              bool complete, bool dry_run = false);

// The window's message about the hints: per kind its name and count (what its hints list), then
// its hints, at most `most` of them in all, and how many more there are and the command that
// lists them all; options of the command line are named with the command. Lines joined by
// CR LF; empty when there is no hint.
std::string MissingFilesMessage(const std::vector<Hint>& hints, std::size_t most);

}  // namespace tavrin
