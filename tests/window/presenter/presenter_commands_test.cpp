// The commands of the toolbar and the buttons, the conversion from the window, closing during
// a pass and the two folder commands, run by the presenter on a recording view with scripted
// dialogs and real temporary folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "conversion/conversion_request.h"
#include "tests/support/faulty_file_services.h"
#include "tests/window/presenter/presenter_window.h"
#include "window/presenter/colours.h"

namespace fs = std::filesystem;
using tavrin::RequestResult;
using tavrin::Side;
using tavrin::testing::FaultyFileServices;
using tavrin::testing::MessageBoxes;
using tavrin::testing::PresenterWindow;
using tavrin::testing::ReadFile;
using tavrin::testing::ScriptedDialogs;
using tavrin::testing::Shown;
using tavrin::testing::Made;
using tavrin::testing::TempFolder;

namespace {

constexpr int kInformation = tavrin::kButtonsOk + tavrin::kIconInformation;
constexpr int kExclamation = tavrin::kButtonsOk + tavrin::kIconExclamation;

const std::string kAbout =
    "Aktualisierung der Common Control-Steuerelemente der Version 5.0 \r\n"
    "zur Version 6.0 unter Anlage einer Projektkopie in einem neuen Projektverzeichnis.\r\n"
    "\r\n"
    "© 2026 Tavrin-Projekt";

std::string Summary(const fs::path& source, const fs::path& target, const char* answer) {
  return "Aktuell wurden gewählt: \r\n\r\nQuellverzeichnis: " + Shown(source) + "\r\nZielverzeichnis: " +
         Shown(target) + "\r\nKonvertierung möglich: " + answer;
}

std::string Question(const fs::path& folder) {
  return "Wollen Sie das aktuelle Verzeichnis [" + Shown(folder) +
         "] wirklich löschen (Es werden keine Unterverzeichnisse entfernt!)?";
}

// A small project: the project file, a form naming the old library, a module, a binary file.
void MakeProject(const TempFolder& tree, const fs::path& folder) {
  tree.WriteFile(folder / "Projekt1.vbp", "Type=Exe\r\nObject={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX\r\n");
  tree.WriteFile(folder / "Form1.frm", "VERSION 5.00\r\n   Begin ComctlLib.ListView ListView1\r\n");
  tree.WriteFile(folder / "Modul1.bas", "Attribute VB_Name = \"Modul1\"\r\n");
  tree.WriteFile(folder / "Form1.frx", std::string("\x00\x01\xFF\r\n", 5));
}

// The names directly in `folder`, sorted.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Pages 1 and 2 by buttons 1 and 2; indexes outside 1 to 5 do nothing at all.
TEST(PresenterToolbar, PageButtonsAndIndexesOutsideTheRange) {
  TempFolder tree;
  PresenterWindow w(tree.path());
  w.presenter.Form_Load();
  w.presenter.Toolbar1_ButtonClick(2);
  EXPECT_EQ(w.view.page, 1);
  w.presenter.Toolbar1_ButtonClick(1);
  EXPECT_EQ(w.view.page, 0);
  const std::vector<std::string> raised = w.view.raised;
  const std::vector<std::string> statuses = w.view.statuses;
  for (int index : {0, 6, -1, 32767}) w.presenter.Toolbar1_ButtonClick(index);
  EXPECT_EQ(w.view.raised, raised);
  EXPECT_EQ(w.view.statuses, statuses);
  EXPECT_TRUE(w.dialogs.shown().empty());
  for (int index : {2, 3, -1}) w.presenter.btnPath_Click(index);  // only 0 and 1 are commands
  EXPECT_TRUE(w.dialogs.shown().empty());
}

// The about message from btnConvert(1), toolbar button 5, any other index of btnConvert, and
// prgAbout itself; the page stays.
TEST(PresenterToolbar, AboutMessageFromEveryPlace) {
  TempFolder tree;
  PresenterWindow w(tree.path());
  w.presenter.Form_Load();
  for (int answer = 0; answer < 4; ++answer) w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  w.presenter.btnConvert_Click(1);
  w.presenter.Toolbar1_ButtonClick(5);
  w.presenter.btnConvert_Click(7);
  w.presenter.prgAbout();
  EXPECT_TRUE(w.dialogs.script_used_up());
  const auto boxes = MessageBoxes(w.dialogs);
  ASSERT_EQ(boxes.size(), std::size_t{4});
  for (const auto& box : boxes) {
    EXPECT_EQ(box.text, kAbout);
    EXPECT_EQ(box.style, kInformation);
    EXPECT_EQ(box.title, "Information");
  }
  EXPECT_EQ(w.view.page, 0);
}

// The summary answers "ja" exactly when the request then runs the pass, and changes nothing.
TEST(PresenterToolbar, SummaryAnswersAsTheRequestDecides) {
  const struct {
    const char* source;
    const char* target;
    std::vector<std::string> files;
    bool possible;
  } cases[] = {
      {"Quelle", "Ziel", {"Quelle/P.vbp"}, true},
      {"Quelle", "Quelle", {"Quelle/P.vbp"}, false},
      {"Ziel", "Ziel", {}, false},
      {"Quelle", "Ziel", {"Quelle/P.vbp", "Ziel/Unter/a.txt"}, true},
#ifndef _WIN32
      // A dot file is hidden here (on Windows only the file's attribute hides it).
      {"Quelle", "Ziel", {"Quelle/P.vbp", "Ziel/.versteckt"}, true},
#endif
      {"Quelle", "Ziel", {"Quelle/Form1.frm"}, false},
      {"Quelle", "Ziel", {"Quelle/P.vbp", "Ziel/a"}, false},
      {"Quelle", "Ziel", {"Quelle/P.VBP"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.source) + " " + c.target);
    TempFolder tree;
    const fs::path source = tree.MakeFolder(c.source);
    const fs::path target = tree.MakeFolder(c.target);
    for (const std::string& file : c.files) tree.WriteFile(file, "x\r\n");
    PresenterWindow w(tree.path());
    w.presenter.Form_Load();
    ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
    ASSERT_TRUE(w.view.SetFolder(Side::kTarget, target));
    w.view.ClickTab(1);
    const std::vector<std::string> names = Names(target);
    const std::string status = w.view.status;
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.presenter.Toolbar1_ButtonClick(4);
    const auto boxes = MessageBoxes(w.dialogs);
    ASSERT_EQ(boxes.size(), std::size_t{1});
    EXPECT_EQ(boxes[0].text, Summary(source, target, c.possible ? "ja" : "nein"));
    EXPECT_EQ(boxes[0].style, kInformation);
    EXPECT_EQ(boxes[0].title, "Information");
    EXPECT_EQ(Names(target), names);
    EXPECT_EQ(w.view.page, 1);
    EXPECT_EQ(w.view.status, status);
    if (!c.possible) w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    EXPECT_EQ(w.presenter.Tavrin().outcome == RequestResult::Outcome::kConverted, c.possible);
    EXPECT_TRUE(w.dialogs.script_used_up());
  }
}

// A target that cannot be listed is not free.
TEST(PresenterToolbar, SummaryOnATargetThatCannotBeListed) {
  TempFolder tree;
  const fs::path source = tree.MakeFolder("Quelle");
  tree.WriteFile("Quelle/P.vbp", "x");
  const fs::path target = tree.MakeFolder("Ziel");
  FaultyFileServices files;
  PresenterWindow w(tree.path(), files);
  ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, target));
  files.FailList("Ziel", EACCES);
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  w.presenter.Toolbar1_ButtonClick(4);
  ASSERT_EQ(MessageBoxes(w.dialogs).size(), std::size_t{1});
  EXPECT_EQ(MessageBoxes(w.dialogs)[0].text, Summary(source, target, "nein"));
}

// Command 3: the page first, then the button's state decides. One folder: page 2, button
// disabled, no request, no box. Distinct folders: the request runs and gives its own reason.
TEST(PresenterConvert, CommandThreeReadsTheButtonAfterThePage) {
  TempFolder tree;
  const fs::path a = tree.MakeFolder("A");
  const fs::path b = tree.MakeFolder("B");
  PresenterWindow w(tree.path());
  w.presenter.Form_Load();
  ASSERT_TRUE(w.view.SetFolder(Side::kSource, a));
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, a));
  w.view.convert_enabled = true;  // stale from before: the page handler must set it first
  w.presenter.Toolbar1_ButtonClick(3);
  EXPECT_EQ(w.view.page, 2);
  EXPECT_FALSE(w.view.convert_enabled);
  EXPECT_TRUE(w.dialogs.shown().empty());

  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, b));
  w.presenter.Toolbar1_ButtonClick(3);  // page 2 already in front: its handler does not run again
  EXPECT_FALSE(w.view.convert_enabled);
  EXPECT_TRUE(w.dialogs.shown().empty());
  w.view.ClickTab(0);
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  w.presenter.Toolbar1_ButtonClick(3);
  EXPECT_TRUE(w.view.convert_enabled);
  const auto boxes = MessageBoxes(w.dialogs);
  ASSERT_EQ(boxes.size(), std::size_t{1});
  EXPECT_EQ(boxes[0].title, "Konvertierungsfehler");
  EXPECT_EQ(boxes[0].style, kExclamation);
  // btnConvert(0) asks the request without looking at the button.
  w.view.convert_enabled = false;
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  w.presenter.btnConvert_Click(0);
  EXPECT_EQ(MessageBoxes(w.dialogs).size(), std::size_t{2});
}

// A refusal may come from folders changed behind the window's back: afterwards the lists,
// the answers, the status bar and the button show what is on disk now.
TEST(PresenterConvert, RefusalShowsWhatIsOnDiskNow) {
  TempFolder tree;
  const fs::path source = tree.MakeFolder("Quelle");
  tree.WriteFile("Quelle/P.vbp", "x");
  const fs::path target = Made(tree, "Eltern/Ziel");
  PresenterWindow w(tree.path());
  w.presenter.Form_Load();
  ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, target));
  w.view.ClickTab(2);
  EXPECT_EQ(w.view.AnswerOf(Side::kTarget).text, "Ja");
  fs::remove_all(target);  // gone behind the window's back
  tree.WriteFile("Eltern/a.txt", "x");
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  EXPECT_EQ(w.presenter.Tavrin().outcome, RequestResult::Outcome::kRefused);
  EXPECT_EQ(w.view.Folder(Side::kTarget), tree.path() / "Eltern");
  EXPECT_EQ(w.view.AnswerOf(Side::kTarget).text, "Nein");
  EXPECT_EQ(w.view.AnswerOf(Side::kTarget).colour, tavrin::kColourRed);
  EXPECT_EQ(w.view.status, "Konvertierung kann durchgeführt werden...");  // page 2 in front
  EXPECT_TRUE(w.view.convert_enabled);
}

// A pass from the window: a text per file before it is handled, a pause for events per text
// file with the busy pointer on, the closing text, and the target's state afterwards.
TEST(PresenterConvert, ConversionReportsAsItGoes) {
  TempFolder tree;
  const fs::path source = tree.MakeFolder("Quelle");
  MakeProject(tree, "Quelle");
  const fs::path target = tree.MakeFolder("Ziel");
  PresenterWindow w(tree.path());
  w.presenter.Form_Load();
  ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, target));
  std::vector<std::string> paused_at;
  std::vector<bool> converting;
  w.dialogs.during_do_events = [&] {
    paused_at.push_back(w.view.info);
    converting.push_back(w.presenter.converting() && w.view.busy_pointer == std::vector<bool>{true});
  };
  w.presenter.Toolbar1_ButtonClick(3);
  EXPECT_EQ(paused_at, (std::vector<std::string>{"Bearbeite: Form1.frm...", "Bearbeite: Modul1.bas...",
                                                 "Bearbeite: Projekt1.vbp..."}));
  EXPECT_EQ(converting, std::vector<bool>(3, true));
  EXPECT_FALSE(w.presenter.converting());
  EXPECT_EQ(w.view.busy_pointer, (std::vector<bool>{true, false}));
  EXPECT_TRUE(w.dialogs.pointers().empty());
  std::vector<std::string> file_texts;
  for (const std::string& info : w.view.infos) {
    if (info.find(" [") == std::string::npos && (file_texts.empty() || file_texts.back() != info))
      file_texts.push_back(info);
  }
  EXPECT_EQ(file_texts, (std::vector<std::string>{
                            "Bearbeite: keine Bearbeitung aktiv......", "Bearbeite: Form1.frm...",
                            "Bearbeite: Form1.frx...", "Bearbeite: Modul1.bas...", "Bearbeite: Projekt1.vbp...",
                            "Bearbeite: Konvertierung abgeschlossen......"}));
  EXPECT_EQ(w.view.AnswerOf(Side::kTarget).text, "Nein");
  EXPECT_EQ(w.view.status, Shown(target));
  EXPECT_TRUE(w.dialogs.shown().empty());
  EXPECT_EQ(Names(target), Names(source));
  EXPECT_EQ(ReadFile(target / "Form1.frm"), "VERSION 5.00\r\n   Begin MSComctlLib.ListView ListView1\r\n");
  EXPECT_EQ(ReadFile(target / "Form1.frx"), std::string("\x00\x01\xFF\r\n", 5));
}

// Commands during the pass's pauses: a second request starts no pass, the folder commands are
// refused with a message, and the pass goes on with the folders it started with.
TEST(PresenterConvert, CommandsDuringThePassDoNotRedirectIt) {
  TempFolder tree;
  const fs::path source = tree.MakeFolder("Quelle");
  MakeProject(tree, "Quelle");
  const fs::path target = tree.MakeFolder("Ziel");
  const fs::path other = tree.MakeFolder("Anderes");
  PresenterWindow w(tree.path());
  ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, target));
  int nested = 0;
  w.dialogs.during_do_events = [&] {
    if (w.presenter.Tavrin().outcome == RequestResult::Outcome::kAlreadyRunning) ++nested;
    w.view.SetFolder(Side::kTarget, other);
    w.view.SetFolder(Side::kSource, other);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.presenter.btnPath_Click(0);
    w.presenter.btnPath_Click(1);
  };
  EXPECT_EQ(w.presenter.Tavrin().outcome, RequestResult::Outcome::kConverted);
  EXPECT_EQ(nested, 3);
  EXPECT_TRUE(w.dialogs.script_used_up());
  const auto boxes = MessageBoxes(w.dialogs);
  ASSERT_EQ(boxes.size(), std::size_t{6});
  for (std::size_t box = 0; box < boxes.size(); box += 2) {
    EXPECT_EQ(boxes[box].text, "Während einer Konvertierung können keine Verzeichnisse angelegt werden.");
    EXPECT_EQ(boxes[box].title, "Neues Verzeichnis");
    EXPECT_EQ(boxes[box + 1].text, "Während einer Konvertierung können keine Verzeichnisse gelöscht werden.");
    EXPECT_EQ(boxes[box + 1].title, "Verzeichnis löschen");
    EXPECT_EQ(boxes[box + 1].style, kExclamation);
  }
  EXPECT_EQ(Names(target), Names(source));
  EXPECT_TRUE(Names(other).empty());
  EXPECT_EQ(w.view.busy_pointer, (std::vector<bool>{true, false}));
  EXPECT_TRUE(w.dialogs.pointers().empty());
  // The closing display follows the target list as it is now.
  EXPECT_EQ(w.view.status, Shown(other));
}

// Closing during the pass: the window stays until the pass has ended and says so in the
// status bar, also when a page changes; then it closes. Without a pass it closes at once.
TEST(PresenterClose, ClosingDuringThePassWaitsForItsEnd) {
  TempFolder tree;
  const fs::path source = tree.MakeFolder("Quelle");
  MakeProject(tree, "Quelle");
  const fs::path target = tree.MakeFolder("Ziel");
  PresenterWindow w(tree.path());
  w.presenter.Form_Load();
  ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, target));
  int refused = 0;
  std::vector<std::string> statuses;
  w.dialogs.during_do_events = [&] {
    if (!w.view.CloseBox()) ++refused;
    w.view.ClickTab((refused + 1) % 3);
    statuses.push_back(w.view.status);
  };
  w.presenter.Toolbar1_ButtonClick(3);
  EXPECT_EQ(refused, 3);
  EXPECT_EQ(statuses, std::vector<std::string>(3, "Das Fenster wird nach der Konvertierung geschlossen..."));
  EXPECT_TRUE(w.view.closed);
  EXPECT_EQ(Names(target), Names(source));
  EXPECT_TRUE(w.dialogs.shown().empty());

  // No pass: at once; a refused request is no pass either.
  PresenterWindow idle(tree.path());
  EXPECT_TRUE(idle.view.CloseBox());
  idle.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  EXPECT_EQ(idle.presenter.Tavrin().outcome, RequestResult::Outcome::kRefused);
  EXPECT_TRUE(idle.view.CloseBox());
  EXPECT_NE(idle.view.status, "Das Fenster wird nach der Konvertierung geschlossen...");
}

// "&Neu...": the name is made inside the target as entered; Cancel, an empty field and names
// that would make anything but one folder inside the target make nothing, silently. The
// lists are refreshed whatever the answer.
TEST(PresenterFolderCommands, NewFolder) {
  const struct {
    std::string name;
    bool made;
  } cases[] = {{"Test", true}, {" Leer zeichen", true}, {"", false},    {".", false},
               {"..", false},  {"a/b", false},           {"Da", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE("[" + c.name + "]");
    TempFolder tree;
    const fs::path target = tree.MakeFolder("Ziel");
    tree.MakeFolder("Ziel/Da");
    tree.WriteFile("Ziel/Da/a.txt", "bleibt");
    PresenterWindow w(tree.path());
    w.presenter.Form_Load();
    ASSERT_TRUE(w.view.SetFolder(Side::kTarget, target));
    w.view.ClickTab(1);
    EXPECT_EQ(w.view.AnswerOf(Side::kTarget).text, "Ja");
    w.dialogs.while_shown = [&](const ScriptedDialogs::Shown&) { tree.WriteFile("Ziel/neu.txt", "x"); };
    w.dialogs.AnswerNextInputBox(c.name);
    w.presenter.btnPath_Click(0);
    ASSERT_EQ(w.dialogs.shown().size(), std::size_t{1});
    EXPECT_EQ(w.dialogs.shown()[0].kind, ScriptedDialogs::Kind::kInputBox);
    EXPECT_EQ(w.dialogs.shown()[0].title, "Neues Verzeichnis");
    std::vector<std::string> expected = {"Da", "neu.txt"};
    if (c.made && c.name != "Da") expected.push_back(c.name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(target), expected);
    EXPECT_EQ(ReadFile(target / "Da" / "a.txt"), "bleibt");
    // The refresh: the list stays, and the answer tells of the file made meanwhile.
    EXPECT_EQ(w.view.Folder(Side::kTarget), target);
    EXPECT_EQ(w.view.AnswerOf(Side::kTarget).text, "Nein");
    EXPECT_EQ(w.view.status, Shown(target));
  }
}

// A folder that cannot be made: nothing is said.
TEST(PresenterFolderCommands, NewFolderThatCannotBeMadeIsSilent) {
  TempFolder tree;
  const fs::path target = tree.MakeFolder("Ziel");
  FaultyFileServices files;
  files.FailMakeFolder("Test", EACCES);
  PresenterWindow w(tree.path(), files);
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, target));
  w.dialogs.AnswerNextInputBox("Test");
  w.presenter.btnPath_Click(0);
  EXPECT_TRUE(Names(target).empty());
  EXPECT_EQ(std::count(files.calls.begin(), files.calls.end(), "MakeFolder " + (target / "Test").string()), 1);
  EXPECT_EQ(w.dialogs.shown().size(), std::size_t{1});
}

// "&Löschen...": No keeps everything; Yes moves the list to the parent first, deletes the
// folder's own ordinary files, and removes the folder when nothing is left in it.
TEST(PresenterFolderCommands, DeleteAnsweredNoOrYes) {
  const struct {
    int answer;
    std::vector<std::string> files;
    std::vector<std::string> left;  // what stays in the folder; nothing: the folder is gone
  } cases[] = {
      {tavrin::kAnswerNo, {"a.txt"}, {"a.txt"}},
      {tavrin::kAnswerYes, {"a.txt", "Form1.frm", "P.vbp"}, {}},
      {tavrin::kAnswerYes, {}, {}},
      {tavrin::kAnswerYes, {"a.txt", "Unter/b.txt"}, {"Unter"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    TempFolder tree;
    const fs::path source = tree.MakeFolder("Quelle");
    tree.WriteFile("Quelle/P.vbp", "x");
    const fs::path parent = tree.MakeFolder("Eltern");
    tree.WriteFile("Eltern/bleibt.txt", "bleibt");
    const fs::path folder = Made(tree, "Eltern/Weg");
    for (const std::string& file : c.files) tree.WriteFile(fs::path("Eltern/Weg") / file, "x");
    PresenterWindow w(tree.path());
    w.presenter.Form_Load();
    ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
    ASSERT_TRUE(w.view.SetFolder(Side::kTarget, folder));
    w.view.ClickTab(1);
    w.dialogs.AnswerNextMessageBox(c.answer);
    w.presenter.btnPath_Click(1);
    const auto boxes = MessageBoxes(w.dialogs);
    ASSERT_EQ(boxes.size(), std::size_t{1});
    EXPECT_EQ(boxes[0].text, Question(folder));
    EXPECT_EQ(boxes[0].style, tavrin::kButtonsYesNo + tavrin::kIconQuestion + tavrin::kDefaultButton2);
    EXPECT_EQ(boxes[0].default_answer, tavrin::kAnswerNo);  // Enter alone keeps the files
    EXPECT_EQ(boxes[0].title, "Verzeichnis löschen");
    EXPECT_EQ(ReadFile(parent / "bleibt.txt"), "bleibt");
    EXPECT_EQ(Names(source), std::vector<std::string>{"P.vbp"});
    if (c.answer == tavrin::kAnswerNo) {
      EXPECT_EQ(w.view.Folder(Side::kTarget), folder);
      EXPECT_EQ(Names(folder), c.left);
      continue;
    }
    EXPECT_EQ(w.view.Folder(Side::kTarget), parent);
    EXPECT_EQ(w.view.status, Shown(parent));
    EXPECT_EQ(w.view.AnswerOf(Side::kTarget).text, "Nein");  // the parent holds a file
    if (c.left.empty())
      EXPECT_FALSE(fs::exists(folder));
    else
      EXPECT_EQ(Names(folder), c.left);
  }
}

// Refused folders: a message instead of the question, and nothing changes.
TEST(PresenterFolderCommands, DeleteRefusesTheSourceAndWhatHoldsIt) {
  TempFolder tree;
  const fs::path parent = tree.MakeFolder("Eltern");
  tree.WriteFile("Eltern/a.txt", "x");
  const fs::path source = Made(tree, "Eltern/Quelle");
  tree.WriteFile("Eltern/Quelle/P.vbp", "x");
  const struct {
    fs::path folder;
    std::string why;
  } cases[] = {
      {source, "ist das gewählte Quellverzeichnis"},
      {parent, "enthält das gewählte Quellverzeichnis"},
  };
  for (const auto& c : cases) {
    PresenterWindow w(tree.path());
    ASSERT_TRUE(w.view.SetFolder(Side::kSource, source));
    ASSERT_TRUE(w.view.SetFolder(Side::kTarget, c.folder));
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.presenter.btnPath_Click(1);
    const auto boxes = MessageBoxes(w.dialogs);
    ASSERT_EQ(boxes.size(), std::size_t{1});
    EXPECT_EQ(boxes[0].text, "Das Verzeichnis [" + Shown(c.folder) + "] " + c.why + " und kann nicht gelöscht werden.");
    EXPECT_EQ(boxes[0].style, kExclamation);
    EXPECT_EQ(w.view.Folder(Side::kTarget), c.folder);
    EXPECT_EQ(Names(parent), (std::vector<std::string>{"Quelle", "a.txt"}));
    EXPECT_EQ(Names(source), std::vector<std::string>{"P.vbp"});
  }
}

// While the question is open another folder takes the place of the one asked about: "Ja"
// then deletes nothing, and says why.
TEST(PresenterFolderCommands, DeleteActsOnlyOnTheFolderConfirmed) {
  TempFolder tree;
  const fs::path folder = Made(tree, "Eltern/Weg");
  tree.WriteFile("Eltern/Weg/bestaetigt.txt", "x");
  PresenterWindow w(tree.path());
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, folder));
  bool moved = false;
  w.dialogs.while_shown = [&](const ScriptedDialogs::Shown&) {
    std::error_code error;
    fs::rename(folder, tree.path() / "Weg.alt", error);
    moved = !error;
    if (moved) tree.WriteFile("Eltern/Weg/neu.txt", "neu");
    w.dialogs.while_shown = nullptr;
  };
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
#ifdef _WIN32
  // The folder asked about is held open without delete sharing: it cannot be moved away, and
  // "Ja" deletes it.
  w.presenter.btnPath_Click(1);
  EXPECT_FALSE(moved);
  EXPECT_EQ(MessageBoxes(w.dialogs).size(), std::size_t{1});
  EXPECT_FALSE(fs::exists(folder));
#else
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  w.presenter.btnPath_Click(1);
  ASSERT_TRUE(moved);
  const auto boxes = MessageBoxes(w.dialogs);
  ASSERT_EQ(boxes.size(), std::size_t{2});
  EXPECT_EQ(boxes[1].text, "Das Verzeichnis [" + Shown(folder) +
                               "] wurde nach der Rückfrage durch ein anderes ersetzt und wird nicht gelöscht.");
  EXPECT_EQ(Names(folder), std::vector<std::string>{"neu.txt"});
  EXPECT_EQ(Names(tree.path() / "Weg.alt"), std::vector<std::string>{"bestaetigt.txt"});
#endif
}

// A file that resists and a folder that cannot be removed: skipped without a word.
TEST(PresenterFolderCommands, DeleteStepsThatFailAreSilent) {
  TempFolder tree;
  const fs::path folder = tree.MakeFolder("Weg");
  tree.WriteFile("Weg/a.txt", "x");
  tree.WriteFile("Weg/b.txt", "x");
  FaultyFileServices files;
  files.FailRemoveFile("a.txt", EACCES);
  PresenterWindow w(tree.path(), files);
  ASSERT_TRUE(w.view.SetFolder(Side::kTarget, folder));
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
  w.presenter.btnPath_Click(1);
  EXPECT_EQ(MessageBoxes(w.dialogs).size(), std::size_t{1});
  EXPECT_EQ(Names(folder), std::vector<std::string>{"a.txt"});
  EXPECT_EQ(w.view.Folder(Side::kTarget), tree.path());
}

}  // namespace

namespace {

// A folder command that leaves the target list on another drive shows that drive.
TEST(PresenterFolderCommands, DeleteShowsTheDriveOfTheFolderNowShown) {
  TempFolder tree;
  const fs::path drive = tree.MakeFolder("Platte");
  tree.WriteFile("Platte/a.txt", "x");
  PresenterWindow w(tree.path(), tavrin::DiskFileServices(), {tree.path().root_path(), drive});
  w.view.PickDrive(Side::kTarget, drive);
  ASSERT_EQ(w.view.Folder(Side::kTarget), drive);
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
  w.presenter.btnPath_Click(1);
  EXPECT_FALSE(fs::exists(drive));
  EXPECT_EQ(w.view.Folder(Side::kTarget), tree.path());
  EXPECT_EQ(w.view.Drive(Side::kTarget), tree.path().root_path());
}

#ifndef _WIN32
// Names whose bytes are no UTF-8 or hold control characters are shown escaped in the status
// bar, the boxes and the progress text: two names never look alike, a name is one line.
TEST(PresenterNames, NamesAreShownEscapedEverywhere) {
  const struct {
    std::string name;
    std::string shown;
  } names[] = {
      {"Gr\xFC\xDF", "Gr\\xFC\\xDF"},        {"Gr\xC3\xBC\xC3\x9F", "Grüß"},
      {"zwei\nZeilen", "zwei\\nZeilen"},     {"Farbe\x1B[31m", "Farbe\\x1B[31m"},
      {"schr\\aeg", "schr\\\\aeg"},
  };
  TempFolder tree;
  const fs::path target = tree.MakeFolder("Ziel");
  PresenterWindow w(tree.path());
  for (const auto& entry : names) {
    const fs::path folder = tree.MakeFolder(fs::path("Ziel") / entry.name);
    const std::string shown = tree.path().string() + "/Ziel/" + entry.shown + "/";
    ASSERT_TRUE(w.view.SetFolder(Side::kTarget, folder));
    EXPECT_EQ(w.view.status, shown);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerNo);
    w.presenter.btnPath_Click(1);
    EXPECT_EQ(MessageBoxes(w.dialogs).back().text, "Wollen Sie das aktuelle Verzeichnis [" + shown +
                                                       "] wirklich löschen (Es werden keine Unterverzeichnisse entfernt!)?");
    w.presenter.WriteInfo((folder / "Form1.frm").native(), 7);
    EXPECT_EQ(w.view.info, "Bearbeite: " + shown + "Form1.frm [7]...");
  }
  EXPECT_TRUE(w.dialogs.script_used_up());
}
#endif

}  // namespace
