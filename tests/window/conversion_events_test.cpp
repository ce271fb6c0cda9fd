// Events that run while a pass pauses for them (once per text file, before it is opened):
// clicks on the commands, other folders, the summary, page switches, the folder commands and
// closing the window. None of them may start a second pass, redirect the running one or
// leave a file half written.
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <string>

#include "conversion/conversion_request.h"
#include "tests/cli/folder_snapshot.h"
#include "tests/support/recording_host.h"
#include "tests/window/test_window.h"
#include "window/qt/application_setup.h"

namespace fs = std::filesystem;
using tavrin::RequestResult;
using tavrin::testing::CurrentFolder;
using tavrin::testing::FolderSnapshot;
using tavrin::testing::MakeSmallProject;
using tavrin::testing::MessageBoxes;
using tavrin::testing::ScratchTree;
using tavrin::testing::ScriptedDialogs;
using tavrin::testing::ShownFolder;
using tavrin::testing::TestWindow;

namespace {

// The project files in listing order; the text files among them, in the order the pass pauses.
const std::vector<std::string> kFiles = {"Form1.frm", "Form1.frx", "Form2.frm", "Modul1.bas", "Projekt1.vbp"};
const std::vector<std::string> kTextFiles = {"Form1.frm", "Form2.frm", "Modul1.bas", "Projekt1.vbp"};

// Two projects and two empty targets, and what the core makes of the first project.
struct Folders {
  Folders() {
    MakeSmallProject(tree, "Quelle", 2000);
    tree.File("Andere/Anders.vbp", "Type=Exe\r\n");
    tree.File("Andere/Anders.frm", "ComctlLib.\r\n");
    tree.Folder("Ziel");
    tree.Folder("Ziel2");
    tree.Folder("Referenz");
    tavrin::testing::RecordingHost host;
    host.source = source() / "";
    host.target = reference() / "";
    host.record_lines = false;
    tavrin::ConversionRequest request(host, tavrin::DiskFileServices());
    converted = request.Tavrin().outcome == RequestResult::Outcome::kConverted;
  }
  fs::path source() const { return tree.root() / "Quelle"; }
  fs::path other_source() const { return tree.root() / "Andere"; }
  fs::path target() const { return tree.root() / "Ziel"; }
  fs::path other_target() const { return tree.root() / "Ziel2"; }
  fs::path reference() const { return tree.root() / "Referenz"; }

  // True when every file before `next` (in listing order) is in the target, complete, and
  // nothing from `next` on is there yet.
  bool CompleteUpTo(const std::string& next) const {
    const auto have = FolderSnapshot(target());
    const auto want = FolderSnapshot(reference());
    for (const std::string& name : kFiles) {
      const bool written = have.count(name) == 1;
      if (written != (name < next)) return false;
      if (written && have.at(name) != want.at(name)) return false;
    }
    return true;
  }

  ScratchTree tree;
  bool converted = false;
};

}  // namespace

class ConversionEventsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { tavrin::SetUpApplication(); }

  void eventsDuringThePassDoNotRedirectIt_data() {
    QTest::addColumn<QStringList>("events");
    QTest::newRow("convert button") << QStringList{"btnConvert(0)"};
    QTest::newRow("convert command") << QStringList{"Toolbar 3"};
    QTest::newRow("request") << QStringList{"Tavrin"};
    QTest::newRow("other source folder") << QStringList{"Dir1"};
    QTest::newRow("other target folder") << QStringList{"Dir2"};
    QTest::newRow("summary") << QStringList{"Toolbar 4"};
    QTest::newRow("pages and about") << QStringList{"Toolbar 1", "Toolbar 2", "Toolbar 5", "Toolbar 3"};
    QTest::newRow("new folder") << QStringList{"btnPath(0)"};
    QTest::newRow("delete folder") << QStringList{"btnPath(1)"};
    QTest::newRow("everything") << QStringList{"Dir1",       "Dir2",          "Toolbar 4", "btnPath(1)",
                                               "btnPath(0)", "btnConvert(0)", "Toolbar 3", "Tavrin"};
  }
  void eventsDuringThePassDoNotRedirectIt() {
    QFETCH(QStringList, events);
    Folders folders;
    QVERIFY(folders.converted);
    const auto other_source_before = FolderSnapshot(folders.other_source());
    const auto source_before = FolderSnapshot(folders.source());
    TestWindow w(folders.tree.root());
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QVERIFY(w.window.Dir1()->SetPath(folders.source()));
    QVERIFY(w.window.Dir2()->SetPath(folders.target()));
    w.window.SSTab1()->SetTab(2);
    QSignalSpy convert_clicks(w.window.btnConvert(0), &QPushButton::clicked);
    QSignalSpy toolbar_clicks(w.window.Toolbar1(), &tavrin::Toolbar::ButtonClick);

    int pauses = 0;
    int nested_requests = 0;
    std::vector<std::string> expected_titles;
    QString failure;  // the first thing found wrong inside a pause
    auto click = [](QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); };
    w.dialogs.during_do_events = [&] {
      if (failure.isEmpty() && !folders.CompleteUpTo(kTextFiles.at(static_cast<std::size_t>(pauses))))
        failure = QStringLiteral("files before pause %1 incomplete").arg(pauses);
      ++pauses;
      for (const QString& event : events) {
        if (event == QStringLiteral("btnConvert(0)")) {
          w.window.SSTab1()->SetTab(2);
          click(w.window.btnConvert(0));
        } else if (event.startsWith(QStringLiteral("Toolbar "))) {
          const int index = event.mid(8).toInt();
          if (index == 4 || index == 5) {
            w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
            expected_titles.push_back("Information");
          }
          click(w.window.Toolbar1()->Button(index));
        } else if (event == QStringLiteral("Tavrin")) {
          if (w.window.Tavrin().outcome == RequestResult::Outcome::kAlreadyRunning) ++nested_requests;
        } else if (event == QStringLiteral("Dir1")) {
          w.window.Dir1()->SetPath(pauses % 2 == 1 ? folders.other_source() : folders.tree.root());
        } else if (event == QStringLiteral("Dir2")) {
          w.window.Dir2()->SetPath(pauses % 2 == 1 ? folders.other_target() : folders.source());
        } else if (event.startsWith(QStringLiteral("btnPath("))) {
          const bool make = event == QStringLiteral("btnPath(0)");
          w.window.SSTab1()->SetTab(1);
          w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
          expected_titles.push_back(make ? "Neues Verzeichnis" : "Verzeichnis löschen");
          click(w.window.btnPath(make ? 0 : 1));
        }
      }
    };
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);  // the hints after the pass
    QTest::mouseClick(w.window.btnConvert(0), Qt::LeftButton);
    expected_titles.push_back("Konvertierungshinweise");

    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(pauses, static_cast<int>(kTextFiles.size()));  // one pass, one pause per text file
    // The clicks reached their controls inside the pauses.
    QCOMPARE(convert_clicks.count(),
             1 + pauses * static_cast<int>(events.count(QStringLiteral("btnConvert(0)"))));
    int toolbar_events = 0;
    for (const QString& event : events)
      toolbar_events += event.startsWith(QStringLiteral("Toolbar ")) ? 1 : 0;
    QCOMPARE(toolbar_clicks.count(), pauses * toolbar_events);
    QCOMPARE(w.dialogs.pointers(), (std::vector<int>{tavrin::kPointerBusy, tavrin::kPointerNormal}));
    // The target is what the core makes of the source it started with; nothing went elsewhere.
    QCOMPARE(FolderSnapshot(folders.target()), FolderSnapshot(folders.reference()));
    QVERIFY(FolderSnapshot(folders.other_target()).empty());
    QCOMPARE(FolderSnapshot(folders.source()), source_before);
    QCOMPARE(FolderSnapshot(folders.other_source()), other_source_before);
    QCOMPARE(FolderSnapshot(folders.tree.root()).size(), std::size_t{5});
    // Only the boxes of the events themselves and the hints after the pass: no refusal, no
    // failure, no second pass.
    std::vector<std::string> titles;
    for (const auto& box : MessageBoxes(w.dialogs)) {
      titles.push_back(box.title);
      if (box.title == "Neues Verzeichnis")
        QCOMPARE(box.text,
                 std::string("Während einer Konvertierung können keine Verzeichnisse angelegt werden."));
      if (box.title == "Verzeichnis löschen")
        QCOMPARE(box.text,
                 std::string("Während einer Konvertierung können keine Verzeichnisse gelöscht werden."));
      if (box.title != "Information" && box.title != "Konvertierungshinweise")
        QCOMPARE(box.style, tavrin::kButtonsOk + tavrin::kIconExclamation);
    }
    QCOMPARE(titles, expected_titles);
    QVERIFY(w.dialogs.script_used_up());
    if (events.contains(QStringLiteral("Tavrin"))) QCOMPARE(nested_requests, pauses);
    QVERIFY(!w.window.converting());
    // The closing display follows the target list as it is now.
    QCOMPARE(w.window.lbInfo()->text(), QStringLiteral("Bearbeite: Konvertierung abgeschlossen......"));
    QCOMPARE(w.window.StatusBar1()->SimpleText(), ShownFolder(w.window.Dir2()->Path()));
  }

  // Closing during the pass: the window stays until the pass has written every file, and says
  // so in the status bar, also when a page changes; then it closes. A window that deletes
  // itself on closing is deleted only after that.
  void closingDuringThePassWaitsForItsEnd() {
    Folders folders;
    QVERIFY(folders.converted);
    CurrentFolder current(folders.tree.root());
    ScriptedDialogs dialogs;
    auto* window = new tavrin::frmConvert(dialogs, tavrin::DiskFileServices());
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<tavrin::frmConvert> alive(window);
    // Should a check fail before the window is gone, it goes before the dialogs it uses.
    struct DeleteIfAlive {
      QPointer<tavrin::frmConvert>& window;
      ~DeleteIfAlive() { delete window.data(); }
    } delete_if_alive{alive};
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(window->Dir1()->SetPath(folders.source()));
    QVERIFY(window->Dir2()->SetPath(folders.target()));

    int pauses = 0;
    int closes_refused = 0;
    bool always_there = true;
    bool complete = true;
    QStringList status_texts;
    dialogs.during_do_events = [&] {
      complete = complete && folders.CompleteUpTo(kTextFiles.at(static_cast<std::size_t>(pauses)));
      ++pauses;
      always_there = always_there && !alive.isNull() && window->isVisible();
      if (!window->close()) ++closes_refused;  // again at every pause
      window->SSTab1()->SetTab(pauses % 3);
      status_texts << window->StatusBar1()->SimpleText();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      always_there = always_there && !alive.isNull() && window->isVisible();
    };
    dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);  // the hints, shown when the pass returns
    window->Toolbar1_ButtonClick(3);

    QCOMPARE(pauses, static_cast<int>(kTextFiles.size()));
    QCOMPARE(closes_refused, pauses);
    QCOMPARE(status_texts,
             QStringList(pauses, QStringLiteral("Das Fenster wird nach der Konvertierung geschlossen...")));
    QVERIFY(always_there);
    QVERIFY(complete);
    QCOMPARE(FolderSnapshot(folders.target()), FolderSnapshot(folders.reference()));
    QCOMPARE(dialogs.pointers(), (std::vector<int>{tavrin::kPointerBusy, tavrin::kPointerNormal}));
    // Closed once the pass had returned, and deleted from the event loop after that.
    QVERIFY(!alive.isNull());
    QVERIFY(!window->isVisible());
    QTRY_VERIFY(alive.isNull());
    QCOMPARE(dialogs.shown().size(), std::size_t{1});
    QCOMPARE(dialogs.shown()[0].title, std::string("Konvertierungshinweise"));
  }

  void closingWithoutAPassClosesAtOnce() {
    Folders folders;
    TestWindow w(folders.tree.root());
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QVERIFY(w.window.close());
    QVERIFY(!w.window.isVisible());
    // A refused request is no pass either.
    w.window.show();
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    QCOMPARE(w.window.Tavrin().outcome, RequestResult::Outcome::kRefused);
    QVERIFY(w.window.isVisible());
    QVERIFY(w.window.close());
  }
};

QTEST_MAIN(ConversionEventsTest)
#include "conversion_events_test.moc"
