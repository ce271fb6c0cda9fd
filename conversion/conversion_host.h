#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "conversion/result_checks.h"

namespace tavrin {

// How far a pass has come; given to the host after each file and while large files are read.
struct PassProgress {
  std::uint64_t files_total = 0;
  std::uint64_t files_done = 0;
  std::uint64_t bytes_total = 0;
  std::uint64_t bytes_done = 0;
  // Path of the file being handled, below the top folder; empty at the end. A string, not a
  // path: a path object splits itself into its components, and paths in deep trees are long.
  std::filesystem::path::string_type current;
};

// What the conversion request and the pass need from the outside. The window and the
// command-line tool implement it.
class ConversionHost {
 public:
  virtual ~ConversionHost() = default;

  // The source and target folder paths, asked afresh each time (each ends in a separator).
  virtual std::filesystem::path QuellPfad() = 0;
  virtual std::filesystem::path ZielPfad() = 0;

  // A progress text: `wert` 0 means no number.
  virtual void WriteInfo(std::string_view text, std::int32_t wert) = 0;

  // False when the host shows no line captions (WriteInfo with a line number); the pass then
  // spares the call before every line.
  virtual bool ShowsLineCaptions() const { return true; }

  // Lets pending events run (once per text file, before it is opened).
  virtual void DoEvents() = 0;

  // kPointerBusy for the whole pass, kPointerNormal after it.
  virtual void SetMousePointer(int pointer) = 0;

  // Refreshes the display of the target folder's state after the pass.
  virtual void Dir2_Change() = 0;

  // Shows a modal message box (CR LF breaks lines) and returns the answer.
  virtual int MessageBox(std::string_view text, int style, std::string_view title) = 0;

  // Optional finer progress (files and bytes); nothing by default.
  virtual void OnProgress(const PassProgress& /*progress*/) {}

  // True once the pass is asked to stop (the command line's signals); it then ends at the next
  // piece of the file at hand, drops that file unfinished and transfers no further one.
  virtual bool StopRequested() const { return false; }

  // A file has been transferred; `diff` is its unified diff when the pass was asked for one and
  // lines changed. Nothing by default.
  virtual void FileDone(const TransferredFile& /*file*/, std::string_view /*diff*/) {}
};

}  // namespace tavrin
