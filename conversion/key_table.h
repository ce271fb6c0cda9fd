#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// The key table: entry i of OldKey is replaced by entry i of NewKey, for i = 1 to 14.
// It is built anew for every conversion request.
class KeyTable {
 public:
  static constexpr int kLower = 1;
  static constexpr int kUpper = 14;
  using Counts = std::array<std::uint64_t, kUpper + 1>;  // index 1..14 used

  // A fresh table with the fourteen rows, in index order.
  static KeyTable Build();

  std::string_view OldKey(int index) const { return old_key_[index]; }
  std::string_view NewKey(int index) const { return new_key_[index]; }

  // Applies the rows to `line`, index 1 to 14 in turn, each on the result of the rows before
  // it: every occurrence of the row's old text, left to right, exact letter case, is replaced
  // by its new text; text inserted by a row is not searched again by that row. An occurrence
  // that already stands inside that row's new text ("ComctlLib." within "MSComctlLib.") is
  // left alone, so a converted project is not damaged.
  // Returns false and leaves `*out` untouched when nothing was replaced; otherwise `*out`
  // holds the new line and `counts` (if given) gains the replacements per row.
  bool Apply(std::string_view line, std::string* out, Counts* counts = nullptr) const;

  // The distinct first two bytes of the old texts: a line without any of them cannot match.
  const std::vector<std::string>& openings() const { return openings_; }

 private:
  KeyTable() = default;
  // False when no old text can occur in `line`.
  bool MayMatch(std::string_view line) const;

  std::array<std::string, kUpper + 1> old_key_;
  std::array<std::string, kUpper + 1> new_key_;
  std::array<std::vector<std::size_t>, kUpper + 1> inside_new_;  // offsets of old text in new text
  std::vector<std::string> openings_;                            // first two bytes of the old texts
};

}  // namespace tavrin
