#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace tavrin {

// Where a line ends, and whether it may hold an old text of the key table.
struct LineSpan {
  const char* end;  // the line's first CR or LF, or the end of the text
  bool may_match;   // false: no opening of an old text occurs before `end`
};

// Finds line ends and, in the same pass, the two-byte openings with which the old texts of the
// key table begin. Nearly every line of a project holds none of them and can be written out
// as it stands, so this scan is all the work most lines need.
class LineScanner {
 public:
  // `openings`: the first two bytes of every old text (shorter texts: their first byte).
  explicit LineScanner(const std::vector<std::string>& openings);

  // Scans the line that starts at `begin`; `end` is the end of the text.
  LineSpan Scan(const char* begin, const char* end) const;

 private:
  static constexpr std::size_t kMostOpenings = 8;
  std::size_t count_ = 0;
  std::array<char, kMostOpenings> first_{};
  std::array<char, kMostOpenings> second_{};
  std::array<bool, kMostOpenings> single_{};  // an opening of one byte
  bool all_lines_may_match_ = false;          // more openings than the scanner can track
};

}  // namespace tavrin
