#include "runtime/shown_text.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/support/platform_entries.h"

namespace tavrin {
namespace {

TEST(ShownTextTest, ControlsAndInvalidBytesBecomeEscapesAndTheRestStays) {
  const struct {
    std::string bytes;
    std::string shown;
  } cases[] = {
      {"Form1.frm", "Form1.frm"},
      {"Gr\xc3\xb6\xc3\x9f" "e \xe3\x83\x95\xe3\x82\xa9\xe3\x83\xbc\xe3\x83\xa0 \xd0\xa4", "Gr\xc3\xb6\xc3\x9f" "e \xe3\x83\x95\xe3\x82\xa9\xe3\x83\xbc\xe3\x83\xa0 \xd0\xa4"},
      {"a\nb\rc\td", "a\\nb\\rc\\td"},
      {"x\x1b[2J", "x\\x1B[2J"},
      {std::string("n\0l\x7f", 4), "n\\x00l\\x7F"},
      {"Gr\xfc\xdf" "e", "Gr\\xFC\\xDF" "e"},            // Windows-1252
      {"\x83\x74\x83\x48", "\\x83t\\x83H"},               // Shift-JIS
      {"\xc2\x9b" "31m", "\\xC2\\x9B" "31m"},             // C1 control (CSI)
      {"abc\xe2\x80\xae" "gpj.exe", "abc\\xE2\\x80\\xAE" "gpj.exe"},  // turns the text around
      {"\xc0\xaf", "\\xC0\\xAF"},                          // overlong "/"
      {"\xed\xa0\x80", "\\xED\\xA0\\x80"},                 // a surrogate
      {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},        // beyond U+10FFFF
      {"\xe3\x83", "\\xE3\\x83"},                          // cut short
      // A backslash and an n, not a line end; on Windows the backslash separates folders and
      // is no character of a name, so it stays as it is.
      {"a\\n", testing::kWindows ? "a\\n" : "a\\\\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShownText(c.bytes), c.shown) << c.shown;
}

TEST(ShownTextTest, DifferentNamesNeverLookAlike) {
  // Every pair of names from these pieces must stay apart once shown.
  // On Windows no name holds a backslash, so it is shown as it is and left out here.
  std::vector<std::string> pieces = {"\n", "\xfc", "\xc3\xbc", "\x1b", "a"};
  if (!testing::kWindows) pieces.insert(pieces.end(), {"\\n", "\\", "\\xFC", "\\x1B"});
  std::set<std::string> names;
  std::set<std::string> shown;
  for (const std::string& a : pieces) {
    for (const std::string& b : pieces) {
      if (names.insert(a + b).second) shown.insert(ShownText(a + b));
    }
  }
  EXPECT_EQ(shown.size(), names.size());
  for (const std::string& text : shown) EXPECT_EQ(text.find_first_of("\n\r\x1b"), std::string::npos) << text;
}

}  // namespace
}  // namespace tavrin
