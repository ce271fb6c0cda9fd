// The check that neither tree of a tree conversion holds the other: it decides at any depth of
// path, and a check that cannot decide refuses; and a tree whose paths are longer than 260
// characters converts whole.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "conversion/conversion_request.h"
#include "conversion/folder_path.h"
#include "runtime/listing_pattern.h"
#include "runtime/path_text.h"
#include "runtime/shown_text.h"
#include "tests/support/faulty_file_services.h"
#include "tests/support/recording_host.h"
#include "tests/support/service_files.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;
using Outcome = RequestResult::Outcome;
using testing::Chain;
using testing::FaultyFileServices;
using testing::PathOfLength;
using testing::ReadFileThrough;
using testing::TempFolder;
using testing::WriteFileThrough;

constexpr CheckOptions kTree = {.target_may_be_missing = true, .tree = true};

std::string Undecided(const Status& reason) { return std::string(kRefusalNestingUnknown) + ": " + reason.reason(); }

// A folder of the check that cannot be opened: the pair is refused with the reason, whichever
// way the target lies, unless the source tree already holds the target. Without the fault
// each pair would pass or be refused as nested.
TEST(NestingCheckTest, AFolderThatCannotBeOpenedRefusesThePair) {
  struct Case {
    const char* what;
    const char* target;         // below the temporary folder
    const char* existing;       // a folder made before the check, or ""
    const char* parent_fault;   // OpenParent from a folder of this name fails, or ""
    const char* open_fault;     // opening a folder of this name fails, or ""
    const char* failed_folder;  // the folder named in the reason, below the temporary folder
    std::string_view without_fault;
  };
  const Case cases[] = {
      {"the climb from a target inside the source", "Quelle/Unter/Ziel", "Quelle/Unter/Ziel", "Unter", "", "Quelle",
       kRefusalTargetInSource},
      {"the climb from a target beside the source", "Ziel", "Ziel", "Ziel", "", "", {}},
      {"the climb from the source", "Ziel", "Ziel", "Quelle", "", "", {}},
      {"the climb from the nearest folder above a missing target", "Aussen/Neu/Ziel", "Aussen", "Aussen", "", "", {}},
      {"the nearest folder above a missing target", "Aussen/Neu/Ziel", "Aussen", "", "Aussen", "Aussen", {}},
      {"the climb from a missing target's folder inside the source", "Quelle/Unter/Neu", "Quelle/Unter", "Unter", "",
       "Quelle", kRefusalTargetInSource},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder root;
    root.WriteFile("Quelle/P.vbp", "x\n");
    if (*c.existing != '\0') root.MakeFolder(c.existing);
    const fs::path source = FolderPath(root.path() / "Quelle");
    const fs::path target = FolderPath(root.path() / PathFromText(c.target).make_preferred());

    FaultyFileServices plain;
    EXPECT_EQ(CheckFolderPair(plain, source, target, kTree).refusal, c.without_fault);

    FaultyFileServices files;
    if (*c.parent_fault != '\0') files.FailOpenParent(c.parent_fault, EIO);
    if (*c.open_fault != '\0') files.FailOpenFolder(c.open_fault, EIO);
    const CheckedPair pair = CheckFolderPair(files, source, target, kTree);
    const fs::path failed = *c.failed_folder == '\0' ? root.path() : root.path() / c.failed_folder;
    // A target the source tree holds is known by its identity before any climb: that answer is sure.
    const std::string expected = c.without_fault == kRefusalTargetInSource ? std::string(kRefusalTargetInSource)
                                                                            : Undecided(FolderUnreadable(failed, EIO));
    EXPECT_EQ(pair.refusal, expected);
    EXPECT_EQ(pair.source, nullptr);
  }
}

// The same through the whole request: a refusal in the message box, nothing made.
TEST(NestingCheckTest, AnUndecidedCheckIsShownAsARefusalAndNothingIsMade) {
  TempFolder root;
  root.WriteFile("Quelle/P.vbp", "x\n");
  testing::RecordingHost host;
  host.source = FolderPath(root.path() / "Quelle");
  host.target = FolderPath(root.path() / "Ziel");
  FaultyFileServices files;
  files.FailOpenParent(PathText(root.path().filename()), EACCES);  // the nearest folder above the target
  ConversionRequest request(host, files, {.make_missing_target = true, .recursive = true});

  const RequestResult result = request.Tavrin();

  EXPECT_EQ(result.outcome, Outcome::kRefused);
  EXPECT_EQ(result.refusal, Undecided(FolderUnreadable(root.path().parent_path(), EACCES)));
  EXPECT_EQ(host.events, std::vector<std::string>{"MessageBox 48 Konvertierungsfehler: " + ShownText(result.refusal)});
  EXPECT_TRUE(files.Missing(root.path() / "Ziel"));
}

// A missing target named relative to the current folder, with no folder above it in its name:
// the current folder is the nearest one.
TEST(NestingCheckTest, ARelativeMissingTargetCountsByTheCurrentFolder) {
  TempFolder root;
  root.WriteFile("Quelle/P.vbp", "x\n");
  const fs::path before = fs::current_path();
  fs::current_path(root.path() / "Quelle");
  const CheckedPair inside = CheckFolderPair(DiskFileServices(), root.path() / "Quelle", FolderPath("Neu"), kTree);
  fs::current_path(root.path());
  const CheckedPair beside = CheckFolderPair(DiskFileServices(), root.path() / "Quelle", FolderPath("Neu"), kTree);
  fs::current_path(before);
  EXPECT_EQ(inside.refusal, kRefusalTargetInSource);
  EXPECT_EQ(beside.refusal, "");
}

// Around the 260 characters where Windows' own path buffers end, and far beyond.
TEST(NestingCheckTest, TheTreesAreToldApartAtAnyDepth) {
  struct Case {
    std::size_t length;
    bool target_exists;
  };
  const Case cases[] = {{259, true}, {260, true}, {261, true}, {270, false}, {300, true}, {300, false}, {1000, true},
                        {1000, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + (c.target_exists ? " existing" : " missing"));
    TempFolder root;
    FileServices& disk = DiskFileServices();
    WriteFileThrough(disk, root.path() / "Quelle", "P.vbp", "x\n");
    const fs::path deep = PathOfLength(root.path() / "Quelle", c.length);
    ASSERT_EQ(deep.native().size(), c.length);
    testing::MakeFoldersThrough(disk, c.target_exists ? deep : deep.parent_path());
    const fs::path source = FolderPath(root.path() / "Quelle");

    EXPECT_EQ(CheckFolderPair(disk, source, FolderPath(deep), kTree).refusal, kRefusalTargetInSource);
    EXPECT_EQ(CheckFolderPair(disk, source, FolderPath(deep / "neu"), kTree).refusal, kRefusalTargetInSource);
    if (c.target_exists) {
      // The deep folder as the source, its top as the target.
      WriteFileThrough(disk, deep, "P.vbp", "x\n");
      EXPECT_EQ(CheckFolderPair(disk, FolderPath(deep), source, kTree).refusal, kRefusalSourceInTarget);
      EXPECT_EQ(CheckFolderPair(disk, FolderPath(deep), FolderPath(root.path() / "Ziel"), kTree).refusal, "");
    }
  }
}

TEST(NestingCheckTest, ATreeDeeperThan260CharactersConvertsWithoutFailures) {
  TempFolder root;
  FileServices& disk = DiskFileServices();
  const fs::path deep = Chain(root.path() / "Quelle", 3, 100);
  WriteFileThrough(disk, root.path() / "Quelle", "P.vbp", "Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0\r\n");
  WriteFileThrough(disk, deep, "Tief.frm", "Begin ComctlLib.Toolbar\n");
  WriteFileThrough(disk, deep, "Tief.frx", "ComctlLib.\n");
  // After the deep folders: the walk climbs back up to reach it.
  WriteFileThrough(disk, root.path() / "Quelle/zz", "Z.bas", "ComctlLib.\n");
  ASSERT_GT(deep.native().size(), 300u);
  testing::RecordingHost host;
  host.record_lines = false;
  host.source = FolderPath(root.path() / "Quelle");
  host.target = FolderPath(root.path() / "Ziel");
  ConversionRequest request(host, disk, {.make_missing_target = true, .recursive = true});

  const RequestResult result = request.Tavrin();

  ASSERT_EQ(result.outcome, Outcome::kConverted) << result.refusal;
  EXPECT_TRUE(result.report.failures.empty());
  EXPECT_TRUE(result.report.folder_failures.empty());
  EXPECT_EQ(result.report.folders, 5u);  // the top, the three deep ones, zz
  EXPECT_EQ(result.report.files_rewritten, 3u);
  EXPECT_EQ(result.report.files_copied, 1u);
  const fs::path deep_target = Chain(root.path() / "Ziel", 3, 100);
  EXPECT_EQ(ReadFileThrough(disk, deep_target, "Tief.frm"), "Begin MSComctlLib.Toolbar\r\n");
  EXPECT_EQ(ReadFileThrough(disk, deep_target, "Tief.frx"), "ComctlLib.\n");
  EXPECT_EQ(ReadFileThrough(disk, root.path() / "Ziel/zz", "Z.bas"), "MSComctlLib.\r\n");
  EXPECT_EQ(ReadFileThrough(disk, root.path() / "Ziel", "P.vbp"),
            "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\r\n");
}

}  // namespace
}  // namespace tavrin
