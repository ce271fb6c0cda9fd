#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "conversion/line_splitter.h"
#include "runtime/text_sink.h"

namespace tavrin {

// A unified diff of one rewritten file, made while it is rewritten: the old text comes from
// Old(), the new text passes through on its way to `next`. Lines are paired by their number
// (rewriting keeps every line where it is), so only changed lines and three lines of context
// around them are shown. Line ends are not part of a line: a change of line ends alone shows
// no difference. Lines are shown escaped and cut after a few kilobytes.
class LineDiff : public TextSink {
 public:
  LineDiff(TextSink& next, std::string old_name, std::string new_name);

  Status Append(std::string_view bytes) override;
  void Old(std::string_view bytes);
  // The old line `number` has no new line: it was dropped on the way (numbers ascending).
  void Dropped(std::uint64_t number);
  // Both texts have ended; the diff, empty when no line differs.
  std::string Finish();

 private:
  struct Line {
    std::uint64_t number;
    std::string text;
    LineSplitter::Whole whole;
  };
  void Pair();
  void Context(Line line);
  void AddContext(const Line& line);
  void CloseHunk();
  void FlushChanges();

  static constexpr std::uint64_t kContext = 3;

  TextSink& next_;
  std::string header_;
  LineSplitter old_splitter_;
  LineSplitter new_splitter_;
  std::deque<Line> old_lines_;
  std::deque<Line> new_lines_;
  std::string diff_;
  // The hunk being built: its first line, its length, its text.
  bool in_hunk_ = false;
  std::uint64_t hunk_start_ = 0;
  std::uint64_t hunk_length_ = 0;
  std::string hunk_;
  std::string removed_;  // the changed lines not yet written, old and new
  std::string added_;
  std::deque<Line> before_;          // the last unchanged lines, for the context of the next hunk
  std::uint64_t unchanged_run_ = 0;  // unchanged lines since the last change
  std::deque<std::uint64_t> dropped_;  // old lines still to come that have no new line
  std::uint64_t dropped_before_ = 0;   // old lines dropped before the hunk being built
  std::uint64_t hunk_dropped_ = 0;     // and within it
};

}  // namespace tavrin
