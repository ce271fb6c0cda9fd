#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// The key table: entry i of OldKey is replaced by entry i of NewKey, for i = 1 to 14 (to 25
// for the complete upgrade), each row on the result of the rows before it, every occurrence
// left to right; text a row inserts is not searched again by that row. Each row is a named
// rule with a German description and an example. The table is built anew for every request.
class KeyTable {
 public:
  static constexpr int kLower = 1;
  static constexpr int kUpper = 14;          // the rows of every conversion
  static constexpr int kCompleteUpper = 25;  // and those of the complete upgrade
  using Counts = std::array<std::uint64_t, kCompleteUpper + 1>;  // index 1..upper() used

  // How a row finds its old text.
  enum class Match {
    kExact,             // byte for byte, letter case counting
    kExactWithVersion,  // a bare class id; a version suffix "#hex.hex#hex" right behind it
                        // goes too, and the new id gets "#2.0#0"
    kAnyCase,           // ASCII letters in any case
  };

  struct Row {
    std::string_view name;         // short and stable, for reports ("comctl-prefix")
    std::string_view old_key;
    std::string_view new_key;
    Match match;
    std::string_view description;  // German, one line
    std::string_view example;      // a line before the row ...
    std::string_view example_after;  // ... and after it
  };

  // A fresh table: the fourteen rows, and with `complete` the eleven rows of the complete
  // upgrade (sub-object class ids, library file names in any letter case) after them.
  static KeyTable Build(bool complete = false);

  int upper() const { return upper_; }
  const Row& row(int index) const { return rows_[index]; }
  std::string_view OldKey(int index) const { return rows_[index].old_key; }
  std::string_view NewKey(int index) const { return rows_[index].new_key; }

  // Where OldKey(index) stands inside NewKey(index) ("ComctlLib." at 2 in "MSComctlLib."). An
  // occurrence that is such a piece of an already replaced text is left alone, so converting
  // a converted project changes nothing.
  const std::vector<std::size_t>& InsideNew(int index) const { return inside_new_[index]; }

  // The version every class id of the new libraries gets.
  static constexpr std::string_view kNewVersion = "#2.0#0";

 private:
  KeyTable() = default;

  int upper_ = kUpper;
  std::array<Row, kCompleteUpper + 1> rows_{};
  std::array<std::vector<std::size_t>, kCompleteUpper + 1> inside_new_;
};

}  // namespace tavrin
