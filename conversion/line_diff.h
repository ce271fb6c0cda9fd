#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>

#include "conversion/line_splitter.h"
#include "runtime/text_sink.h"

namespace tavrin {

// A unified diff of one rewritten file, made while it is rewritten: the old text comes from
// Old(), the new text passes through on its way to `next`. Lines are paired by their number
// (rewriting keeps every line where it is), so only changed lines and three lines of context
// around them are shown. Line ends are not part of a line: a change of line ends alone shows
// no difference. Lines are shown escaped. A line of more than kShownLine bytes is cut: an
// unchanged one after its first kShownLine bytes, a changed one around its first change (up to
// kShownLine / 2 bytes before it and from it on), so its change is always in sight; "…" marks
// each cut.
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
  static constexpr std::size_t kShownLine = 4096;

  // Reads the old and the new text in step, line by line, and keeps for each changed line the
  // bytes around its first difference. The new text is never more than one piece of rewriting
  // ahead of the old, so what waits to be compared stays small.
  class FirstDifference {
   public:
    struct View {
      std::string old_text;  // from up to kShownLine / 2 bytes before the first difference on
      std::string new_text;
      bool cut_before = false;  // bytes before the view were left out
      bool old_cut_after = false;
      bool new_cut_after = false;
    };
    void Old(std::string_view bytes);
    void New(std::string_view bytes);
    void Finish();
    // The view of a changed line, once both texts have passed its end; taken out.
    bool Take(std::uint64_t number, View* view);

   private:
    enum class Token { kNone, kByte, kEnd };
    struct Side {
      std::string pending;
      std::size_t offset = 0;
      bool after_cr = false;
      bool done = false;    // the end of the current line has been read
      bool ended = false;   // the whole text has ended
      bool open = false;    // the current line has bytes
      std::string after;    // bytes from the first difference on, up to kShownLine / 2
      bool cut_after = false;
      Token held = Token::kNone;  // read but not yet taken
      char held_byte = 0;
    };
    // The next byte or line end of a side, read ahead until it is consumed; kNone when the side
    // has nothing more yet or stands at the end of its line.
    static Token Next(Side& side, char* byte);
    static void Consume(Side& side);
    void Keep(std::string_view bytes);
    void Step();
    void EndLine();

    Side old_;
    Side new_;
    std::uint64_t number_ = 0;  // lines ended so far
    std::string before_;        // the last common bytes of the line, up to kShownLine / 2
    bool cut_before_ = false;
    bool differs_ = false;
    std::map<std::uint64_t, View> views_;
  };

  struct Line {
    std::uint64_t number;
    std::string text;
    LineSplitter::Whole whole;
  };
  static std::string ShownChange(const Line& line, const std::string* around, bool cut_before, bool cut_after);
  void Pair();
  void Context(Line line);
  void AddContext(const Line& line);
  void CloseHunk();
  void FlushChanges();

  static constexpr std::uint64_t kContext = 3;

  TextSink& next_;
  std::string header_;
  FirstDifference difference_;
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
