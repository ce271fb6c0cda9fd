#include "window/presenter/folder_name_order.h"

#include <string_view>
#include <type_traits>

namespace tavrin {
namespace {

using Name = std::basic_string_view<std::filesystem::path::value_type>;

bool IsDigit(unsigned long c) { return c >= '0' && c <= '9'; }

unsigned long Folded(unsigned long c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// The code unit at `i`, as an unsigned value (bytes above 0x7f sort after ASCII).
unsigned long At(Name name, size_t i) {
  return static_cast<unsigned long>(static_cast<std::make_unsigned_t<Name::value_type>>(name[i]));
}

// Compares the digit runs starting at `i` in `a` and `j` in `b` by value and moves both past
// their run. Returns <0, 0 or >0.
int CompareNumbers(Name a, size_t& i, Name b, size_t& j) {
  while (i < a.size() && At(a, i) == '0') ++i;
  while (j < b.size() && At(b, j) == '0') ++j;
  const size_t a_start = i;
  const size_t b_start = j;
  while (i < a.size() && IsDigit(At(a, i))) ++i;
  while (j < b.size() && IsDigit(At(b, j))) ++j;
  const size_t a_length = i - a_start;
  const size_t b_length = j - b_start;
  if (a_length != b_length) return a_length < b_length ? -1 : 1;
  return a.substr(a_start, a_length).compare(b.substr(b_start, b_length));
}

int CompareNatural(Name a, Name b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(At(a, i)) && IsDigit(At(b, j))) {
      if (const int numbers = CompareNumbers(a, i, b, j); numbers != 0) return numbers;
      continue;
    }
    const unsigned long x = Folded(At(a, i));
    const unsigned long y = Folded(At(b, j));
    if (x != y) return x < y ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace

bool FolderNameLess(const std::filesystem::path& a, const std::filesystem::path& b) {
  const Name x = a.native();
  const Name y = b.native();
  if (const int natural = CompareNatural(x, y); natural != 0) return natural < 0;
  return x < y;
}

}  // namespace tavrin
