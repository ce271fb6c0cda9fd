#include "conversion/conversion_pass.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>

#include "conversion/folder_path.h"
#include "conversion/text_rewriter.h"
#include "runtime/buffered_output.h"
#include "runtime/dialog_services.h"

namespace tavrin {
namespace {

constexpr std::size_t kReadSize = 64 * 1024;
constexpr std::uint64_t kProgressStep = 64 * 1024;  // bytes between finer progress reports

// The line number as the progress text shows it; a file of more than 2^31 - 1 lines keeps
// showing the largest number instead of wrapping.
std::int32_t DisplayedLine(std::uint64_t line) {
  return static_cast<std::int32_t>(std::min<std::uint64_t>(line, std::numeric_limits<std::int32_t>::max()));
}

class Pass {
 public:
  Pass(ConversionHost& host, const KeyTable& keys, const PassFolders& folders)
      : host_(host), keys_(keys), folders_(folders), filter_(TextRewriter::OpeningsOf(keys)) {}

  PassReport Run();

 private:
  // Transfers one file; on failure removes what it created of the target.
  Status Transfer(const std::filesystem::path& name, bool text);
  Status TransferFile(const std::filesystem::path& name, bool text, bool* created);
  // Reads `input` in pieces through the rewriter into `output`.
  Status RewriteText(InputFile& input, OutputFile& output, const std::filesystem::path& name);
  // Tells the host how far the file has been read, about every kProgressStep bytes.
  void ReportBytes(std::uint64_t file_bytes, std::uint64_t bytes_before, std::uint64_t* next_report);

  ConversionHost& host_;
  const KeyTable& keys_;
  const PassFolders& folders_;
  const OpeningFilter filter_;
  std::unique_ptr<char[]> buffer_;  // the read buffer, kept from file to file
  std::size_t buffer_size_ = 0;
  PassReport report_;
  PassProgress progress_;
};

PassReport Pass::Run() {
  host_.SetMousePointer(kPointerBusy);

  // The whole listing is taken before the first file, so nothing that events do during the
  // pass can move it.
  FolderListing listing;
  try {
    listing = folders_.source.List("*.*");
  } catch (const std::bad_alloc&) {
    listing.status = Status::FromErrno(ENOMEM);
  }
  if (!listing.status.ok()) report_.folder_failures.push_back({folders_.source_path, listing.status.reason()});

  progress_.files_total = listing.files.size() + listing.unexamined.size();
  for (const ListedFile& file : listing.files) progress_.bytes_total += file.size;
  for (const UnexaminedEntry& entry : listing.unexamined) report_.failures.push_back({entry.name, entry.status.reason()});
  progress_.files_done = listing.unexamined.size();

  for (const ListedFile& file : listing.files) {
    const NativeString& name = file.name.native();
    host_.WriteInfo(name, 0);
    const std::uint64_t bytes_before = progress_.bytes_done;
    progress_.current = file.name;
    host_.OnProgress(progress_);

    const bool text = IsProjectText(name);
    const Status status = Transfer(file.name, text);
    if (!status.ok()) {
      report_.failures.push_back({file.name, status.reason()});
    } else if (text) {
      ++report_.files_rewritten;
    } else {
      ++report_.files_copied;
    }
    ++progress_.files_done;
    progress_.bytes_done = bytes_before + file.size;
  }
  // The unexamined entries were counted first; the report keeps the listing's byte order.
  std::stable_sort(report_.failures.begin(), report_.failures.end(),
                   [](const FileFailure& a, const FileFailure& b) { return a.name.native() < b.name.native(); });
  progress_.current.clear();
  host_.OnProgress(progress_);

  host_.WriteInfo(report_.ok() ? kClosingText : kClosingTextWithFailures, 0);
  host_.Dir2_Change();
  host_.SetMousePointer(kPointerNormal);
  return std::move(report_);
}

Status Pass::Transfer(const std::filesystem::path& name, bool text) {
  bool created = false;
  Status status;
  try {
    status = TransferFile(name, text, &created);
  } catch (const std::bad_alloc&) {
    status = Status::FromErrno(ENOMEM);  // this file's failure, not the program's end
  }
  if (!status.ok() && created) folders_.target.RemoveFile(name);  // ours: it was created new
  return status;
}

Status Pass::TransferFile(const std::filesystem::path& name, bool text, bool* created) {
  if (text) host_.DoEvents();
  std::unique_ptr<InputFile> input;
  Status status = folders_.source.OpenInput(name, &input);
  if (!status.ok()) return status;
  std::unique_ptr<OutputFile> output;
  status = folders_.target.CreateOutput(name, &output);
  if (!status.ok()) return status;  // the source is not read at all
  *created = true;
  if (!text) {
    status = input->CopyTo(*output);
    const Status closed = output->Close();
    return status.ok() ? closed : status;
  }
  return RewriteText(*input, *output, name);
}

void Pass::ReportBytes(std::uint64_t file_bytes, std::uint64_t bytes_before, std::uint64_t* next_report) {
  if (file_bytes < *next_report) return;
  *next_report = file_bytes + kProgressStep;
  progress_.bytes_done = bytes_before + file_bytes;
  host_.OnProgress(progress_);
}

Status Pass::RewriteText(InputFile& input, OutputFile& output, const std::filesystem::path& name) {
  BufferedOutput writer(output);
  const std::string to_text = Append(folders_.target_path, FileNameFromPath(name.native())).native();
  TextRewriter::LineStart line_start;
  if (host_.ShowsLineCaptions()) {
    line_start = [this, &to_text](std::uint64_t line) { host_.WriteInfo(to_text, DisplayedLine(line)); };
  }
  TextRewriter rewriter(keys_, filter_, writer, std::move(line_start));
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
    std::size_t got = 0;
    status = input.Read(buffer_.get() + kept, buffer_size_ - kept, &got);
    if (!status.ok()) break;
    file_bytes += got;
    const bool final = got == 0;
    const std::size_t size = kept + got;
    const std::size_t taken = rewriter.Rewrite(buffer_.get(), size, final);
    status = rewriter.status();
    if (!status.ok() || final) break;
    kept = size - taken;
    std::memmove(buffer_.get(), buffer_.get() + taken, kept);
    ReportBytes(file_bytes, bytes_before, &next_report);
  }
  const Status closed = writer.Close();
  if (status.ok()) status = closed;
  if (status.ok()) {  // a file that failed counts for nothing
    report_.lines_changed += rewriter.lines_changed();
    for (int i = KeyTable::kLower; i <= KeyTable::kUpper; ++i) {
      report_.replacements[static_cast<std::size_t>(i)] += rewriter.replacements()[static_cast<std::size_t>(i)];
    }
  }
  return status;
}

}  // namespace

bool IsProjectText(const NativeString& name) {
  std::string suffix;
  for (auto c : GetSuffix(name)) {
    suffix.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c));
  }
  return kSuffixList.find(suffix) != std::string_view::npos;  // the empty suffix is found too
}

PassReport FileConvert(ConversionHost& host, const KeyTable& keys, const PassFolders& folders) {
  return Pass(host, keys, folders).Run();
}

}  // namespace tavrin
