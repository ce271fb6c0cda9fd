// The handlers that follow the choice of drives, folders and pages, run by the presenter on a
// recording view, with real folders: start-up, lbPrj and lbCr, the status bar, the convert
// button, the progress text, drives that cannot be read.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/window/presenter/presenter_window.h"
#include "window/presenter/colours.h"

namespace fs = std::filesystem;
using tavrin::Side;
using tavrin::testing::MessageBoxes;
using tavrin::testing::PresenterWindow;
using tavrin::testing::Shown;
using tavrin::testing::Made;
using tavrin::testing::TempFolder;

namespace {

constexpr const char* kIdleInfo = "Bearbeite: keine Bearbeitung aktiv......";

// Start-up: the caption, both answers for the folder the lists open on, page 0 in front with
// its folder in the status bar and the idle text in lbInfo; the handlers in that order.
TEST(PresenterStartUp, ShowsTheStateOfTheStartFolder) {
  const struct {
    std::vector<std::string> files;
    bool project;
    bool free;
  } cases[] = {
      {{"Projekt1.vbp"}, true, false},
      {{"PROJEKT1.VBP"}, true, false},
      {{"Form1.frm"}, false, false},
      {{}, false, true},
      {{"Unter/Form1.frm"}, false, true},
#ifndef _WIN32
      {{".versteckt"}, false, true},  // a dot file is hidden here, on Windows by its attribute only
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.files.empty() ? std::string("empty") : c.files[0]);
    TempFolder tree;
    const fs::path start = tree.MakeFolder("Start");
    for (const std::string& file : c.files) tree.WriteFile(fs::path("Start") / file, "x");
    PresenterWindow w(start);
    EXPECT_EQ(w.view.caption, "CommonControls - Projektkonvertierung");
    EXPECT_FALSE(w.presenter.loaded());
    EXPECT_TRUE(w.view.raised.empty());
    w.presenter.Form_Load();
    EXPECT_TRUE(w.presenter.loaded());
    EXPECT_EQ(w.view.AnswerOf(Side::kSource).text, c.project ? "Ja" : "Nein");
    EXPECT_EQ(w.view.AnswerOf(Side::kSource).colour, c.project ? tavrin::kColourHighlight : tavrin::kColourRed);
    EXPECT_EQ(w.view.AnswerOf(Side::kTarget).text, c.free ? "Ja" : "Nein");
    EXPECT_EQ(w.view.AnswerOf(Side::kTarget).colour, c.free ? tavrin::kColourHighlight : tavrin::kColourRed);
    EXPECT_EQ(w.view.page, 0);
    EXPECT_EQ(w.view.raised, std::vector<std::string>{"SSTab1_Click 0"});
    EXPECT_EQ(w.view.status, Shown(start));
    EXPECT_EQ(w.view.info, kIdleInfo);
    EXPECT_EQ(w.presenter.QuellPfad(), fs::path(Shown(start)));
    EXPECT_EQ(w.presenter.ZielPfad(), fs::path(Shown(start)));
  }
}

// A folder change shows its answer (colour first, then text) and its folder; nothing else.
TEST(PresenterFolders, ChangeShowsTheAnswerAndTheFolder) {
  TempFolder tree;
  const fs::path project = tree.MakeFolder("Projekt");
  tree.WriteFile("Projekt/P.vbp", "x");
  const fs::path plain = tree.MakeFolder("Leer");
  const fs::path filled = tree.MakeFolder("Voll");
  tree.WriteFile("Voll/a.txt", "x");
  tree.MakeFolder("Voll/.versteckt");
  PresenterWindow w(tree.path());
  w.presenter.Form_Load();
  const bool enabled_before = w.view.convert_enabled;
  const struct {
    Side side;
    fs::path folder;
    const char* answer;
  } steps[] = {
      {Side::kSource, project, "Ja"}, {Side::kSource, plain, "Nein"}, {Side::kSource, filled, "Nein"},
      {Side::kTarget, plain, "Ja"},   {Side::kTarget, filled, "Nein"}, {Side::kTarget, project, "Nein"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.folder.string());
    const std::string info_before = w.view.info;
    ASSERT_TRUE(w.view.SetFolder(step.side, step.folder));
    EXPECT_EQ(w.view.AnswerOf(step.side).text, step.answer);
    EXPECT_EQ(w.view.AnswerOf(step.side).colour,
              std::string(step.answer) == "Ja" ? tavrin::kColourHighlight : tavrin::kColourRed);
    EXPECT_EQ(w.view.status, Shown(step.folder));
    EXPECT_EQ(w.view.info, info_before);
    EXPECT_EQ(w.view.page, 0);
  }
  EXPECT_EQ(w.view.convert_enabled, enabled_before);  // folder changes leave the button alone
  // The same folder again raises no change and writes nothing.
  const std::size_t written = w.view.statuses.size();
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, project));
  EXPECT_EQ(w.view.statuses.size(), written);
}

// Page 2 compares the two folder paths only: enabled for distinct folders whatever they hold,
// disabled for one folder; pages 0 and 1 leave the button and never refresh the answers.
TEST(PresenterPages, ConversionPageComparesTheTwoFolderPaths) {
  TempFolder tree;
  const fs::path a = tree.MakeFolder("A");
  const fs::path b = tree.MakeFolder("B");
  tree.WriteFile("B/a.txt", "x");  // no project in A, files in B: still distinct
  PresenterWindow w(tree.path());
  w.presenter.Form_Load();
  ASSERT_TRUE(w.view.SetFolder(Side::kSource, a));
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, a));
  w.view.ClickTab(2);
  EXPECT_FALSE(w.view.convert_enabled);
  EXPECT_EQ(w.view.status, "Bitte wählen Sie ein anderes Projekt oder ein anderes Zielverzeichnis...");
  w.view.ClickTab(1);
  EXPECT_FALSE(w.view.convert_enabled);
  EXPECT_EQ(w.view.status, Shown(a));
  EXPECT_EQ(w.view.info, kIdleInfo);
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, b));
  tree.WriteFile("A/P.vbp", "x");  // the answers stay until a folder changes
  w.view.ClickTab(0);
  EXPECT_EQ(w.view.status, Shown(a));
  EXPECT_EQ(w.view.AnswerOf(Side::kSource).text, "Nein");
  w.view.info = "anders";
  w.view.ClickTab(2);
  EXPECT_TRUE(w.view.convert_enabled);
  EXPECT_EQ(w.view.status, "Konvertierung kann durchgeführt werden...");
  EXPECT_EQ(w.view.info, "anders");  // page 2 leaves lbInfo alone
  EXPECT_EQ(w.view.AnswerOf(Side::kSource).text, "Nein");
  // Pages outside 0 to 2 do nothing.
  const std::size_t written = w.view.statuses.size();
  w.view.ClickTab(3);
  EXPECT_EQ(w.view.statuses.size(), written);
  EXPECT_TRUE(w.view.convert_enabled);
}

TEST(PresenterWriteInfo, FormatsTheProgressText) {
  const struct {
    std::string text;
    std::int32_t wert;
    std::string shown;
  } cases[] = {
      {"abc", 0, "Bearbeite: abc..."},
      {"abc", -3, "Bearbeite: abc [-3]..."},
      {"", 0, "Bearbeite: ..."},
      {"x", 1, "Bearbeite: x [1]..."},
      {"x", INT32_MAX, "Bearbeite: x [2147483647]..."},
      {"x", INT32_MIN, "Bearbeite: x [-2147483648]..."},
      // Names are shown escaped: one line, never looking like another name.
      {"a\nb", 0, "Bearbeite: a\\nb..."},
      {std::string("Gr\xFC\xDF.frm"), 2, "Bearbeite: Gr\\xFC\\xDF.frm [2]..."},
  };
  TempFolder tree;
  PresenterWindow w(tree.path());
  for (const auto& c : cases) {
    const std::size_t before = w.view.infos.size();
    w.presenter.WriteInfo(c.text, c.wert);
    EXPECT_EQ(w.view.info, c.shown);
    EXPECT_EQ(w.view.infos.size(), before + 1);  // one write (and repaint) per call
  }
}

// Picking a drive opens it and runs the folder's change handler; a drive that cannot be read
// is named in a message, and the drive list returns to the drive of the folder still shown.
TEST(PresenterDrives, PickedDriveOpensOrIsReported) {
  TempFolder tree;
  const fs::path start = tree.MakeFolder("Start");
  const fs::path drive = tree.MakeFolder("Platte");
  tree.WriteFile("Platte/P.vbp", "x");
  const fs::path gone = tree.path() / "Weg";
  PresenterWindow w(start, tavrin::DiskFileServices(), {start.root_path(), drive, gone});
  w.presenter.Form_Load();
  w.view.PickDrive(Side::kSource, drive);
  EXPECT_EQ(w.view.Folder(Side::kSource), drive);
  EXPECT_EQ(w.view.AnswerOf(Side::kSource).text, "Ja");
  EXPECT_EQ(w.view.status, Shown(drive));
  EXPECT_TRUE(w.dialogs.shown().empty());

  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  w.view.PickDrive(Side::kTarget, gone);
  const auto boxes = MessageBoxes(w.dialogs);
  ASSERT_EQ(boxes.size(), std::size_t{1});
  EXPECT_EQ(boxes[0].text, "Das Laufwerk [" + tavrin::PathText(gone) + "] kann nicht gelesen werden.");
  EXPECT_EQ(boxes[0].title, "Laufwerk");
  EXPECT_EQ(boxes[0].style, tavrin::kButtonsOk + tavrin::kIconExclamation);
  EXPECT_EQ(w.view.Folder(Side::kTarget), start);
  EXPECT_EQ(w.view.Drive(Side::kTarget), start.root_path());
  EXPECT_EQ(w.view.Drive(Side::kSource), drive);
}

// The conversion host's services reach the dialog services, the pointer the view.
TEST(PresenterHost, ServicesGoThroughTheDialogServices) {
  TempFolder tree;
  PresenterWindow w(tree.path());
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerNo);
  EXPECT_EQ(w.presenter.MessageBox("Text", tavrin::kButtonsYesNo, "Titel"), tavrin::kAnswerNo);
  ASSERT_EQ(w.dialogs.shown().size(), std::size_t{1});
  EXPECT_EQ(w.dialogs.shown()[0].text, "Text");
  EXPECT_EQ(w.dialogs.shown()[0].title, "Titel");
  w.presenter.DoEvents();
  EXPECT_EQ(w.dialogs.do_events(), 1);
  // The pointer is the view's.
  w.presenter.SetMousePointer(tavrin::kPointerBusy);
  w.presenter.SetMousePointer(tavrin::kPointerNormal);
  EXPECT_EQ(w.view.busy_pointer, (std::vector<bool>{true, false}));
  EXPECT_TRUE(w.dialogs.pointers().empty());
}

}  // namespace
