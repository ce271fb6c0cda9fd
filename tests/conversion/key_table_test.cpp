#include "conversion/key_table.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrin {
namespace {

// The line after the key table, or the line itself when nothing was replaced.
std::string Convert(const KeyTable& keys, std::string_view line, KeyTable::Counts* counts = nullptr) {
  std::string out = "untouched";
  if (!keys.Apply(line, &out, counts)) {
    EXPECT_EQ(out, "untouched") << "Apply must leave the output alone when nothing changed";
    return std::string(line);
  }
  return out;
}

TEST(KeyTableTest, HoldsTheFourteenRowsInOrder) {
  const KeyTable keys = KeyTable::Build();
  EXPECT_EQ(keys.OldKey(1), "{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0");
  EXPECT_EQ(keys.NewKey(4), "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0");
  EXPECT_EQ(keys.OldKey(5), "{6B7E6392-850A-101B-AFC0-4210102A8DA7}");
  EXPECT_EQ(keys.OldKey(6), "COMCTL32.OCX");
  EXPECT_EQ(keys.NewKey(7), "MSComctlLib.");
  EXPECT_EQ(keys.OldKey(11), "{FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}#1.0#0");
  EXPECT_EQ(keys.NewKey(12), "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}");
  EXPECT_EQ(keys.OldKey(13), "COMCT232.OCX");
  EXPECT_EQ(keys.NewKey(14), "MSComCtl2.");
  // The versioned identifiers come before the bare one, which would otherwise eat them.
  for (int group : {0, 7}) {
    for (int i = 1; i <= 4; ++i) {
      EXPECT_EQ(keys.OldKey(group + i).substr(0, keys.OldKey(group + 5).size()), keys.OldKey(group + 5));
      EXPECT_EQ(keys.NewKey(group + i).substr(keys.NewKey(group + 5).size()), "#2.0#0");
    }
  }
}

TEST(KeyTableTest, RewritesLinesAsTheConversionRequires) {
  const KeyTable keys = KeyTable::Build();
  const struct {
    const char* line;
    const char* expected;
  } cases[] = {
      {"Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX",
       "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX"},
      {"Object={FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}#1.1#0; COMCT232.OCX",
       "Object={86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCT2.OCX"},
      {"Begin ComctlLib.Toolbar Toolbar1", "Begin MSComctlLib.Toolbar Toolbar1"},
      {"Begin ComCtl2.UpDown UpDown1", "Begin MSComCtl2.UpDown UpDown1"},
      // A version that is not in the table keeps its suffix.
      {"{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.4#0", "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#1.4#0"},
      // Letter case must match.
      {"Begin comctllib.Toolbar Toolbar1", "Begin comctllib.Toolbar Toolbar1"},
      {"comctl32.ocx COMCTL32.ocx", "comctl32.ocx COMCTL32.ocx"},
      // Every occurrence, left to right.
      {"ComctlLib.A ComctlLib.B ComctlLib.", "MSComctlLib.A MSComctlLib.B MSComctlLib."},
      {"ComctlLib.ComctlLib.", "MSComctlLib.MSComctlLib."},
      {"COMCTL32.OCXCOMCT232.OCX", "MSCOMCTL.OCXMSCOMCT2.OCX"},
      // An already converted project is left as it is.
      {"Begin MSComctlLib.Toolbar Toolbar1", "Begin MSComctlLib.Toolbar Toolbar1"},
      {"Begin MSComCtl2.UpDown UpDown1", "Begin MSComCtl2.UpDown UpDown1"},
      {"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX",
       "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX"},
      // Mixed: old and new in one line; only the old one moves.
      {"MSComctlLib.A ComctlLib.B", "MSComctlLib.A MSComctlLib.B"},
      {"XComctlLib.", "XMSComctlLib."},
      {"SComctlLib.", "SMSComctlLib."},
      // Nothing to do.
      {"", ""},
      {"Caption = \"Kunden\xfc" "bersicht\"", "Caption = \"Kunden\xfc" "bersicht\""},
      {"{ ComctlLib", "{ ComctlLib"},
  };
  for (const auto& c : cases) EXPECT_EQ(Convert(keys, c.line), c.expected) << c.line;
}

TEST(KeyTableTest, KeepsNulAndHighBytesAroundReplacements) {
  const KeyTable keys = KeyTable::Build();
  const std::string line = std::string("\0\x80" "ComctlLib.\xff\0", 14);
  EXPECT_EQ(Convert(keys, line), std::string("\0\x80" "MSComctlLib.\xff\0", 16));
}

TEST(KeyTableTest, InsertedTextIsNotSearchedAgainAndCountsArePerRow) {
  const KeyTable keys = KeyTable::Build();
  KeyTable::Counts counts{};
  // Row 1 produces "#2.0#0" identifiers; row 5 must not touch them, and the bare identifier
  // after it is row 5's own.
  EXPECT_EQ(Convert(keys,
                    "{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0 {6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.9#0 "
                    "COMCTL32.OCX ComctlLib.X MSComctlLib.Y",
                    &counts),
            "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0 {831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#1.9#0 "
            "MSCOMCTL.OCX MSComctlLib.X MSComctlLib.Y");
  KeyTable::Counts expected{};
  expected[1] = 1;
  expected[5] = 1;
  expected[6] = 1;
  expected[7] = 1;
  EXPECT_EQ(counts, expected);
}

TEST(KeyTableTest, ConvertingTwiceChangesNothingMore) {
  const KeyTable keys = KeyTable::Build();
  for (int i = KeyTable::kLower; i <= KeyTable::kUpper; ++i) {
    const std::string line = "a " + std::string(keys.OldKey(i)) + " b";
    const std::string once = Convert(keys, line);
    EXPECT_NE(once, line) << "row " << i;
    EXPECT_EQ(Convert(keys, once), once) << "row " << i;
  }
}

TEST(KeyTableTest, EachRequestGetsItsOwnTable) {
  const KeyTable first = KeyTable::Build();
  const KeyTable second = KeyTable::Build();
  EXPECT_NE(first.OldKey(7).data(), second.OldKey(7).data());
  EXPECT_EQ(first.OldKey(7), second.OldKey(7));
}

}  // namespace
}  // namespace tavrin
