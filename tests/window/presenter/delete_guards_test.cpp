// What "Löschen..." refuses and how it deletes, on every system: links, volume roots and
// mounted folders, the source and what holds it however spelled, a folder that another one
// replaced while the question was open. Under Wine, links are the Unix system's (shown as
// reparse points); junctions and volumes mounted at folders cannot be made there and are
// stood in for by faults of the file services.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "runtime/path_text.h"
#include "tests/support/faulty_file_services.h"
#include "tests/support/platform_entries.h"
#include "tests/window/presenter/presenter_window.h"
#include "window/presenter/folder_commands.h"

namespace fs = std::filesystem;
using tavrin::MountKind;
using tavrin::Side;
using tavrin::testing::FaultyFileServices;
using tavrin::testing::Made;
using tavrin::testing::MessageBoxes;
using tavrin::testing::PresenterWindow;
using tavrin::testing::ScriptedDialogs;
using tavrin::testing::Shown;
using tavrin::testing::TempFolder;

namespace {

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string Refusal(const fs::path& folder, const std::string& why) {
  return "Das Verzeichnis [" + Shown(folder) + "] " + why + " und kann nicht gelöscht werden.";
}

bool Called(const FaultyFileServices& files, const std::string& call) {
  return std::find(files.calls.begin(), files.calls.end(), call) != files.calls.end();
}

// Refused folders: a message instead of the question, nothing deleted, nothing held open.
TEST(PresenterDeleteGuards, LinksVolumeRootsAndMountedFoldersAreRefused) {
  TempFolder tree;
  const fs::path source = Made(tree, "Quelle");
  const fs::path elsewhere = Made(tree, "Anderes");
  tree.WriteFile("Anderes/bleibt.txt", "x");
  const fs::path target = Made(tree, "Ziel");
  tree.WriteFile("Ziel/bleibt.txt", "x");
  const fs::path link = tree.path() / "Verweis";
  tavrin::testing::MakeLink(elsewhere, link, true);
  // Wine shows a Unix link as the folder it leads to: there the file services stand in.
  const bool real_link = tavrin::testing::LinksAreSeenAsLinks();
  const struct {
    fs::path folder;
    MountKind mount;  // what the file services say the folder is
    std::string why;
  } cases[] = {
      {link, MountKind::kNone, "ist eine symbolische Verknüpfung auf [" + Shown(elsewhere) + "]"},
      {target, MountKind::kVolumeRoot, "ist ein Stammverzeichnis"},
      {target, MountKind::kMountedFolder, "ist ein Einhängepunkt"},
      // A link is refused as a link first, whatever stands behind it.
      {link, MountKind::kMountedFolder, "ist eine symbolische Verknüpfung auf [" + Shown(elsewhere) + "]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    FaultyFileServices files;
    if (c.mount != MountKind::kNone) files.FakeMount(c.folder.filename().string(), c.mount);
    if (!real_link) files.FakeLink("Verweis", elsewhere);
    PresenterWindow w(tree.path(), files);
    ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
    ASSERT_TRUE(w.view.SetFolder(Side::kTarget, c.folder));
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.presenter.btnPath_Click(1);
    const auto boxes = MessageBoxes(w.dialogs);
    ASSERT_EQ(boxes.size(), std::size_t{1});
    EXPECT_EQ(boxes[0].text, Refusal(c.folder, c.why));
    EXPECT_EQ(boxes[0].title, "Verzeichnis löschen");
    EXPECT_FALSE(Called(files, "OpenFolderToRemove " + tavrin::PathText(c.folder)));
    EXPECT_EQ(Names(elsewhere), std::vector<std::string>{"bleibt.txt"});
    EXPECT_EQ(Names(target), std::vector<std::string>{"bleibt.txt"});
  }
}

#ifdef _WIN32
// The disk itself: every drive root is a volume root, however spelled; an ordinary folder is
// nothing mounted.
TEST(PresenterDeleteGuards, DriveRootsOfTheDiskAreRefused) {
  TempFolder tree;
  const fs::path source = Made(tree, "Quelle");
  const fs::path plain = Made(tree, "Ziel");
  tavrin::FileServices& disk = tavrin::DiskFileServices();
  EXPECT_EQ(disk.Mounted(plain), MountKind::kNone);
  EXPECT_EQ(disk.Mounted(tree.path()), MountKind::kNone);
  EXPECT_EQ(disk.Mounted(fs::path(L"\\\\?\\Z:\\")), MountKind::kVolumeRoot);
  for (const fs::path& root : {fs::path(L"C:\\"), fs::path(L"Z:\\"), fs::path(L"c:\\")}) {
    SCOPED_TRACE(root.string());
    EXPECT_EQ(disk.Mounted(root), MountKind::kVolumeRoot);
    EXPECT_EQ(disk.Mounted(root / "windows"), MountKind::kNone);
    const auto check = tavrin::CheckDeletion(disk, root, source);
    EXPECT_EQ(check.refusal, "Das Verzeichnis [" + root.string() + "] ist ein Stammverzeichnis und kann nicht gelöscht werden.");
    EXPECT_EQ(check.confirmed, nullptr);
  }
}
#endif

// The source and the folders above it, spelled otherwise than the source: through a link to a
// folder above them, and (Windows) in other letter case. Compared by what they are on the disk.
TEST(PresenterDeleteGuards, TheSourceAndWhatHoldsItHoweverSpelled) {
  TempFolder tree;
  const fs::path parent = Made(tree, "Eltern");
  const fs::path source = Made(tree, "Eltern/Quelle");
  tree.WriteFile("Eltern/Quelle/P.vbp", "x");
  const fs::path via = tree.path() / "Ueber";
  tavrin::testing::MakeLink(tree.path(), via, true);
  struct Case {
    fs::path folder;
    std::string why;
  };
  std::vector<Case> cases = {
      {via / "Eltern" / "Quelle", "ist das gewählte Quellverzeichnis"},
      {via / "Eltern", "enthält das gewählte Quellverzeichnis"},
  };
  if (tavrin::testing::kNamesIgnoreCase) {
    cases.push_back({tree.path() / "ELTERN" / "quelle", "ist das gewählte Quellverzeichnis"});
    cases.push_back({tree.path() / "eltern", "enthält das gewählte Quellverzeichnis"});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder.string());
    PresenterWindow w(tree.path());
    ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
    ASSERT_TRUE(w.view.SetFolder(Side::kTarget, c.folder));
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.presenter.btnPath_Click(1);
    const auto boxes = MessageBoxes(w.dialogs);
    ASSERT_EQ(boxes.size(), std::size_t{1});
    EXPECT_EQ(boxes[0].text, Refusal(c.folder, c.why));
    EXPECT_EQ(Names(source), std::vector<std::string>{"P.vbp"});
    EXPECT_EQ(Names(parent), std::vector<std::string>{"Quelle"});
  }
}

// While the question is open another folder takes the place of the one asked about (on Windows
// the folder held cannot be moved away, so the file services stand in): "Ja" deletes nothing
// in either folder, and says why.
TEST(PresenterDeleteGuards, AFolderReplacedWhileAskingIsNotDeleted) {
  TempFolder tree;
  const fs::path folder = Made(tree, "Eltern/Weg");
  tree.WriteFile("Eltern/Weg/bestaetigt.txt", "x");
  const fs::path other = Made(tree, "Anderes");
  tree.WriteFile("Anderes/fremd.txt", "x");
  FaultyFileServices files;
  PresenterWindow w(tree.path(), files);
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, folder));
  bool replaced = false;
  w.dialogs.while_shown = [&](const ScriptedDialogs::Shown&) {
    if (!replaced) replaced = files.ReplaceAt("Weg", other);
  };
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  w.presenter.btnPath_Click(1);
  ASSERT_TRUE(replaced);
  const auto boxes = MessageBoxes(w.dialogs);
  ASSERT_EQ(boxes.size(), std::size_t{2});
  EXPECT_EQ(boxes[1].text, "Das Verzeichnis [" + Shown(folder) +
                               "] wurde nach der Rückfrage durch ein anderes ersetzt und wird nicht gelöscht.");
  EXPECT_EQ(Names(folder), std::vector<std::string>{"bestaetigt.txt"});
  EXPECT_EQ(Names(other), std::vector<std::string>{"fremd.txt"});
  EXPECT_FALSE(Called(files, "RemoveItself " + tavrin::PathText(folder)));
  EXPECT_FALSE(Called(files, "RemoveFolder " + tavrin::PathText(folder)));
}

// "Ja" on a folder that stayed: its files go, then the folder itself, on Windows through the
// handle held since the question (which nobody could rename or remove meanwhile); a folder that
// resists its removal stays, silently.
TEST(PresenterDeleteGuards, TheFolderConfirmedGoesThroughItsHandle) {
  for (const bool resists : {false, true}) {
    SCOPED_TRACE(resists);
    TempFolder tree;
    const fs::path folder = Made(tree, "Eltern/Weg");
    tree.WriteFile("Eltern/Weg/a.txt", "x");
    tree.WriteFile("Eltern/Weg/b.frm", "x");
    FaultyFileServices files;
    if (resists) files.FailRemoveFolder("Weg", EACCES);
    PresenterWindow w(tree.path(), files);
    ASSERT_TRUE(w.view.SetFolder(Side::kTarget, folder));
    bool moved = true;
    w.dialogs.while_shown = [&](const ScriptedDialogs::Shown&) {
      std::error_code error;
      fs::rename(folder, tree.path() / "Weg.alt", error);
      moved = !error;
      if (moved) fs::rename(tree.path() / "Weg.alt", folder, error);
      w.dialogs.while_shown = nullptr;
    };
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
    w.presenter.btnPath_Click(1);
    EXPECT_EQ(MessageBoxes(w.dialogs).size(), std::size_t{1});
    const std::string removal = tavrin::testing::kWindows ? "RemoveItself " : "RemoveFolder ";
    EXPECT_TRUE(Called(files, removal + tavrin::PathText(folder)));
    if (tavrin::testing::kWindows) {
      EXPECT_FALSE(moved);
      EXPECT_FALSE(Called(files, "RemoveFolder " + tavrin::PathText(folder)));
    }
    if (resists) {
      EXPECT_TRUE(fs::is_directory(folder));
      EXPECT_TRUE(Names(folder).empty());
    } else {
      EXPECT_FALSE(fs::exists(folder));
    }
    EXPECT_EQ(w.view.Folder(Side::kTarget), folder.parent_path());
  }
}

}  // namespace
