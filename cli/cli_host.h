#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/progress_bar.h"
#include "conversion/conversion_host.h"

namespace tavrin::cli {

// The conversion host of the command-line tool: two fixed folders, message boxes printed to
// the error stream, progress on the bar. Everything the window would show per line or per
// event costs nothing here.
class CliHost : public ConversionHost {
 public:
  // `source` and `target` are absolute, normalized folders without a trailing separator.
  CliHost(std::filesystem::path source, std::filesystem::path target, std::ostream& err, ProgressBar& bar);

  std::filesystem::path QuellPfad() override;
  std::filesystem::path ZielPfad() override;
  void WriteInfo(std::string_view text, std::int32_t wert) override;
  bool ShowsLineCaptions() const override { return false; }
  void DoEvents() override;
  void SetMousePointer(int pointer) override;
  void Dir2_Change() override;
  // Clears the progress line and prints "title: text" (CR LF becoming line breaks); answers OK.
  int MessageBox(std::string_view text, int style, std::string_view title) override;
  void OnProgress(const PassProgress& progress) override;
  // In a dry run, what each file would become, and its differences, go to the listing.
  void FileDone(const TransferredFile& file, std::string_view diff) override;
  // True once `stop_signal` (see StopOn) holds a signal.
  bool StopRequested() const override;

  // Where FileDone writes (nothing by default); with `line_end_notes`, a file whose line ends
  // change gets a note of its own.
  void ListFilesTo(std::ostream* listing, bool line_end_notes) {
    listing_ = listing;
    line_end_notes_ = line_end_notes;
  }
  // The flag a signal handler sets; none by default.
  void StopOn(const std::atomic<int>* stop_signal) { stop_signal_ = stop_signal; }
  // The number of files of the pass, as its progress last told it.
  std::uint64_t files_total() const { return files_total_; }

 private:
  std::filesystem::path source_;
  std::filesystem::path target_;
  std::ostream& err_;
  ProgressBar& bar_;
  std::ostream* listing_ = nullptr;
  bool line_end_notes_ = false;
  const std::atomic<int>* stop_signal_ = nullptr;
  std::uint64_t files_total_ = 0;
};

}  // namespace tavrin::cli
