#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// A name in one letter case, so that two spellings Windows takes for the same name compare
// equal: the capitals of ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic and the full-width
// Latin letters become small. Other characters, and bytes that are no valid UTF-8, stay as
// they are.
std::string FoldLetterCase(std::string_view utf8);

}  // namespace tavrin
