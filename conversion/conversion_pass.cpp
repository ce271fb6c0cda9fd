#include "conversion/conversion_pass.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <string>

#include "conversion/folder_path.h"
#include "conversion/line_scanner.h"
#include "runtime/buffered_output.h"
#include "runtime/dialog_services.h"
#include "runtime/line_reader.h"

namespace tavrin {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::uint64_t kProgressStep = 64 * 1024;  // bytes between finer progress reports

// The line number as the progress text shows it; a file of more than 2^31 - 1 lines keeps
// showing the largest number instead of wrapping.
std::int32_t DisplayedLine(std::uint64_t line) {
  return static_cast<std::int32_t>(std::min<std::uint64_t>(line, std::numeric_limits<std::int32_t>::max()));
}

class Pass {
 public:
  Pass(ConversionHost& host, FileServices& files, const KeyTable& keys)
      : host_(host), files_(files), keys_(keys), scanner_(keys.openings()) {}

  PassReport Run(const std::filesystem::path& source, const std::filesystem::path& target);

 private:
  Status Rewrite(const std::filesystem::path& from, const std::filesystem::path& to);
  // Copies the lines of `input` into `output`, each through the key table and ended by CR LF.
  Status RewriteLines(InputFile& input, OutputFile& output, const std::filesystem::path& to);
  // Tells the host how far the file has been read, about every kProgressStep bytes.
  void ReportBytes(const LineReader& reader, std::uint64_t bytes_before, std::uint64_t* next_report);

  ConversionHost& host_;
  FileServices& files_;
  const KeyTable& keys_;
  const LineScanner scanner_;
  PassReport report_;
  PassProgress progress_;
};

PassReport Pass::Run(const std::filesystem::path& source, const std::filesystem::path& target) {
  host_.SetMousePointer(kPointerBusy);

  // The whole listing is taken before the first file, so listings that events start during
  // the pass cannot move it. The separator is doubled as in "C:\Projekt\\*.*"; it counts as one.
  const FolderListing listing = files_.List(Append(source, NativeString(1, kSeparator) + "*.*"));
  if (!listing.status.ok()) report_.failures.push_back({source, listing.status.reason()});

  progress_.files_total = listing.files.size();
  for (const ListedFile& file : listing.files) progress_.bytes_total += file.size;

  for (const ListedFile& file : listing.files) {
    const NativeString& name = file.name.native();
    host_.WriteInfo(name, 0);
    const std::filesystem::path from = Append(source, name);
    const std::filesystem::path to = Append(target, FileNameFromPath(name));
    const std::uint64_t bytes_before = progress_.bytes_done;
    progress_.current = file.name;
    host_.OnProgress(progress_);

    const bool text = IsProjectText(name);
    const Status status = text ? Rewrite(from, to) : files_.CopyToNew(from, to);
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
  progress_.current.clear();
  host_.OnProgress(progress_);

  host_.WriteInfo(report_.ok() ? kClosingText : kClosingTextWithFailures, 0);
  host_.Dir2_Change();
  host_.SetMousePointer(kPointerNormal);
  return std::move(report_);
}

Status Pass::Rewrite(const std::filesystem::path& from, const std::filesystem::path& to) {
  host_.DoEvents();

  std::unique_ptr<InputFile> input;
  Status status = files_.OpenInput(from, &input);
  if (!status.ok()) return status;
  std::unique_ptr<OutputFile> output;
  status = files_.CreateOutput(to, &output);
  if (!status.ok()) return status;  // the source is not read at all

  status = RewriteLines(*input, *output, to);
  if (!status.ok()) files_.RemoveFile(to);  // ours: it was created new above
  return status;
}

void Pass::ReportBytes(const LineReader& reader, std::uint64_t bytes_before, std::uint64_t* next_report) {
  if (reader.bytes_read() < *next_report) return;
  *next_report = reader.bytes_read() + kProgressStep;
  progress_.bytes_done = bytes_before + reader.bytes_read();
  host_.OnProgress(progress_);
}

Status Pass::RewriteLines(InputFile& input, OutputFile& output, const std::filesystem::path& to) {
  LineReader reader(input);
  BufferedOutput writer(output);
  const std::string& to_text = to.native();
  const std::uint64_t bytes_before = progress_.bytes_done;
  std::uint64_t next_report = kProgressStep;
  const bool line_captions = host_.ShowsLineCaptions();
  std::uint64_t line_number = 0;
  std::uint64_t changed_lines = 0;
  KeyTable::Counts replacements{};
  std::string changed;
  std::string_view lines;
  Status status;
  while (status.ok() && reader.NextLines(&lines)) {
    if (!line_captions && scanner_.Unchanging(lines.data(), lines.data() + lines.size())) {
      // Nothing to replace, every line ends in CR LF, and nobody counts the lines.
      status = writer.Append(lines);
      ReportBytes(reader, bytes_before, &next_report);
      continue;
    }
    const char* p = lines.data();
    const char* const end = p + lines.size();
    // Lines that keep their text and already end in CR LF go out as they stand, in one
    // piece with their neighbours; only the others are written line by line.
    const char* unchanged = p;
    while (p != end && status.ok()) {
      ++line_number;
      if (line_captions) host_.WriteInfo(to_text, DisplayedLine(line_number));
      const LineSpan span = scanner_.Scan(p, end);
      const char* next = span.end;
      bool crlf = false;
      if (span.end != end) {
        crlf = span.end[0] == '\r' && span.end + 1 != end && span.end[1] == '\n';
        next += crlf ? 2 : 1;
      }
      const std::string_view line(p, static_cast<std::size_t>(span.end - p));
      const bool rewritten = span.may_match && keys_.Apply(line, &changed, &replacements);
      if (!rewritten && crlf) {
        p = next;
        continue;
      }
      if (unchanged != p) status = writer.Append(std::string_view(unchanged, static_cast<std::size_t>(p - unchanged)));
      if (status.ok()) status = writer.Append(rewritten ? std::string_view(changed) : line);
      if (status.ok()) status = writer.Append(kLineEnd);
      changed_lines += rewritten ? 1 : 0;
      unchanged = p = next;
    }
    if (status.ok() && unchanged != end) {
      status = writer.Append(std::string_view(unchanged, static_cast<std::size_t>(end - unchanged)));
    }
    ReportBytes(reader, bytes_before, &next_report);
  }
  if (status.ok()) status = reader.status();
  const Status closed = writer.Close();
  if (status.ok()) status = closed;
  if (status.ok()) {  // a file that failed counts for nothing
    report_.lines_changed += changed_lines;
    for (int i = KeyTable::kLower; i <= KeyTable::kUpper; ++i) report_.replacements[i] += replacements[i];
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

PassReport FileConvert(ConversionHost& host, FileServices& files, const KeyTable& keys,
                       const std::filesystem::path& source, const std::filesystem::path& target) {
  return Pass(host, files, keys).Run(source, target);
}

}  // namespace tavrin
