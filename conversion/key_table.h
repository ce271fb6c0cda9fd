#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// The key table: entry i of OldKey is replaced by entry i of NewKey, for i = 1 to 14, each row
// on the result of the rows before it, every occurrence left to right with exact letter case;
// text a row inserts is not searched again by that row. It is built anew for every request.
class KeyTable {
 public:
  static constexpr int kLower = 1;
  static constexpr int kUpper = 14;
  using Counts = std::array<std::uint64_t, kUpper + 1>;  // index 1..14 used

  // A fresh table with the fourteen rows, in index order.
  static KeyTable Build();

  std::string_view OldKey(int index) const { return old_key_[index]; }
  std::string_view NewKey(int index) const { return new_key_[index]; }

  // Where OldKey(index) stands inside NewKey(index) ("ComctlLib." at 2 in "MSComctlLib."). An
  // occurrence that is such a piece of an already replaced text is left alone, so converting
  // a converted project changes nothing.
  const std::vector<std::size_t>& InsideNew(int index) const { return inside_new_[index]; }

 private:
  KeyTable() = default;

  std::array<std::string, kUpper + 1> old_key_;
  std::array<std::string, kUpper + 1> new_key_;
  std::array<std::vector<std::size_t>, kUpper + 1> inside_new_;
};

}  // namespace tavrin
