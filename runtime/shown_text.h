#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Bytes (a name, a path, a message naming one) as they may be shown to a person: control
// characters (C0, DEL, C1, line separators and the marks that turn the direction of text)
// and bytes that are not valid UTF-8 are written as escapes ("\n", "\r", "\t", "\x1b", "\xFC"),
// and on systems where it is an ordinary name byte, the backslash as "\\". So one name is always
// one line, never drives a terminal, and two different names never look alike.
std::string ShownText(std::string_view bytes);

// As ShownText, but a backslash stays as it is: for lines of project files and messages that
// quote them, where backslashes separate the folders of Windows paths.
std::string ShownLine(std::string_view bytes);

// The length of the valid UTF-8 sequence at the start of `bytes` (1 to 4), or 0 when it is
// not valid (an overlong form, a surrogate, beyond U+10FFFF, cut short, a stray byte).
std::size_t Utf8SequenceLength(std::string_view bytes);

// How many characters a shown text has (the columns it takes on a terminal): its bytes that
// are not UTF-8 continuation bytes.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace tavrin
