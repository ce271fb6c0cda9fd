#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// An ASCII letter in the other case; every other byte as it is.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// A name in one letter case, so that two spellings Windows takes for the same name compare
// equal: the capitals of ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and the full-width
// Latin letters become small. Other characters, and bytes that are no valid UTF-8, stay as
// they are.
std::string FoldLetterCase(std::string_view utf8);

}  // namespace tavrin
