// Names and folder paths as this system spells them: UTF-16 and UTF-8, separators, roots and
// drive letters, and when two folder paths name the same folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/file_services.h"
#include "runtime/listing_pattern.h"
#include "runtime/path_text.h"
#include "runtime/utf16.h"
#include "tests/support/platform_entries.h"

namespace tavrin {
namespace {

using testing::kNamesIgnoreCase;
using testing::kWindows;

TEST(Utf16Test, ConvertsExactlyBothWays) {
  const struct {
    std::u16string utf16;
    std::string utf8;
  } cases[] = {
      {u"", ""},
      {u"Form1.frm", "Form1.frm"},
      {u"Gr\u00f6\u00dfe", "Gr\xc3\xb6\xc3\x9f" "e"},
      {u"\u65e5\u672c\u8a9e", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e"},
      {u"\U0001D11E", "\xf0\x9d\x84\x9e"},  // a surrogate pair
      {u"\uffff\u0800\u07ff\u0080\u007f", "\xef\xbf\xbf\xe0\xa0\x80\xdf\xbf\xc2\x80\x7f"},
      // Lone surrogates, which Windows allows in names, keep their values.
      {std::u16string(1, char16_t{0xD800}) + u"x", "\xed\xa0\x80x"},
      {u"x" + std::u16string(1, char16_t{0xDFFF}), "x\xed\xbf\xbf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8FromUtf16(c.utf16), c.utf8);
    EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16);
  }
}

TEST(Utf16Test, BytesThatAreNoUtf8BecomeReplacementCharacters) {
  const struct {
    std::string utf8;
    std::u16string utf16;
  } cases[] = {
      {"\xe4rger", u"\ufffdrger"},            // Windows-1252
      {"\xc0\xaf", u"\ufffd\ufffd"},          // overlong
      {"\xf4\x90\x80\x80", u"\ufffd\ufffd\ufffd\ufffd"},  // beyond U+10FFFF
      {"a\xe6\x97", u"a\ufffd\ufffd"},        // cut short
  };
  for (const auto& c : cases) EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16) << c.utf8;
}

TEST(Utf16Test, WholeUtf8PrefixNeverEndsInsideACharacter) {
  const std::string text = "a\xc3\xa4\xe6\x97\xa5\xf0\x9d\x84\x9e";  // 1, 2, 3 and 4 bytes
  const std::size_t whole[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10};
  for (std::size_t length = 0; length <= text.size(); ++length) {
    EXPECT_EQ(WholeUtf8Prefix(text.substr(0, length)), whole[length]) << length;
  }
  EXPECT_EQ(WholeUtf8Prefix("x\x80"), 2u) << "a stray byte is not waited for";
}

TEST(PathTextTest, NamesComeBackAsTheyWent) {
  for (const std::string name : {"Form1.frm", "Gr\xc3\xb6\xc3\x9f" "e.frm", "\xe6\x97\xa5.bas", "\xf0\x9d\x84\x9e"}) {
    EXPECT_EQ(PathText(PathFromText(name)), name);
  }
  if (kWindows) {
    EXPECT_EQ(PathFromText("Gr\xc3\xb6\xc3\x9f" "e").native().size(), 5u) << "one UTF-16 unit per letter";
  } else {
    EXPECT_EQ(PathText(PathFromText("Gr\xf6\xdf" "e")), "Gr\xf6\xdf" "e") << "bytes stay bytes";
  }
}

TEST(ListingPatternTest, SplitsAtTheLastSeparatorAndKeepsRoots) {
  struct Case {
    std::string pattern;
    std::string folder;
    std::string wildcard;
  };
  std::vector<Case> cases = {
      {"/p/*.*", kWindows ? "\\p" : "/p", "*.*"},
      {"/p//*.vbp", kWindows ? "\\p" : "/p", "*.vbp"},
      {"*.*", ".", "*.*"},
      {"/*.*", kWindows ? "\\" : "/", "*.*"},
  };
  if (kWindows) {
    cases.insert(cases.end(), {
                                  {"C:\\Projekte\\Alt\\*.*", "C:\\Projekte\\Alt", "*.*"},
                                  {"C:\\Projekte\\\\*.vbp", "C:\\Projekte", "*.vbp"},
                                  {"C:\\*.*", "C:\\", "*.*"},
                                  {"C:/Projekte/*.*", "C:\\Projekte", "*.*"},
                                  {"\\\\server\\share\\Alt\\*.*", "\\\\server\\share\\Alt", "*.*"},
                              });
  } else {
    cases.push_back({"/p\\q/*.*", "/p\\q", "*.*"});  // a backslash is part of a name here
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    const ListingPattern split = SplitListingPattern(PathFromText(c.pattern));
    std::string folder = PathText(split.folder);
    if (kWindows) {
      for (char& ch : folder) ch = ch == '/' ? '\\' : ch;
    }
    EXPECT_EQ(folder, c.folder);
    EXPECT_EQ(split.wildcard, c.wildcard);
  }
}

TEST(ListingPatternTest, TheReasonNamesTheFolderAsAFolderPath) {
  const std::string folder = kWindows ? "C:\\Projekte\\Gr\xc3\xb6\xc3\x9f" "e" : "/p/Gr\xc3\xb6\xc3\x9f" "e";
  const std::string separator = kWindows ? "\\" : "/";
  const std::string expected = "Das Verzeichnis [" + folder + separator + "] kann nicht gelesen werden";
  EXPECT_EQ(FolderUnreadableText(PathFromText(folder)), expected);
  EXPECT_EQ(FolderUnreadableText(PathFromText(folder + separator)), expected);
  EXPECT_EQ(FolderUnreadable(PathFromText(folder), ENOENT).reason(),
            expected + " (Datei oder Verzeichnis nicht gefunden)");
  EXPECT_EQ(FolderUnreadable(PathFromText(folder), ENOENT).error_number(), ENOENT);
}

TEST(SameFolderPathTest, ComparesAsTheSystemComparesNames) {
  const struct {
    const char* a;
    const char* b;
    bool same_ignoring_case;
  } cases[] = {
      {"/p/Alt/", "/p/Alt/", true},
      {"/p/Alt/", "/p/alt/", true},
      {"/p/ALT/", "/p/alt/", true},
      {"/p/\xc3\x84rger/", "/p/\xc3\xa4rger/", true},  // "Ärger", "ärger"
      {"/p/Alt/", "/p/Alt2/", false},
      {"/p/Alt/", "/q/Alt/", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " " + c.b);
    const bool exact = std::string(c.a) == c.b;
    EXPECT_EQ(SameFolderPath(PathFromText(c.a), PathFromText(c.b)), kNamesIgnoreCase ? c.same_ignoring_case : exact);
  }
  if (kWindows) {
    EXPECT_TRUE(SameFolderPath(L"C:\\Projekte\\", L"c:\\PROJEKTE\\"));
  }
}

}  // namespace
}  // namespace tavrin
