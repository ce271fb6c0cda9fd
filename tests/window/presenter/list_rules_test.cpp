// The rules of the folder and drive lists, without a toolkit: which rows, in which order, how
// a path given to a list is understood, and what a refresh keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "window/presenter/drive_rules.h"
#include "window/presenter/folder_list_state.h"

namespace fs = std::filesystem;
using tavrin::FolderListState;
using tavrin::FolderRow;
using tavrin::testing::TempFolder;

namespace {

// A folder made in `tree`, its path spelled as the system spells it.
fs::path Made(const TempFolder& tree, const fs::path& relative) { return tree.MakeFolder(relative).lexically_normal(); }

// The rows as "<depth><o|c> <name>", the shown row marked with "*".
std::vector<std::string> Describe(const std::vector<FolderRow>& rows) {
  std::vector<std::string> described;
  const std::size_t shown = FolderListState::ShownRow(rows);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    described.push_back(std::to_string(rows[i].depth) + (rows[i].open ? "o " : "c ") + rows[i].name.string() +
                        (i == shown ? "*" : ""));
  }
  return described;
}

// The chain from the root down to the folder shown, then its visible subfolders one level
// deeper in folder name order (letter case ignored, digit runs by value); no files, no hidden
// folders.
TEST(FolderListRules, RowsAreTheChainThenTheSortedSubfolders) {
  TempFolder tree;
  const fs::path shown = Made(tree, "Oben/Hier");
  for (const char* name : {"z10", "Z9", "b", "A", ".versteckt", "a2"}) tree.MakeFolder(fs::path("Oben/Hier") / name);
  tree.WriteFile("Oben/Hier/datei.txt", "x");
  FolderListState list(shown);
  const std::vector<FolderRow> rows = list.Rows();
  const std::vector<std::string> described = Describe(rows);
  // The chain: one open row per component of the path, the last one the folder shown.
  std::size_t chain = 0;
  for (const fs::path& part : shown.relative_path()) chain += part.empty() ? 0 : 1;
  ASSERT_EQ(rows.size(), chain + 1 + 5);
  EXPECT_EQ(rows[0].folder, shown.root_path());
  EXPECT_EQ(rows[0].depth, 0);
  for (std::size_t i = 0; i <= chain; ++i) {
    EXPECT_TRUE(rows[i].open);
    EXPECT_EQ(rows[i].depth, static_cast<int>(i));
  }
  EXPECT_EQ(rows[chain].folder, shown);
  EXPECT_EQ(described[chain], std::to_string(chain) + "o Hier*");
  const int below = static_cast<int>(chain) + 1;
  const std::vector<std::string> subfolders(described.begin() + static_cast<long>(chain) + 1, described.end());
  const std::string d = std::to_string(below);
  EXPECT_EQ(subfolders, (std::vector<std::string>{d + "c A", d + "c a2", d + "c b", d + "c Z9", d + "c z10"}));
  EXPECT_EQ(rows.back().folder, shown / "z10");
}

// A path given to the list: absolute, relative, "..", a file, nothing, a folder that is gone.
TEST(FolderListRules, SetPathTakesFoldersOnly) {
  TempFolder tree;
  const fs::path a = tree.MakeFolder("A");
  const fs::path b = Made(tree, "A/B");
  tree.WriteFile("A/datei", "x");
  FolderListState list(a);
  const struct {
    fs::path given;
    bool taken;
    bool changed;
    fs::path shown;
  } steps[] = {
      {"B", true, true, b},
      {"B", false, false, b},  // relative to the folder shown: A/B/B does not exist
      {"..", true, true, a},
      {a, true, false, a},
      {"datei", false, false, a},
      {"", false, false, a},
      {tree.path() / "Weg", false, false, a},
      {b / ".." / "B" / "", true, true, b},  // worked out by its text, no separator at the end
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.given.string());
    bool changed = !step.changed;
    EXPECT_EQ(list.SetPath(step.given, &changed), step.taken);
    EXPECT_EQ(changed, step.changed);
    EXPECT_EQ(list.Path(), step.shown);
  }
}

// A refresh keeps the folder shown; one that is gone gives way to the nearest folder above.
TEST(FolderListRules, RefreshKeepsTheFolderOrFallsBackToTheNearestAbove) {
  TempFolder tree;
  const fs::path deep = Made(tree, "A/B/C");
  FolderListState list(deep);
  EXPECT_FALSE(list.Refresh());
  EXPECT_EQ(list.Path(), deep);
  tree.MakeFolder("A/B/C/Neu");
  EXPECT_EQ(list.Rows().back().folder, deep / "Neu");  // rows are read afresh
  fs::remove_all(tree.path() / "A" / "B");
  EXPECT_TRUE(list.Refresh());
  EXPECT_EQ(list.Path(), tree.path() / "A");
  EXPECT_EQ(list.Rows().back().folder, tree.path() / "A");  // no subfolders left
}

// A refresh that keeps the folder shown keeps the row selected; a row that is gone, or none,
// gives way to the folder shown.
TEST(FolderListRules, RowToSelectKeepsTheSelectedRowWhileItIsThere) {
  TempFolder tree;
  const fs::path shown = Made(tree, "Oben/Hier");
  const fs::path below = Made(tree, "Oben/Hier/Unter");
  FolderListState list(shown);
  std::vector<FolderRow> rows = list.Rows();
  const std::size_t shown_row = FolderListState::ShownRow(rows);
  EXPECT_EQ(rows[shown_row].folder, shown);
  EXPECT_EQ(FolderListState::RowToSelect(rows, below), shown_row + 1);
  EXPECT_EQ(FolderListState::RowToSelect(rows, shown.parent_path()), shown_row - 1);
  EXPECT_EQ(FolderListState::RowToSelect(rows, shown), shown_row);
  EXPECT_EQ(FolderListState::RowToSelect(rows, below / "x"), shown_row);
  fs::remove(below);
  EXPECT_FALSE(list.Refresh());
  rows = list.Rows();
  EXPECT_EQ(FolderListState::RowToSelect(rows, below), shown_row);
  EXPECT_EQ(rows.size(), shown_row + 1);
}

#ifndef _WIN32
// The drives of a POSIX system: "/" and the mounted folders of user file systems, not a
// mounted file, nor a mount point that is gone.
TEST(DriveListRules, MountedDrivesAreFoldersOnly) {
  TempFolder tree;
  const fs::path disk = tree.MakeFolder("Platte");
  const fs::path file = tree.WriteFile("hosts", "x");
  const std::string mountinfo = "30 1 8:1 / / rw - ext4 /dev/vda rw\n"
                                "31 30 8:17 / " + disk.string() + " rw - xfs /dev/sdb1 rw\n"
                                "32 30 8:17 /h " + file.string() + " rw - ext4 /dev/vda rw\n"
                                "33 30 8:33 / " + (tree.path() / "Weg").string() + " rw - vfat /dev/sdc1 rw\n"
                                "34 30 0:22 / /proc rw - proc proc rw\n";
  EXPECT_EQ(tavrin::MountedDrives(mountinfo), (std::vector<fs::path>{"/", disk}));
  EXPECT_EQ(tavrin::MountedDrives(""), std::vector<fs::path>{"/"});
}
#endif

// The drive of a folder: the longest drive that is a leading part of it, part by part.
TEST(DriveListRules, DriveOfAndDriveRowCompareWholeParts) {
  const fs::path root = fs::current_path().root_path();
  const fs::path mnt_a = root / "mnt" / "a";
  const fs::path mnt_ab = root / "mnt" / "ab";
  const std::vector<fs::path> drives = {root, mnt_a, mnt_ab};
  EXPECT_EQ(tavrin::DriveOf(mnt_a / "x", drives), mnt_a);
  EXPECT_EQ(tavrin::DriveOf(mnt_a, drives), mnt_a);
  EXPECT_EQ(tavrin::DriveOf(mnt_ab / "x", drives), mnt_ab);
  EXPECT_EQ(tavrin::DriveOf(root / "mnt" / "abc", drives), root);
  EXPECT_EQ(tavrin::DriveOf(root / "mnt", drives), root);
  EXPECT_EQ(tavrin::DriveOf(mnt_a, {mnt_ab}), fs::path());
  EXPECT_EQ(tavrin::DriveRow(mnt_ab, drives), std::optional<std::size_t>(2));
  EXPECT_EQ(tavrin::DriveRow(mnt_a / "", drives), std::optional<std::size_t>(1));
  EXPECT_EQ(tavrin::DriveRow(mnt_a / "x", drives), std::nullopt);
  EXPECT_EQ(tavrin::DriveRow(fs::path(), drives), std::nullopt);
}

}  // namespace
