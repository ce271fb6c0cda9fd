#include "conversion/line_scanner.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "conversion/key_table.h"

namespace tavrin {
namespace {

// What the scanner must find, byte by byte.
LineSpan Reference(const std::vector<std::string>& openings, const char* begin, const char* end) {
  bool may_match = false;
  for (const char* p = begin; p != end; ++p) {
    if (*p == '\r' || *p == '\n') return {p, may_match};
    for (const std::string& o : openings) {
      const bool second = o.size() == 1 || (p + 1 != end && p[1] == o[1]);
      may_match = may_match || (*p == o[0] && second);
    }
  }
  return {end, may_match};
}

class LineScannerOpeningsTest : public ::testing::TestWithParam<std::vector<std::string>> {};

INSTANTIATE_TEST_SUITE_P(Openings, LineScannerOpeningsTest,
                         ::testing::Values(KeyTable::Build().openings(), std::vector<std::string>{},
                                           std::vector<std::string>{"C"}, std::vector<std::string>{"Co", "6", "xF"}));

TEST_P(LineScannerOpeningsTest, AgreesWithAByteByByteScanEverywhere) {
  const std::vector<std::string>& openings = GetParam();
  const LineScanner scanner(openings);
  std::mt19937 random(11);
  // Few letters, so that openings, near misses ("Cx", "{7") and line ends meet at every place
  // of the sixteen-byte steps.
  const char alphabet[] = {'C', 'O', 'o', '{', '6', 'F', 'x', '\r', '\n', '\0', '\xff'};
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 70, 'x');
    for (char& c : text) c = random() % 4 == 0 ? alphabet[random() % sizeof alphabet] : 'x';
    const char* end = text.data() + text.size();
    for (const char* p = text.data(); p <= end; p += 1 + random() % 5) {
      const LineSpan got = scanner.Scan(p, end);
      const LineSpan want = Reference(openings, p, end);
      ASSERT_EQ(got.end - text.data(), want.end - text.data()) << text;
      ASSERT_EQ(got.may_match, want.may_match) << "at " << (p - text.data()) << " in " << text;
      if (p == end) break;
    }
  }
}

// Whole CR LF lines without any opening, worked out line by line.
bool ReferenceUnchanging(const std::vector<std::string>& openings, const std::string& text) {
  const char* const end = text.data() + text.size();
  for (const char* p = text.data(); p != end;) {
    const LineSpan line = Reference(openings, p, end);
    if (line.may_match || line.end == end || line.end[0] != '\r' || line.end + 1 == end || line.end[1] != '\n') {
      return false;
    }
    p = line.end + 2;
  }
  return true;
}

TEST_P(LineScannerOpeningsTest, TellsUnchangingRunsAsALineByLineLookWould) {
  const std::vector<std::string>& openings = GetParam();
  const LineScanner scanner(openings);
  std::mt19937 random(13);
  const char alphabet[] = {'C', 'O', 'o', '{', '6', 'F', 'x', '\r', '\n', '\0', '\xff'};
  int unchanging = 0;
  for (int round = 0; round < 50000; ++round) {
    // Mostly proper CR LF lines, with now and then a stray byte, so both answers come up.
    std::string text;
    const int lines = static_cast<int>(random() % 6);
    for (int i = 0; i < lines; ++i) {
      text += std::string(random() % 40, 'x') + "\r\n";
      if (random() % 3 == 0) text[random() % text.size()] = alphabet[random() % sizeof alphabet];
    }
    const bool want = ReferenceUnchanging(openings, text);
    ASSERT_EQ(scanner.Unchanging(text.data(), text.data() + text.size()), want) << text;
    unchanging += want ? 1 : 0;
  }
  EXPECT_GT(unchanging, 5000);
  EXPECT_LT(unchanging, 45000);
}

TEST(LineScannerTest, NeverMissesAnOldTextOfTheKeyTable) {
  const KeyTable keys = KeyTable::Build();
  const LineScanner scanner(keys.openings());
  for (int i = KeyTable::kLower; i <= KeyTable::kUpper; ++i) {
    for (std::size_t before = 0; before < 40; ++before) {
      const std::string line = std::string(before, 'a') + std::string(keys.OldKey(i)) + "\r\nCOMCT";
      const LineSpan span = scanner.Scan(line.data(), line.data() + line.size());
      EXPECT_TRUE(span.may_match) << "row " << i << " after " << before;
      EXPECT_EQ(span.end - line.data(), static_cast<std::ptrdiff_t>(before + keys.OldKey(i).size()));
    }
  }
}

TEST(LineScannerTest, OpeningsItCannotTrackMakeEveryLineACandidate) {
  const LineScanner scanner(std::vector<std::string>(20, "ab"));
  const std::string line = "nothing here\n";
  EXPECT_TRUE(scanner.Scan(line.data(), line.data() + line.size()).may_match);
}

}  // namespace
}  // namespace tavrin
