#include "runtime/shown_text.h"

namespace tavrin {
namespace {

#if defined(_WIN32)
constexpr bool kEscapeBackslash = false;  // the separator of paths
#else
constexpr bool kEscapeBackslash = true;
#endif

unsigned char Byte(std::string_view bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

// The code point of a valid sequence of `length` bytes.
char32_t Decode(std::string_view bytes, std::size_t length) {
  if (length == 1) return Byte(bytes, 0);
  char32_t value = Byte(bytes, 0) & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) value = (value << 6) | (Byte(bytes, i) & 0x3Fu);
  return value;
}

bool IsControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F || (c >= 0x2028 && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

void AppendHex(std::string& out, unsigned char byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0xF];
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view bytes) {
  if (bytes.empty()) return 0;
  const unsigned char lead = Byte(bytes, 0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;  // bounds of the second byte, which rule out overlong forms,
  unsigned char high = 0xBF; // surrogates and code points beyond U+10FFFF
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  if (Byte(bytes, 1) < low || Byte(bytes, 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if ((Byte(bytes, i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

namespace {

std::string Shown(std::string_view bytes, bool escape_backslash) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes.substr(i));
    if (length == 0) {
      AppendHex(out, Byte(bytes, i));
      ++i;
      continue;
    }
    const char32_t c = Decode(bytes.substr(i, length), length);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\' && escape_backslash) {
      out += "\\\\";
    } else if (IsControl(c)) {
      for (std::size_t k = 0; k < length; ++k) AppendHex(out, Byte(bytes, i + k));
    } else {
      out.append(bytes.substr(i, length));
    }
    i += length;
  }
  return out;
}

}  // namespace

std::string ShownText(std::string_view bytes) { return Shown(bytes, kEscapeBackslash); }

std::string ShownLine(std::string_view bytes) { return Shown(bytes, false); }

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

}  // namespace tavrin
