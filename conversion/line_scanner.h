#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

  // True when the text [begin, end) stays as it is: it holds no opening, and it is whole
  // lines that each end in CR LF. Such a run can be written out without looking at its lines.
  bool Unchanging(const char* begin, const char* end) const;

 private:
  static constexpr std::size_t kOpenings = 4;  // tracked openings; unused places repeat the first

  // True when an opening starts at `p` (`end` bounds the byte after it).
  bool OpeningAt(const char* p, const char* end) const;

  std::array<char, kOpenings> first_{};
  std::array<char, kOpenings> second_{};
  std::array<bool, kOpenings> single_{};  // an opening of one byte: any second byte will do
  bool all_lines_may_match_ = false;      // more openings than tracked, or an empty one
#if defined(__SSE2__)
  // Masks of the bytes that may start an opening, and of the openings themselves, sixteen
  // places at a time: `here` holds bytes p..p+15, `after` bytes p+1..p+16.
  unsigned FirstBytes(__m128i here) const;
  unsigned Openings(__m128i here, __m128i after) const;

  __m128i first_vector_[kOpenings];
  __m128i second_vector_[kOpenings];
  __m128i any_second_vector_[kOpenings];  // all ones for a one-byte opening
#endif
};

}  // namespace tavrin
