#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// UTF-16 text (names on Windows) as UTF-8 and back. The conversion is exact for every name
// Windows allows, also one with a lone surrogate: such a unit keeps its value as three bytes
// of the generalized form (ED A0 80 to ED BF BF), which is no valid UTF-8, so ShownText shows
// it escaped and two different names never look alike.
std::string Utf8FromUtf16(std::u16string_view text);

// Appends the code point `c` in UTF-8 (surrogates included, as Utf8FromUtf16 keeps them).
void AppendUtf8(std::string& out, char32_t c);

// The length of `bytes` without a sequence cut short at its end (whose remaining bytes may
// still come), so that text handed on in pieces is never split inside a character.
std::size_t WholeUtf8Prefix(std::string_view bytes);

// The inverse of Utf8FromUtf16. A byte that starts no sequence of it stands for U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

}  // namespace tavrin
