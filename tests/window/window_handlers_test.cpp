// The handlers that follow the choice of drives, folders and pages, with real folders:
// the start-up state, lbPrj and lbCr, the status bar, the convert button, the progress text,
// navigation through the folder lists by keyboard and mouse, and drives that cannot be read.
#include <QApplication>
#include <QListWidgetItem>
#include <QSignalSpy>
#include <QTest>
#include <climits>
#include <memory>

#include "runtime/file_services.h"
#include "tests/window/scratch_tree.h"
#include "tests/window/scripted_dialogs.h"
#include "window/qt/application_setup.h"
#include "window/qt/frm_convert.h"
#include "window/qt/lists/path_text.h"

namespace fs = std::filesystem;
using tavrin::frmConvert;
using tavrin::testing::CurrentFolder;
using tavrin::testing::ScratchTree;
using tavrin::testing::ScriptedDialogs;

namespace {

const QColor kRed(192, 0, 0);
QColor Highlight() { return QApplication::palette().color(QPalette::Highlight); }

QString Shown(const fs::path& folder) { return QString::fromStdString(folder.string()) + QLatin1Char('/'); }

QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

// A window on `start`, created as the program creates it; `drives` replaces the machine's.
struct Window {
  explicit Window(const fs::path& start, std::optional<std::vector<fs::path>> drives = std::nullopt)
      : current(start), window(dialogs, tavrin::DiskFileServices(), std::move(drives)) {}
  CurrentFolder current;
  ScriptedDialogs dialogs;
  frmConvert window;
};

// The row of `folder` in `list`, or nullptr.
QListWidgetItem* RowOf(tavrin::FolderList* list, const fs::path& folder) {
  for (int row = 0; row < list->count(); ++row) {
    if (tavrin::FolderList::RowPath(list->item(row)) == folder) return list->item(row);
  }
  return nullptr;
}

}  // namespace

class WindowHandlersTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { tavrin::SetUpApplication(); }

  // At start both labels show the real state of the folder the lists open on, and the
  // status bar ends on the source folder.
  void startUpShowsTheStateOfTheStartFolder_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("project");
    QTest::addColumn<bool>("free");
    QTest::newRow("project") << "Projekt1.vbp" << true << false;
    QTest::newRow("project in capitals") << "PROJEKT1.VBP" << true << false;
    QTest::newRow("other file") << "Form1.frm" << false << false;
    QTest::newRow("empty") << "" << false << true;
    QTest::newRow("only a subfolder and a hidden file") << "Unter/.versteckt" << false << true;
  }
  void startUpShowsTheStateOfTheStartFolder() {
    QFETCH(QString, content);
    QFETCH(bool, project);
    QFETCH(bool, free);
    ScratchTree tree;
    const fs::path start = tree.Folder("Start");
    if (content == QStringLiteral("Unter/.versteckt")) {
      tree.File("Start/Unter/Form1.frm");
      tree.File("Start/.versteckt");
    } else if (!content.isEmpty()) {
      tree.File(fs::path("Start") / content.toStdString());
    }
    Window w(start);
    // As created.
    QCOMPARE(w.window.SSTab1()->Tab(), 2);
    QCOMPARE(w.window.lbPrj()->text(), QStringLiteral("Nein"));
    QCOMPARE(TextColour(w.window.lbPrj()), kRed);
    QCOMPARE(w.window.lbInfo()->text(), QStringLiteral("keine Bearbeitung aktiv..."));
    QCOMPARE(w.window.StatusBar1()->SimpleText(), QString());
    QCOMPARE(w.window.Dir1()->Path(), start);
    QCOMPARE(w.window.Dir2()->Path(), start);

    w.window.show();  // runs Form_Load before the window appears
    QVERIFY(w.window.loaded());
    QCOMPARE(w.window.SSTab1()->Tab(), 0);
    QCOMPARE(w.window.lbPrj()->text(), QString::fromUtf8(project ? "Ja" : "Nein"));
    QCOMPARE(TextColour(w.window.lbPrj()), project ? Highlight() : kRed);
    QCOMPARE(w.window.lbCr()->text(), QString::fromUtf8(free ? "Ja" : "Nein"));
    QCOMPARE(TextColour(w.window.lbCr()), free ? Highlight() : kRed);
    QCOMPARE(w.window.StatusBar1()->SimpleText(), Shown(start));
    QCOMPARE(w.window.lbInfo()->text(), QStringLiteral("Bearbeite: keine Bearbeitung aktiv......"));
    QVERIFY(w.window.btnConvert(0)->isEnabled());
    QCOMPARE(w.window.Drive1()->Drive(), tavrin::DriveOf(start, w.window.Drive1()->drives()));
    QVERIFY(w.dialogs.shown().empty());
    // Showing it again does not load it again.
    w.window.hide();
    w.window.StatusBar1()->SetSimpleText(QStringLiteral("x"));
    w.window.show();
    QCOMPARE(w.window.StatusBar1()->SimpleText(), QStringLiteral("x"));
  }

  void folderPathsEndInOneSeparator() {
    ScratchTree tree;
    const fs::path folder = tree.Folder("Projekte/Alt");
    Window w(folder);
    QCOMPARE(w.window.QuellPfad(), folder / "");
    QCOMPARE(w.window.QuellPfad().native().back(), '/');
    QVERIFY(w.window.Dir2()->SetPath("/"));
    QCOMPARE(w.window.ZielPfad(), fs::path("/"));
  }

  void sourceFolderChangeShowsWhetherItHoldsAProject() {
    ScratchTree tree;
    const fs::path with = tree.Folder("Mit");
    tree.File("Mit/Projekt1.vbp");
    const fs::path capitals = tree.Folder("Gross");
    tree.File("Gross/PROJEKT1.VBP");
    const fs::path without = tree.Folder("Ohne");
    tree.File("Ohne/Projekt1.vbp.bak");
    tree.File("Ohne/Unter/Projekt2.vbp");
    Window w(tree.root());
    w.window.Form_Load();
    const QString target_state = w.window.lbCr()->text();
    const struct {
      fs::path folder;
      bool project;
    } rows[] = {{with, true}, {without, false}, {capitals, true}, {tree.root(), false}};
    for (const auto& row : rows) {
      QVERIFY(w.window.Dir1()->SetPath(row.folder));
      QCOMPARE(w.window.lbPrj()->text(), QString::fromUtf8(row.project ? "Ja" : "Nein"));
      QCOMPARE(TextColour(w.window.lbPrj()), row.project ? Highlight() : kRed);
      QCOMPARE(w.window.StatusBar1()->SimpleText(), Shown(row.folder));
    }
    // The target side is left alone.
    QCOMPARE(w.window.lbCr()->text(), target_state);
  }

  void targetFolderChangeShowsWhetherItIsFree() {
    ScratchTree tree;
    const fs::path empty = tree.Folder("Leer");
    const fs::path full = tree.Folder("Voll");
    tree.File("Voll/Liesmich");
    const fs::path subfolders = tree.Folder("Unterordner/A");
    tree.File("Unterordner/A/Form1.frm");
    tree.File("Unterordner/.versteckt");
    Window w(tree.root());
    w.window.Form_Load();
    w.window.SSTab1()->SetTab(1);
    const struct {
      fs::path folder;
      bool free;
    } rows[] = {{empty, true}, {full, false}, {subfolders.parent_path(), true}, {tree.root(), true}};
    for (const auto& row : rows) {
      QVERIFY(w.window.Dir2()->SetPath(row.folder));
      QCOMPARE(w.window.lbCr()->text(), QString::fromUtf8(row.free ? "Ja" : "Nein"));
      QCOMPARE(TextColour(w.window.lbCr()), row.free ? Highlight() : kRed);
      QCOMPARE(w.window.StatusBar1()->SimpleText(), Shown(row.folder));
    }
    QCOMPARE(w.window.lbPrj()->text(), QStringLiteral("Nein"));
    // Called directly, as the conversion pass does after its last file.
    tree.File("Leer/Form1.frm");
    QVERIFY(w.window.Dir2()->SetPath(empty));
    QCOMPARE(w.window.lbCr()->text(), QStringLiteral("Nein"));
    std::filesystem::remove(empty / "Form1.frm");
    w.window.StatusBar1()->SetSimpleText(QString());
    w.window.Dir2_Change();
    QCOMPARE(w.window.lbCr()->text(), QStringLiteral("Ja"));
    QCOMPARE(w.window.StatusBar1()->SimpleText(), Shown(empty));
  }

  void conversionPageComparesTheTwoFolderPaths_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("same folder") << "Alt" << "Alt" << false;
    QTest::newRow("letter case differs") << "alt" << "ALT" << true;
    QTest::newRow("distinct, no project, target full") << "Alt" << "Voll" << true;
    QTest::newRow("target inside source") << "Alt" << "Alt/Neu" << true;
  }
  void conversionPageComparesTheTwoFolderPaths() {
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(bool, enabled);
    ScratchTree tree;
    for (const char* folder : {"Alt", "alt", "ALT", "Voll", "Alt/Neu"}) tree.Folder(folder);
    tree.File("Voll/Liesmich");
    Window w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(tree.root() / source.toStdString()));
    QVERIFY(w.window.Dir2()->SetPath(tree.root() / target.toStdString()));
    const QString info_before = w.window.lbInfo()->text();
    const QString prj_before = w.window.lbPrj()->text();
    // The opposite state first, so that the page handler has to change it.
    w.window.btnConvert(0)->setEnabled(!enabled);
    w.window.SSTab1()->SetTab(2);
    QCOMPARE(w.window.btnConvert(0)->isEnabled(), enabled);
    QCOMPARE(w.window.StatusBar1()->SimpleText(),
             QString::fromUtf8(enabled ? "Konvertierung kann durchgeführt werden..."
                                       : "Bitte wählen Sie ein anderes Projekt oder ein anderes Zielverzeichnis..."));
    QCOMPARE(w.window.lbInfo()->text(), info_before);
    QCOMPARE(w.window.lbPrj()->text(), prj_before);
    // Pages 0 and 1 never touch the button.
    for (int page : {0, 1}) {
      w.window.SSTab1()->SetTab(page);
      QCOMPARE(w.window.btnConvert(0)->isEnabled(), enabled);
    }
  }

  void sourceAndTargetPagesShowTheirFolderAndTheIdleText() {
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    const fs::path target = tree.Folder("Ziel");
    Window w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    QCOMPARE(w.window.lbPrj()->text(), QStringLiteral("Nein"));
    // A project appears, but changing pages never refreshes the labels.
    tree.File("Quelle/Projekt1.vbp");
    const struct {
      int page;
      fs::path folder;
    } rows[] = {{1, target}, {0, source}, {2, {}}, {1, target}};
    for (const auto& row : rows) {
      w.window.WriteInfo("etwas anderes", 7);
      w.window.SSTab1()->SetTab(row.page);
      QCOMPARE(w.window.SSTab1()->Tab(), row.page);
      if (row.page == 2) {
        QCOMPARE(w.window.lbInfo()->text(), QStringLiteral("Bearbeite: etwas anderes [7]..."));
        continue;
      }
      QCOMPARE(w.window.StatusBar1()->SimpleText(), Shown(row.folder));
      QCOMPARE(w.window.lbInfo()->text(), QStringLiteral("Bearbeite: keine Bearbeitung aktiv......"));
      QCOMPARE(w.window.lbPrj()->text(), QStringLiteral("Nein"));
    }
    // The tag stays as it was, whatever the caption.
    QCOMPARE(w.window.lbInfo()->property("Tag").toString(), QStringLiteral("keine Bearbeitung aktiv..."));
    QCOMPARE(w.window.lbPrj()->property("Tag").toString(), QString());
  }

  void pageHandlerRunsOnceForEachChangeOfPage() {
    ScratchTree tree;
    Window w(tree.root());
    QSignalSpy clicks(w.window.SSTab1(), &tavrin::TabControl::Click);
    w.window.SSTab1()->SetTab(2);  // already in front: no change
    QCOMPARE(clicks.count(), 0);
    w.window.SSTab1()->SetTab(0);
    QCOMPARE(clicks.count(), 1);  // raised before SetTab returned
    QCOMPARE(clicks.at(0).at(0).toInt(), 2);
    w.window.SSTab1()->SetTab(3);  // no such page
    w.window.SSTab1()->SetTab(-1);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(w.window.SSTab1()->Tab(), 0);
    // A click on a tab.
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    QTabBar* bar = w.window.SSTab1()->TabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QCOMPARE(w.window.SSTab1()->Tab(), 2);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks.at(1).at(0).toInt(), 0);
    QCOMPARE(w.window.StatusBar1()->SimpleText(), QStringLiteral("Bitte wählen Sie ein anderes Projekt oder ein anderes Zielverzeichnis..."));
    QVERIFY(!w.window.btnConvert(0)->isEnabled());
  }

  void writeInfoFormatsTheProgressText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("wert");
    QTest::addColumn<QString>("caption");
    QTest::newRow("no number") << QByteArray("Form1.frm") << 0 << "Bearbeite: Form1.frm...";
    QTest::newRow("negative") << QByteArray("abc") << -3 << "Bearbeite: abc [-3]...";
    QTest::newRow("line number") << QByteArray("/z/Form1.frm") << 12 << "Bearbeite: /z/Form1.frm [12]...";
    QTest::newRow("empty text") << QByteArray() << 0 << "Bearbeite: ...";
    QTest::newRow("empty text, number") << QByteArray() << 1 << "Bearbeite:  [1]...";
    QTest::newRow("largest") << QByteArray("a") << INT_MAX << "Bearbeite: a [2147483647]...";
    QTest::newRow("smallest") << QByteArray("a") << INT_MIN << "Bearbeite: a [-2147483648]...";
    QTest::newRow("closing text") << QByteArray("Konvertierung abgeschlossen...") << 0
                                  << "Bearbeite: Konvertierung abgeschlossen......";
    QTest::newRow("umlauts") << QByteArray("Übersicht.frm") << 0 << "Bearbeite: Übersicht.frm...";
    // Names are shown escaped, as everywhere in the window: one line, never two alike.
    QTest::newRow("bytes that are no UTF-8") << QByteArray("F\xE4hre.frm") << 2
                                             << "Bearbeite: F\\xE4hre.frm [2]...";
    QTest::newRow("line break") << QByteArray("a\nb.frm") << 0 << "Bearbeite: a\\nb.frm...";
  }
  void writeInfoFormatsTheProgressText() {
    QFETCH(QByteArray, text);
    QFETCH(int, wert);
    QFETCH(QString, caption);
    ScratchTree tree;
    Window w(tree.root());
    w.window.WriteInfo(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), wert);
    QCOMPARE(w.window.lbInfo()->text(), caption);
    QCOMPARE(w.window.lbInfo()->property("Tag").toString(), QStringLiteral("keine Bearbeitung aktiv..."));
  }

  void writeInfoRepaintsAtOnce() {
    ScratchTree tree;
    Window w(tree.root());
    w.window.Form_Load();
    w.window.SSTab1()->SetTab(2);
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    // Paint events that reach the label without a return to the event loop.
    struct PaintCounter : QObject {
      int paints = 0;
      bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
      }
    } counter;
    w.window.lbInfo()->installEventFilter(&counter);
    for (int line = 1; line <= 3; ++line) {
      w.window.WriteInfo("Form1.frm", line);
      QCOMPARE(counter.paints, line);
    }
    w.window.lbInfo()->removeEventFilter(&counter);
  }

  void folderListsFollowKeyboardAndDoubleClick() {
    ScratchTree tree;
    const fs::path top = tree.Folder("Projekte");
    const fs::path alt = tree.Folder("Projekte/Alt");
    tree.File("Projekte/Alt/Projekt1.vbp");
    tree.Folder("Projekte/Neu");
    Window w(top);
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    tavrin::FolderList* list = w.window.Dir1();
    // Keyboard: walk down to the subfolder and open it with Enter.
    list->setFocus();
    for (int step = 0; step < list->count() && tavrin::FolderList::RowPath(list->currentItem()) != alt; ++step)
      QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(tavrin::FolderList::RowPath(list->currentItem()), alt);
    QCOMPARE(w.window.lbPrj()->text(), QStringLiteral("Nein"));  // selecting alone changes nothing
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(list->Path(), alt);
    QCOMPARE(w.window.lbPrj()->text(), QStringLiteral("Ja"));
    QCOMPARE(w.window.StatusBar1()->SimpleText(), Shown(alt));
    // Mouse: a double click on the parent's row goes back up.
    QListWidgetItem* parent_row = RowOf(list, top);
    QVERIFY(parent_row != nullptr);
    const QPoint where = list->visualItemRect(parent_row).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(list->Path(), alt);  // a single click only selects
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(list->Path(), top);
    QCOMPARE(w.window.lbPrj()->text(), QStringLiteral("Nein"));
    QCOMPARE(w.window.StatusBar1()->SimpleText(), Shown(top));
    // The target list the same way.
    w.window.SSTab1()->SetTab(1);
    tavrin::FolderList* target = w.window.Dir2();
    QListWidgetItem* neu = RowOf(target, top / "Neu");
    QVERIFY(neu != nullptr);
    QTest::mouseDClick(target->viewport(), Qt::LeftButton, {}, target->visualItemRect(neu).center());
    QCOMPARE(target->Path(), top / "Neu");
    QCOMPARE(w.window.lbCr()->text(), QStringLiteral("Ja"));
    QCOMPARE(w.window.StatusBar1()->SimpleText(), Shown(top / "Neu"));
  }

  void anotherDriveShowsItsRoot() {
    ScratchTree tree;
    const fs::path drive = tree.Folder("Laufwerk");
    tree.File("Laufwerk/Projekt1.vbp");
    const fs::path start = tree.Folder("Start/Tief");
    Window w(start, std::vector<fs::path>{"/", drive});
    w.window.Form_Load();
    QCOMPARE(w.window.Drive1()->Drive(), fs::path("/"));
    QVERIFY(w.window.Drive1()->PickDrive(drive));
    QCOMPARE(w.window.Dir1()->Path(), drive);
    QCOMPARE(w.window.lbPrj()->text(), QStringLiteral("Ja"));
    QCOMPARE(w.window.StatusBar1()->SimpleText(), Shown(drive));
    QVERIFY(w.window.Drive1()->PickDrive("/"));
    QCOMPARE(w.window.Dir1()->Path(), fs::path("/"));
    QCOMPARE(w.window.StatusBar1()->SimpleText(), QStringLiteral("/"));
    // Drive2 leads Dir2 in the same way.
    w.window.SSTab1()->SetTab(1);
    QVERIFY(w.window.Drive2()->PickDrive(drive));
    QCOMPARE(w.window.Dir2()->Path(), drive);
    QCOMPARE(w.window.lbCr()->text(), QStringLiteral("Nein"));
    QCOMPARE(w.window.Dir1()->Path(), fs::path("/"));
    QVERIFY(w.dialogs.shown().empty());
  }

  // Opening a drive list reads the drives again: one mounted since shows and can be picked,
  // one removed is gone; the lists stay on their drives.
  void openingADriveListReadsTheDrivesAgain() {
    ScratchTree tree;
    const fs::path stick = tree.Folder("Stick");
    const fs::path start = tree.Folder("Start");
    Window w(start, std::vector<fs::path>{"/"});
    std::vector<fs::path> drives{"/"};
    w.window.presenter().SetDriveReader([&drives] { return drives; });
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    drives.push_back(stick);
    QCOMPARE(w.window.Drive2()->count(), 1);
    w.window.Drive2()->showPopup();
    w.window.Drive2()->hidePopup();
    QCOMPARE(w.window.Drive2()->drives(), drives);
    QCOMPARE(w.window.Drive1()->count(), 2);  // both lists hold the same drives
    QCOMPARE(w.window.Drive2()->Drive(), fs::path("/"));
    QVERIFY(w.window.Drive2()->PickDrive(stick));
    QCOMPARE(w.window.Dir2()->Path(), stick);

    drives = {"/"};
    w.window.Drive1()->showPopup();
    w.window.Drive1()->hidePopup();
    QCOMPARE(w.window.Drive1()->drives(), drives);
    QCOMPARE(w.window.Drive2()->count(), 1);
    QCOMPARE(w.window.Drive2()->Drive(), fs::path("/"));  // the drive that holds its folder
    QCOMPARE(w.window.Dir2()->Path(), stick);             // the folder list stays
    QVERIFY(w.dialogs.shown().empty());
  }

  void aDriveThatCannotBeReadIsReportedAndLeft_data() {
    QTest::addColumn<int>("list");
    QTest::newRow("source") << 1;
    QTest::newRow("target") << 2;
  }
  void aDriveThatCannotBeReadIsReportedAndLeft() {
    QFETCH(int, list);
    ScratchTree tree;
    const fs::path good = tree.Folder("Gut");
    const fs::path start = tree.Folder("Gut/Start");
    const fs::path gone = tree.root() / "Fehlt";         // no such folder
    const fs::path file = tree.File("Datei", "Inhalt");  // a file, not a folder
    Window w(start, std::vector<fs::path>{good, gone, file});
    w.window.Form_Load();
    tavrin::DriveList* drive = list == 1 ? w.window.Drive1() : w.window.Drive2();
    tavrin::FolderList* folder = list == 1 ? w.window.Dir1() : w.window.Dir2();
    QCOMPARE(drive->Drive(), good);
    int expected_boxes = 0;
    for (const fs::path& bad : {gone, file}) {
      const QString status_before = w.window.StatusBar1()->SimpleText();
      w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
      QVERIFY(drive->PickDrive(bad));
      ++expected_boxes;
      QCOMPARE(static_cast<int>(w.dialogs.shown().size()), expected_boxes);
      const ScriptedDialogs::Shown& box = w.dialogs.shown().back();
      QCOMPARE(box.kind, ScriptedDialogs::Kind::kMessageBox);
      QCOMPARE(box.text, "Das Laufwerk [" + bad.string() + "] kann nicht gelesen werden.");
      QCOMPARE(box.style, tavrin::kButtonsOk + tavrin::kIconExclamation);
      QCOMPARE(box.title, std::string("Laufwerk"));
      // Back on the drive of the folder list, which did not move.
      QCOMPARE(drive->Drive(), good);
      QCOMPARE(folder->Path(), start);
      QCOMPARE(w.window.StatusBar1()->SimpleText(), status_before);
    }
    QVERIFY(w.dialogs.script_used_up());
    // Still usable: the folder list goes on, and its handler with it.
    QVERIFY(folder->SetPath(good));
    QCOMPARE(w.window.StatusBar1()->SimpleText(), Shown(good));
    QCOMPARE((list == 1 ? w.window.lbPrj() : w.window.lbCr())->text(), QString::fromUtf8(list == 1 ? "Nein" : "Ja"));
  }

  void conversionHostServicesGoThroughTheDialogServices() {
    ScratchTree tree;
    Window w(tree.root());
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
    QCOMPARE(w.window.MessageBox("Frage\r\nzwei Zeilen", tavrin::kButtonsYesNo + tavrin::kIconQuestion, "Titel"),
             tavrin::kAnswerYes);
    QCOMPARE(w.dialogs.shown().back().text, std::string("Frage\r\nzwei Zeilen"));
    w.window.SetMousePointer(tavrin::kPointerBusy);
    w.window.DoEvents();
    w.window.SetMousePointer(tavrin::kPointerNormal);
    QCOMPARE(w.dialogs.pointers(), (std::vector<int>{tavrin::kPointerBusy, tavrin::kPointerNormal}));
    QCOMPARE(w.dialogs.do_events(), 1);
  }
};

QTEST_MAIN(WindowHandlersTest)
#include "window_handlers_test.moc"
