#include "conversion/opening_filter.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "conversion/key_table.h"
#include "conversion/text_rewriter.h"

namespace tavrin {

// For test names: the opening's text, not its address.
void PrintTo(const OpeningFilter::Opening& opening, std::ostream* out) {
  *out << opening.text << (opening.ignore_case ? "/i" : "");
}

namespace {

using Openings = std::vector<OpeningFilter::Opening>;

bool SameLetter(char a, char b, bool ignore_case) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a == b || (ignore_case && lower(a) == lower(b));
}

// What the filter must answer, byte by byte.
bool ReferenceOpening(const Openings& openings, const char* p, const char* end) {
  for (const auto& o : openings) {
    if (o.text.empty()) return true;
    if (!SameLetter(*p, o.text[0], o.ignore_case)) continue;
    if (o.text.size() == 1 || p + 1 == end || SameLetter(p[1], o.text[1], o.ignore_case)) return true;
  }
  return false;
}

const char* ReferenceStop(const Openings& openings, const char* p, const char* end, bool every_line_end) {
  for (const char* q = p; q != end; ++q) {
    if (*q == '\r' && (every_line_end || q + 1 == end || q[1] != '\n')) return q;
    if (*q == '\n' && (every_line_end || q == p || q[-1] != '\r')) return q;
    if (*q != '\r' && *q != '\n' && ReferenceOpening(openings, q, end)) return q;
  }
  return end;
}

class OpeningFilterTest : public ::testing::TestWithParam<Openings> {};

INSTANTIATE_TEST_SUITE_P(Openings, OpeningFilterTest,
                         ::testing::Values(TextRewriter::OpeningsOf(KeyTable::Build()), Openings{},
                                           Openings{{"C", false}}, Openings{{"co", true}, {"{6", false}},
                                           // more first bytes than the vector scan tracks
                                           Openings{{"Co", false}, {"6x", false}, {"xF", false}, {"OO", false},
                                                    {"{F", false}}),
                         [](const ::testing::TestParamInfo<Openings>& info) {
                           return "Set" + std::to_string(info.index);
                         });

TEST_P(OpeningFilterTest, AgreesWithAByteByByteLookEverywhere) {
  const Openings& openings = GetParam();
  const OpeningFilter filter(openings);
  std::mt19937 random(11);
  // Few letters, so that openings, near misses ("Cx", "{7") and line ends meet at every place
  // of the sixteen-byte steps.
  const char alphabet[] = {'C', 'c', 'O', 'o', '{', '6', 'F', 'x', '\r', '\n', '\0', '\xff'};
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 70, 'x');
    for (char& c : text) c = random() % 4 == 0 ? alphabet[random() % sizeof alphabet] : 'x';
    const char* end = text.data() + text.size();
    for (const char* p = text.data(); p < end; p += 1 + random() % 5) {
      ASSERT_EQ(filter.OpeningAt(p, end), ReferenceOpening(openings, p, end)) << (p - text.data()) << " in " << text;
      for (const bool every : {false, true}) {
        ASSERT_EQ(filter.NextStop(p, end, every) - text.data(), ReferenceStop(openings, p, end, every) - text.data())
            << "from " << (p - text.data()) << (every ? " (every line end)" : "") << " in " << text;
      }
    }
  }
}

TEST(OpeningFilterKeyTableTest, NeverMissesAnOldTextOfTheKeyTable) {
  const KeyTable keys = KeyTable::Build();
  const OpeningFilter filter(TextRewriter::OpeningsOf(keys));
  for (int i = KeyTable::kLower; i <= KeyTable::kUpper; ++i) {
    for (std::size_t before = 0; before < 40; ++before) {
      const std::string text = std::string(before, 'a') + std::string(keys.OldKey(i)) + "\r\nCOMCT";
      const char* end = text.data() + text.size();
      EXPECT_EQ(filter.NextStop(text.data(), end, false) - text.data(), static_cast<std::ptrdiff_t>(before))
          << "row " << i;
    }
  }
}

}  // namespace
}  // namespace tavrin
