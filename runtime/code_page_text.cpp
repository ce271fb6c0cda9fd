#include "runtime/code_page_text.h"

#ifdef _WIN32
#include <windows.h>

#include "runtime/utf16.h"
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace tavrin {

#ifdef _WIN32

std::optional<std::string> Utf8FromCodePage(std::string_view bytes, CodePage page) {
  if (bytes.empty()) return std::string();
  const unsigned number = static_cast<unsigned>(page);
  const int size = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (units <= 0) return std::nullopt;
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  if (MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, bytes.data(), size, reinterpret_cast<wchar_t*>(wide.data()),
                          units) != units) {
    return std::nullopt;
  }
  return Utf8FromUtf16(wide);
}

#else

namespace {

// The iconv names of the pages, as GNU libc spells them.
const char* IconvName(CodePage page) {
  switch (page) {
    case CodePage::kWestern:
      return "CP1252";
    case CodePage::kCyrillic:
      return "CP1251";
    case CodePage::kJapanese:
      return "CP932";
  }
  return "";
}

}  // namespace

std::optional<std::string> Utf8FromCodePage(std::string_view bytes, CodePage page) {
  const iconv_t converter = iconv_open("UTF-8", IconvName(page));
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  char* in = const_cast<char*>(bytes.data());  // iconv's interface; the bytes are only read
  std::size_t in_left = bytes.size();
  bool whole = true;
  while (in_left > 0) {
    char buffer[256];
    char* next = buffer;
    std::size_t space = sizeof buffer;
    const std::size_t done = iconv(converter, &in, &in_left, &next, &space);
    out.append(buffer, static_cast<std::size_t>(next - buffer));
    if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
      whole = false;  // EILSEQ or EINVAL: a byte the page lacks, a character cut short
      break;
    }
  }
  iconv_close(converter);
  if (!whole) return std::nullopt;
  return out;
}

#endif

}  // namespace tavrin
