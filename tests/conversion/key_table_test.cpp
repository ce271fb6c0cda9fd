#include "conversion/key_table.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrin {
namespace {

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

}  // namespace
}  // namespace tavrin
