#include "conversion/conversion_pass.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <type_traits>

#include "conversion/folder_path.h"
#include "conversion/duplicate_references.h"
#include "conversion/folder_tree_walk.h"
#include "conversion/line_diff.h"
#include "conversion/result_checks.h"
#include "conversion/text_rewriter.h"
#include "runtime/buffered_output.h"
#include "runtime/dialog_services.h"
#include "runtime/letter_case.h"
#include "runtime/path_text.h"
#include "runtime/shown_text.h"

namespace tavrin {
namespace {

constexpr std::size_t kReadSize = 64 * 1024;
constexpr std::uint64_t kProgressStep = 64 * 1024;  // bytes between finer progress reports

// The line number as the progress text shows it; a file of more than 2^31 - 1 lines keeps
// showing the largest number instead of wrapping.
std::int32_t DisplayedLine(std::uint64_t line) {
  return static_cast<std::int32_t>(std::min<std::uint64_t>(line, std::numeric_limits<std::int32_t>::max()));
}

// One file of a folder at hand.
struct FileAt {
  OpenedFolder& source;
  OpenedFolder& target;
  const std::filesystem::path& name;      // in its folder
  const NativeString& relative;           // from the top source folder, as shown
};

class Pass {
 public:
  Pass(ConversionHost& host, const KeyTable& keys, const PassFolders& folders, const PassOptions& options)
      : host_(host),
        keys_(keys),
        folders_(folders),
        options_(options),
        filter_(TextRewriter::OpeningsOf(keys, &ResultWatch())) {}

  PassReport Run();

 private:
  // Counts the files and bytes of the whole tree, for the progress of a tree conversion.
  void SurveyTree();
  // Transfers the files of one folder, in the order of its listing.
  void TransferFiles(const NativeString& relative, OpenedFolder& source, OpenedFolder& target,
                     const FolderListing& listing);
  // What the rewriting of one file found, beyond its success.
  struct Rewritten {
    std::uint64_t lines_changed = 0;
    bool line_ends_changed = false;
    std::uint64_t lines_removed = 0;
    FileFindings findings;
    std::string diff;
  };
  // Records every file of a folder whose target folder could not be made as not transferred.
  void FailFiles(const NativeString& relative, const FolderListing& listing);
  // Transfers one file.
  Status Transfer(const FileAt& file, bool text, Rewritten* rewritten);
  Status TransferFile(const FileAt& file, bool text, Rewritten* rewritten);
  // Reads `input` in pieces through the rewriter into `output`.
  Status RewriteText(InputFile& input, OutputFile& output, const NativeString& relative, Rewritten* rewritten);
  // Tells the host how far the file has been read, about every kProgressStep bytes.
  void ReportBytes(std::uint64_t file_bytes, std::uint64_t bytes_before, std::uint64_t* next_report);

  ConversionHost& host_;
  const KeyTable& keys_;
  const PassFolders& folders_;
  const PassOptions options_;
  const OpeningFilter filter_;
  std::unique_ptr<char[]> buffer_;  // the read buffer, kept from file to file
  std::size_t buffer_size_ = 0;
  PassReport report_;
  PassProgress progress_;
  NativeString unmade_target_;  // the target folder that could not be made last
};

PassReport Pass::Run() {
  host_.SetMousePointer(kPointerBusy);
  report_.recursive = options_.recursive;
  report_.rows = keys_.upper();
  if (options_.recursive) SurveyTree();

  // Each folder's listing is taken before its first file, so nothing that events do during
  // the pass can move it; the target side follows the source folder for folder.
  const FolderTreeWalk walk({&folders_.source, &folders_.target}, "*.*", options_.recursive);
  walk.Run(
      [&](const NativeString& relative, const std::vector<OpenedFolder*>& open,
          const FolderListing& listing) {
        if (open[1] == nullptr) {
          FailFiles(relative, listing);
        } else {
          TransferFiles(relative, *open[0], *open[1], listing);
        }
        return !report_.stopped;
      },
      [&](const NativeString& relative, const Status& status, std::size_t side) {
        if (side == 0) {
          report_.folder_failures.push_back(
              {relative.empty() ? folders_.source_path : std::filesystem::path(relative), status.reason()});
          return;
        }
        // The folder is named by its path below the target; its files fail as the walk reaches them.
        unmade_target_ = relative;
        const std::string named = "Zielverzeichnis [" + PathText(relative) + "] kann nicht angelegt werden";
        report_.target_folder_failures.push_back(
            {relative, named + " (" +
                           (status.error_number() != 0 ? GermanErrorText(status.error_number()) : status.reason()) +
                           ")"});
      },
      [](std::size_t, OpenedFolder& parent, const std::filesystem::path& name, std::unique_ptr<OpenedFolder>* child) {
        // Every folder is made, also one without files. One that is there already will do if it
        // opens as a real folder: OpenFolder never follows a link, so neither a link nor a file
        // of that name is taken.
        const Status made = parent.MakeFolder(name);
        const Status opened = parent.OpenFolder(name, child);
        return opened.ok() || made.ok() ? opened : made;
      });
  progress_.current.clear();
  host_.OnProgress(progress_);

  host_.WriteInfo(report_.ok() ? kClosingText : kClosingTextWithFailures, 0);
  host_.Dir2_Change();
  host_.SetMousePointer(kPointerNormal);
  return std::move(report_);
}

void Pass::SurveyTree() {
  FolderTreeWalk survey({&folders_.source}, "*.*", /*recursive=*/true);
  survey.Avoid(folders_.target.id());  // as the conversion walk, which never enters the target
  survey.Run(
      [&](const NativeString&, const std::vector<OpenedFolder*>&, const FolderListing& listing) {
        progress_.files_total += listing.files.size() + listing.unexamined.size();
        for (const ListedFile& file : listing.files) progress_.bytes_total += file.size;
        return true;
      },
      [](const NativeString&, const Status&, std::size_t) {});  // the conversion walk reports it
}

void Pass::TransferFiles(const NativeString& relative, OpenedFolder& source, OpenedFolder& target,
                         const FolderListing& listing) {
  ++report_.folders;
  if (!options_.recursive) {
    progress_.files_total = listing.files.size() + listing.unexamined.size();
    for (const ListedFile& file : listing.files) progress_.bytes_total += file.size;
  }
  // Entries that could not be examined fail at once; the failures keep the listing's order.
  std::vector<FileFailure> failures;
  for (const UnexaminedEntry& entry : listing.unexamined) {
    failures.push_back({Join(relative, entry.name.native()), entry.status.reason()});
  }
  progress_.files_done += listing.unexamined.size();

  for (const ListedFile& listed : listing.files) {
    if (host_.StopRequested()) {
      report_.stopped = true;
      break;
    }
    const NativeString shown = Join(relative, listed.name.native());
    host_.WriteInfo(PathText(shown), 0);
    const std::uint64_t bytes_before = progress_.bytes_done;
    progress_.current = shown;
    host_.OnProgress(progress_);

    const bool text = IsProjectText(listed.name.native());
    Rewritten rewritten;
    const Status status = Transfer({source, target, listed.name, shown}, text, &rewritten);
    if (!status.ok() && host_.StopRequested()) {
      report_.stopped = true;  // dropped unfinished: neither transferred nor failed
      break;
    }
    if (!status.ok()) {
      failures.push_back({shown, status.reason()});
    } else {
      ++(text ? report_.files_rewritten : report_.files_copied);
      report_.transferred.push_back(
          {shown, text, rewritten.lines_changed, rewritten.line_ends_changed, rewritten.lines_removed});
      if (!rewritten.findings.empty()) report_.findings.push_back(std::move(rewritten.findings));
      host_.FileDone(report_.transferred.back(), rewritten.diff);
    }
    ++progress_.files_done;
    progress_.bytes_done = bytes_before + listed.size;
  }
  std::stable_sort(failures.begin(), failures.end(),
                   [](const FileFailure& a, const FileFailure& b) { return a.name.native() < b.name.native(); });
  report_.failures.insert(report_.failures.end(), failures.begin(), failures.end());
}

void Pass::FailFiles(const NativeString& relative, const FolderListing& listing) {
  const std::string reason = "Zielverzeichnis [" + PathText(unmade_target_) + "] konnte nicht angelegt werden";
  std::vector<FileFailure> failures;
  for (const UnexaminedEntry& entry : listing.unexamined) {
    failures.push_back({Join(relative, entry.name.native()), reason});
  }
  for (const ListedFile& file : listing.files) {
    failures.push_back({Join(relative, file.name.native()), reason});
    progress_.bytes_done += file.size;
  }
  progress_.files_done += failures.size();
  std::stable_sort(failures.begin(), failures.end(),
                   [](const FileFailure& a, const FileFailure& b) { return a.name.native() < b.name.native(); });
  report_.failures.insert(report_.failures.end(), failures.begin(), failures.end());
}

// A target file that is not closed successfully leaves nothing (OutputFile), so a failure
// needs no cleaning up; removing the name here could hit an entry someone else made.
Status Pass::Transfer(const FileAt& file, bool text, Rewritten* rewritten) {
  try {
    return TransferFile(file, text, rewritten);
  } catch (const std::bad_alloc&) {
    return Status::FromErrno(ENOMEM);  // this file's failure, not the program's end
  }
}

Status Pass::TransferFile(const FileAt& file, bool text, Rewritten* rewritten) {
  if (text) host_.DoEvents();
  std::unique_ptr<InputFile> input;
  Status status = file.source.OpenInput(file.name, &input);
  if (!status.ok()) return status;
  std::unique_ptr<OutputFile> output;
  status = file.target.CreateOutput(file.name, &output);
  if (!status.ok()) return status;  // the source is not read at all
  if (!text) {
    input->StopWhen([this] { return host_.StopRequested(); });
    status = input->CopyTo(*output);
    return status.ok() ? output->Close() : status;  // unclosed, it leaves nothing
  }
  return RewriteText(*input, *output, file.relative, rewritten);
}

void Pass::ReportBytes(std::uint64_t file_bytes, std::uint64_t bytes_before, std::uint64_t* next_report) {
  if (file_bytes < *next_report) return;
  *next_report = file_bytes + kProgressStep;
  progress_.bytes_done = bytes_before + file_bytes;
  host_.OnProgress(progress_);
}

Status Pass::RewriteText(InputFile& input, OutputFile& output, const NativeString& relative, Rewritten* rewritten) {
  // The text goes from the rewriter through the collector of findings, which numbers the lines
  // as they came in; then, with --complete in a project file, through the filter of duplicate
  // references; then, with differences shown, through the diff, which so shows a dropped line.
  BufferedOutput writer(output);
  const std::string to_text = PathText(folders_.target_path.native() + relative);
  std::optional<LineDiff> diff;
  if (options_.diff) {
    diff.emplace(writer, ShownText(PathText(folders_.source_path.native() + relative)), ShownText(to_text));
  }
  TextSink& after_filter = diff ? static_cast<TextSink&>(*diff) : writer;
  FindingsCollector* collector = nullptr;
  std::optional<DuplicateReferenceFilter> duplicates;
  if (options_.drop_duplicate_references && IsProjectFileName(relative)) {
    duplicates.emplace(after_filter, [&diff, &collector](std::uint64_t line) {
      if (diff) diff->Dropped(line);
      collector->Removed(line);
    });
  }
  FindingsCollector findings(duplicates ? static_cast<TextSink&>(*duplicates) : after_filter, relative);
  collector = &findings;
  RewriterObservers observers;
  if (host_.ShowsLineCaptions()) {
    observers.line_start = [this, &to_text](std::uint64_t line) { host_.WriteInfo(to_text, DisplayedLine(line)); };
  }
  observers.watched = &ResultWatch();
  observers.found = [&findings](int kind, std::uint64_t line, std::string_view text) {
    findings.Found(kind, line, text);
  };
  TextRewriter rewriter(keys_, filter_, findings, std::move(observers));
  if (buffer_ == nullptr) {
    buffer_size_ = kReadSize + rewriter.most_untaken();
    buffer_ = std::make_unique_for_overwrite<char[]>(buffer_size_);
  }
  const std::uint64_t bytes_before = progress_.bytes_done;
  std::uint64_t next_report = kProgressStep;
  std::uint64_t file_bytes = 0;
  std::size_t kept = 0;  // bytes at the buffer's start that the rewriter has yet to take
  Status status;
  for (;;) {
    if (host_.StopRequested()) {
      status = Status::FromErrno(ECANCELED);
      break;
    }
    std::size_t got = 0;
    status = input.Read(buffer_.get() + kept, buffer_size_ - kept, &got);
    if (!status.ok()) break;
    file_bytes += got;
    const bool final = got == 0;
    const std::size_t size = kept + got;
    const std::size_t taken = rewriter.Rewrite(buffer_.get(), size, final);
    if (diff) diff->Old(std::string_view(buffer_.get(), taken));
    status = rewriter.status();
    if (!status.ok() || final) break;
    kept = size - taken;
    std::memmove(buffer_.get(), buffer_.get() + taken, kept);
    ReportBytes(file_bytes, bytes_before, &next_report);
  }
  if (status.ok() && duplicates) status = duplicates->Finish();
  if (status.ok()) status = writer.Close();  // unclosed, a failed file leaves nothing
  if (status.ok()) {  // a file that failed counts for nothing
    rewritten->lines_removed = duplicates ? duplicates->dropped() : 0;
    report_.lines_removed += rewritten->lines_removed;
    rewritten->lines_changed = rewriter.lines_changed();
    rewritten->line_ends_changed = rewriter.line_ends_changed();
    rewritten->findings = findings.Finish();
    if (diff) rewritten->diff = diff->Finish();
    report_.lines_changed += rewriter.lines_changed();
    for (int i = KeyTable::kLower; i <= keys_.upper(); ++i) {
      report_.replacements[static_cast<std::size_t>(i)] += rewriter.replacements()[static_cast<std::size_t>(i)];
    }
  }
  return status;
}

}  // namespace

bool IsProjectText(const NativeString& name) {
  std::string suffix;
  for (auto c : GetSuffix(name)) {
    // A wide character outside ASCII must not pass for the letter its low byte would be.
    if (static_cast<std::make_unsigned_t<decltype(c)>>(c) > 0x7F) return false;
    suffix.push_back(AsciiLower(static_cast<char>(c)));
  }
  // Word for word: a piece of the list ("", "c", "bp", "frm cls") is no suffix of it.
  for (std::size_t start = 0; start < kSuffixList.size();) {
    const std::size_t blank = std::min(kSuffixList.find(' ', start), kSuffixList.size());
    if (kSuffixList.substr(start, blank - start) == suffix) return true;
    start = blank + 1;
  }
  return false;
}

PassReport FileConvert(ConversionHost& host, const KeyTable& keys, const PassFolders& folders,
                       const PassOptions& options) {
  return Pass(host, keys, folders, options).Run();
}

}  // namespace tavrin
