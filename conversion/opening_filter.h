#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavrin {

// Decides, for every byte of a text, whether an old text of the key table may start there,
// and finds the next place where the rewriting of a text has something to do. Nearly every
// byte of a project is plain text that goes out as it stands, so this scan is all the work
// most of a file needs.
class OpeningFilter {
 public:
  // How an old text begins: its first two bytes, each with or without regard to ASCII letter
  // case. A one-byte old text takes any second byte.
  struct Opening {
    std::string text;
    bool ignore_case = false;
  };
  explicit OpeningFilter(const std::vector<Opening>& openings);

  // True when an old text may start at `p`; `end` bounds the text, and a byte at `end` is
  // never read. When `p` is the last byte, its first byte alone decides (more text may follow).
  bool OpeningAt(const char* p, const char* end) const;

  // The first place in [p, end) where something is to do: an opening (OpeningAt), and a line
  // end byte that is not part of a CR LF pair within [p, end) (a CR as the last byte counts;
  // an LF at `p` counts, since the byte before it is not looked at). With `every_line_end`,
  // every CR and LF. `end` when there is none.
  const char* NextStop(const char* p, const char* end, bool every_line_end) const;

 private:
  static constexpr std::size_t kVectorFirstBytes = 4;  // first bytes the vector scan tracks

  std::bitset<256> first_;            // bytes that may begin an old text
  std::bitset<256 * 256> pair_;       // first and second byte pairs that may begin one
  std::array<char, kVectorFirstBytes> vector_first_{};  // unused places repeat the first
  bool vector_every_byte_ = false;    // more first bytes than tracked: every byte is looked at
};

}  // namespace tavrin
