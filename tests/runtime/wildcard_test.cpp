#include "runtime/wildcard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace tavrin {
namespace {

struct WildcardCase {
  const char* pattern;
  const char* name;
  bool matches;
};

TEST(WildcardTest, MatchesTableOfNames) {
  const WildcardCase cases[] = {
      // Every name, also one without a dot or with several.
      {"*.*", "Form1.frm", true},
      {"*.*", "Liesmich", true},
      {"*.*", ".hidden", true},
      {"*.*", "a.b.c", true},
      {"*.*", "", true},
      // Suffix patterns ignore ASCII letter case.
      {"*.vbp", "Projekt1.vbp", true},
      {"*.vbp", "PROJEKT1.VBP", true},
      {"*.VBP", "projekt1.vbp", true},
      {"*.vbp", "Projekt1.vbpx", false},
      {"*.vbp", "Projekt1.vb", false},
      {"*.vbp", "vbp", false},
      {"*.vbp", ".vbp", true},
      {"*.vbp", "a.vbp.vbp", true},
      // "?" is exactly one byte.
      {"Form?.frm", "Form1.frm", true},
      {"Form?.frm", "Form.frm", false},
      {"Form?.frm", "Form12.frm", false},
      {"???", "abc", true},
      {"???", "ab", false},
      // "*" is any run, also an empty one, anywhere in the pattern.
      {"*", "", true},
      {"F*m", "Fm", true},
      {"F*m", "Forms", false},
      {"F*m*", "Form1.frm", true},
      {"*1*", "Form1.frm", true},
      {"*1*", "Form2.frm", false},
      {"**", "x", true},
      // A trailing ".*" also takes a name without a suffix.
      {"Form1.*", "Form1", true},
      {"Form1.*", "Form1.frx", true},
      {"Form1.*", "Form12", false},
      // Letter case folds for ASCII only; other bytes compare as they are.
      {"gr\xfc\xdf"
       "e.frm",
       "GR\xfc\xdf"
       "E.FRM",
       true},
      {"gr\xfc\xdf"
       "e.frm",
       "gr\xdc\xdf"
       "e.frm",
       false},
      {"*.frm",
       "Gr\xfc\xdf"
       "e.frm",
       true},
      {"a?c",
       "a\xe4"
       "c",
       true},
      // Letters next to non-letters: "@" and "[" are neighbours of "A" and "Z", not letters.
      {"@", "`", false},
      {"[", "{", false},
      {"exact", "exact", true},
      {"exact", "exacT", true},
      {"exact", "exac", false},
      {"", "", true},
      {"", "a", false},
  };
  for (const WildcardCase& c : cases) {
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << "pattern " << c.pattern << " name " << c.name;
  }
}

TEST(WildcardTest, NulByteIsAnOrdinaryByte) {
  EXPECT_TRUE(MatchesWildcard(std::string_view("a?b", 3), std::string_view("a\0b", 3)));
  EXPECT_FALSE(MatchesWildcard(std::string_view("ab", 2), std::string_view("a\0b", 3)));
}

TEST(WildcardTest, ManyStarsStayFastOnNamesThatDoNotMatch) {
  const std::string name(4000, 'a');
  const std::string pattern = "*a*a*a*a*a*a*a*a*a*a*b";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(MatchesWildcard(pattern, name));
  EXPECT_TRUE(MatchesWildcard(pattern, name + "b"));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  // Trying every split of the name among the stars would take ages; one pass per star position
  // takes well under a second even in a sanitizer build.
  EXPECT_LT(elapsed, std::chrono::seconds(2));
}

}  // namespace
}  // namespace tavrin
