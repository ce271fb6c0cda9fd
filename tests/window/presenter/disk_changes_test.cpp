// What the window learns from the disk while it is open: drives mounted or removed after the
// start, mount points that "Löschen..." refuses, and the events that run while one long file
// is rewritten. The presenter on a recording view, with a mount table and a clock the tests
// control.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "conversion/conversion_request.h"
#include "tests/window/presenter/presenter_window.h"
#include "window/presenter/folder_commands.h"
#include "window/presenter/throttled_caption_host.h"

namespace fs = std::filesystem;
using tavrin::RequestResult;
using tavrin::Side;
using tavrin::testing::Made;
using tavrin::testing::MessageBoxes;
using tavrin::testing::PresenterWindow;
using tavrin::testing::Shown;
using tavrin::testing::TempFolder;
using namespace std::chrono_literals;

namespace {

#ifndef _WIN32
// A line of a mount table: `type` mounted on `folder`, from the folder `root` of the file system.
std::string MountLine(int id, const fs::path& folder, const std::string& type, const std::string& root = "/") {
  return std::to_string(id) + " 30 8:" + std::to_string(id) + " " + root + " " + folder.string() + " rw - " +
         type + " /dev/sd" + std::to_string(id) + " rw\n";
}
const std::string kRootLine = "30 1 8:1 / / rw - ext4 /dev/vda rw\n";

// A drive mounted after the start shows when a drive list is opened and can be picked; once
// removed, it goes at the next refresh of the displays, and the list shows the drive that
// holds its folder. Unchanged drives keep the list's row.
TEST(PresenterDrives, ReadAgainWhenAListOpensAndAtEveryRefresh) {
  TempFolder tree;
  const fs::path start = Made(tree, "Start");
  const fs::path stick = fs::canonical(Made(tree, "Stick"));
  std::string table = kRootLine;
  int tables_read = 0;
  PresenterWindow w(start);
  w.presenter.SetMountTableReader([&] {
    ++tables_read;
    return table;
  });
  w.presenter.SetDriveReader(nullptr);  // the drives of the mount table
  w.presenter.Form_Load();

  table += MountLine(40, stick, "vfat");
  const int before = tables_read;
  w.presenter.DriveListOpened(Side::kTarget);
  EXPECT_EQ(tables_read, before + 1);
  EXPECT_EQ(w.view.drives(), (std::vector<fs::path>{"/", stick}));
  EXPECT_EQ(w.view.Drive(Side::kTarget), fs::path("/"));  // opening picks nothing
  w.view.PickDrive(Side::kTarget, stick);
  EXPECT_EQ(w.view.Folder(Side::kTarget), stick);
  EXPECT_EQ(w.view.status, Shown(stick));

  // Opened again with nothing changed: the same rows, the list stays on its drive.
  w.presenter.DriveListOpened(Side::kSource);
  EXPECT_EQ(w.view.drives(), (std::vector<fs::path>{"/", stick}));
  EXPECT_EQ(w.view.Drive(Side::kTarget), stick);
  EXPECT_EQ(w.view.Drive(Side::kSource), fs::path("/"));

  // Removed: "Neu..." cancelled refreshes the displays, and the drive is gone from both lists.
  table = kRootLine;
  const int shown_before = w.view.drives_shown;
  w.dialogs.AnswerNextInputBox("");
  w.presenter.btnPath_Click(0);
  EXPECT_EQ(w.view.drives_shown, shown_before + 1);
  EXPECT_EQ(w.view.drives(), std::vector<fs::path>{"/"});
  EXPECT_EQ(w.view.Drive(Side::kTarget), fs::path("/"));
  EXPECT_EQ(w.view.Drive(Side::kSource), fs::path("/"));

  // A refused conversion refreshes the displays as well: a drive mounted meanwhile shows.
  table += MountLine(41, stick, "ext4");
  w.view.ClickTab(2);
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  EXPECT_EQ(w.presenter.Tavrin().outcome, RequestResult::Outcome::kRefused);  // no project
  EXPECT_EQ(w.view.drives(), (std::vector<fs::path>{"/", stick}));
  EXPECT_EQ(w.view.Drive(Side::kTarget), stick);  // the drive of the folder shown
}

// "Löschen..." names what a refused top folder is: a drive root ("/", the top of a volume), or
// a mount point that is no drive (a pseudo file system, a folder bound from inside a volume).
TEST(PresenterFolderCommands, DeleteRefusesDriveRootsAndMountPointsByName) {
  const std::string root_text = "] ist ein Stammverzeichnis und kann nicht gelöscht werden.";
  const std::string mount_text = "] ist ein Einhängepunkt und kann nicht gelöscht werden.";
  const struct {
    const char* type;  // mounted on the target folder; nullptr: nothing is
    const char* root;  // the folder of the file system mounted there
    const char* why;   // nullptr: the question is asked
  } cases[] = {
      {"ext4", "/", "Stamm"},           {"vfat", "/", "Stamm"},     {"ext4", "/home/anna", "Einhänge"},
      {"tmpfs", "/", "Einhänge"},       {"proc", "/", "Einhänge"},  {nullptr, "/", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type != nullptr ? c.type : "nothing mounted");
    TempFolder tree;
    const fs::path source = Made(tree, "Quelle");
    const fs::path target = fs::canonical(Made(tree, "Ziel"));
    tree.WriteFile("Ziel/Datei.txt", "bleibt");
    const std::string table = kRootLine + (c.type != nullptr ? MountLine(50, target, c.type, c.root) : "");
    PresenterWindow w(source);
    w.presenter.SetMountTableReader([&table] { return table; });
    ASSERT_TRUE(w.view.SetFolder(Side::kTarget, target));
    w.dialogs.AnswerNextMessageBox(c.why == nullptr ? tavrin::kAnswerNo : tavrin::kAnswerOk);
    w.presenter.btnPath_Click(1);
    const auto boxes = MessageBoxes(w.dialogs);
    ASSERT_EQ(boxes.size(), std::size_t{1});
    if (c.why == nullptr) {
      EXPECT_EQ(boxes[0].style, tavrin::kButtonsYesNo + tavrin::kIconQuestion + tavrin::kDefaultButton2);
    } else {
      const std::string expected =
          "Das Verzeichnis [" + Shown(target) + (std::string(c.why) == "Stamm" ? root_text : mount_text);
      EXPECT_EQ(boxes[0].text, expected);
      EXPECT_EQ(boxes[0].title, "Verzeichnis löschen");
    }
    EXPECT_TRUE(fs::exists(target / "Datei.txt"));
  }
  // "/" is a drive root whatever the table says.
  for (const std::string& table : {kRootLine, std::string()}) {
    const auto check = tavrin::CheckDeletion(tavrin::DiskFileServices(), "/", "/tmp/", table);
    EXPECT_EQ(check.refusal, "Das Verzeichnis [/" + root_text);
    EXPECT_EQ(check.confirmed, nullptr);
  }
}
#endif

// One long text file: besides the run before each text file, pending events run while it is
// rewritten, at most once per 100 ms of the clock and at the latest one clock step after 100
// ms. Handlers run in those events do not redirect the pass: it keeps its folders, a second
// request starts nothing and the folder commands are refused.
TEST(PresenterConvert, LongFileLetsEventsRunAboutEveryTenthOfASecond) {
  TempFolder tree;
  const fs::path source = Made(tree, "Quelle");
  const fs::path target = Made(tree, "Ziel");
  const fs::path other = Made(tree, "Anderes");
  // A module of 40,000 lines, about 1.4 MB, beside a project file of one line.
  std::string module = "Attribute VB_Name = \"Modul1\"\r\n";
  for (int line = 0; line < 40000; ++line) module += "Dim Eintrag As ComctlLib.ListItem\r\n";
  tree.WriteFile("Quelle/Projekt1.vbp", "Type=Exe\r\n");
  tree.WriteFile("Quelle/Modul1.bas", module);

  // Every reading moves the clock on by one step.
  static constexpr auto kStep = 7ms;
  std::chrono::steady_clock::time_point now{};
  PresenterWindow w(source);
  w.presenter.SetClock([&now] { return now += kStep; });
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, target));

  // When events ran, and whether a line was being rewritten then (lbInfo shows a line number).
  struct Run {
    std::chrono::steady_clock::time_point at;
    bool in_file;
  };
  std::vector<Run> runs;
  std::vector<RequestResult::Outcome> nested;
  w.dialogs.during_do_events = [&] {
    runs.push_back({now, w.view.info.find(" [") != std::string::npos});
    if (!runs.back().in_file || !nested.empty()) return;
    // The user picks another target and starts a conversion, then deletes the target.
    EXPECT_TRUE(w.view.SetFolder(Side::kTarget, other));
    nested.push_back(w.presenter.Tavrin().outcome);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.presenter.btnPath_Click(1);
  };
  ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
  const auto result = w.presenter.Tavrin();
  EXPECT_EQ(result.outcome, RequestResult::Outcome::kConverted);
  const auto end = now;

  // Once before each of the two files, and every 100 ms while the module was rewritten.
  int in_file = 0;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    if (i > 0) {
      EXPECT_LE(runs[i].at - runs[i - 1].at, 100ms + 2 * kStep) << i;
    }
    if (!runs[i].in_file) continue;
    ++in_file;
    ASSERT_GT(i, std::size_t{0});
    EXPECT_GE(runs[i].at - runs[i - 1].at, 100ms) << i;
  }
  EXPECT_EQ(runs.size() - static_cast<std::size_t>(in_file), std::size_t{2});
  EXPECT_GE(in_file, 10);
  EXPECT_LE(end - runs.back().at, 100ms + 4 * kStep);

  // The pass went on into its own target; the nested request and the deletion did nothing.
  EXPECT_EQ(nested, std::vector<RequestResult::Outcome>{RequestResult::Outcome::kAlreadyRunning});
  ASSERT_TRUE(fs::exists(target / "Projekt1.vbp"));
  ASSERT_TRUE(fs::exists(target / "Modul1.bas"));
  EXPECT_EQ(fs::file_size(target / "Modul1.bas"), module.size() + 40000 * 2);  // MSComctlLib.
  EXPECT_TRUE(fs::is_empty(other));
  const auto boxes = MessageBoxes(w.dialogs);
  ASSERT_EQ(boxes.size(), std::size_t{1});
  EXPECT_EQ(boxes[0].text, tavrin::kDeleteFolderDuringPass);
}

}  // namespace
