#include "runtime/letter_case.h"

#include "runtime/utf16.h"

namespace tavrin {
namespace {

char32_t Small(char32_t c) {
  if (c < 0x80) return static_cast<unsigned char>(AsciiLower(static_cast<char>(c)));
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;  // Latin-1, but for the multiplication sign
  if (c >= 0x100 && c <= 0x137) return c | 1;      // Latin Extended-A: pairs, capital even
  if (c >= 0x139 && c <= 0x148) return c % 2 == 1 ? c + 1 : c;  // capital odd
  if (c >= 0x14A && c <= 0x177) return c | 1;
  if (c == 0x178) return 0xFF;
  if (c >= 0x179 && c <= 0x17E) return c % 2 == 1 ? c + 1 : c;
  if (c == 0x386) return 0x3AC;  // Greek with tonos
  if (c >= 0x388 && c <= 0x38A) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 0x3F;
  if (c >= 0x391 && c <= 0x3AB) return c == 0x3A2 ? c : c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;  // Cyrillic
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;  // full-width Latin
  return c;
}

bool Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string FoldLetterCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(utf8[at]); };
    const unsigned char lead = byte(i);
    // Every letter folded is below U+10000: two- and three-byte sequences, the shortest form.
    if (lead >= 0xC2 && lead <= 0xDF && i + 1 < utf8.size() && Continuation(byte(i + 1))) {
      AppendUtf8(out, Small(static_cast<char32_t>(((lead & 0x1F) << 6) | (byte(i + 1) & 0x3F))));
      i += 2;
    } else if (lead == 0xEF && i + 2 < utf8.size() && byte(i + 1) == 0xBC && Continuation(byte(i + 2))) {
      AppendUtf8(out, Small(static_cast<char32_t>(0xFF00 | ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F))));
      i += 3;
    } else {
      out += static_cast<char>(lead < 0x80 ? Small(lead) : lead);
      i += 1;
    }
  }
  return out;
}

}  // namespace tavrin
