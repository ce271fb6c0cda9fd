#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// The Windows code pages Visual Basic 5 projects are written in: the names in a project file
// are bytes of the code page of the machine that saved it, not UTF-8.
enum class CodePage : unsigned { kWestern = 1252, kCyrillic = 1251, kJapanese = 932 };
inline constexpr CodePage kProjectCodePages[] = {CodePage::kWestern, CodePage::kCyrillic, CodePage::kJapanese};

// `bytes` read as text of `page`, as UTF-8. Nothing when they are no text of that page (a byte
// it does not define, a character cut short) or the system cannot read that page.
std::optional<std::string> Utf8FromCodePage(std::string_view bytes, CodePage page);

}  // namespace tavrin
