// The commands of the toolbar and of the two buttons of the conversion page, with real
// folders: page switches, the convert command and its order, refusals, the about message,
// the selection summary (compared with what the request then does), and a conversion from
// the window with its progress texts, pointer, pauses for events and failure message.
#include <QSignalSpy>
#include <QTest>
#include <cerrno>
#include <string>

#include "conversion/conversion_request.h"
#include "runtime/shown_text.h"
#include "tests/cli/folder_snapshot.h"
#include "tests/support/faulty_file_services.h"
#include "tests/window/test_window.h"
#include "window/qt/application_setup.h"

namespace fs = std::filesystem;
using tavrin::RequestResult;
using tavrin::testing::FolderSnapshot;
using tavrin::testing::MakeSmallProject;
using tavrin::testing::MessageBoxes;
using tavrin::testing::PaintedCaptions;
using tavrin::testing::ScratchTree;
using tavrin::testing::ScriptedDialogs;
using tavrin::testing::ShownFolder;
using tavrin::testing::ShownFolderText;
using tavrin::testing::TestWindow;

namespace {

constexpr int kInformation = tavrin::kButtonsOk + tavrin::kIconInformation;
constexpr int kExclamation = tavrin::kButtonsOk + tavrin::kIconExclamation;

const std::string kAbout =
    "Aktualisierung der Common Control-Steuerelemente der Version 5.0 \r\n"
    "zur Version 6.0 unter Anlage einer Projektkopie in einem neuen Projektverzeichnis.\r\n"
    "\r\n"
    "© 2026 Tavrin-Projekt";

std::string Summary(const fs::path& source, const fs::path& target, const char* answer) {
  return "Aktuell wurden gewählt: \r\n\r\nQuellverzeichnis: " + ShownFolderText(source) +
         "\r\nZielverzeichnis: " + ShownFolderText(target) + "\r\nKonvertierung möglich: " + answer;
}

}  // namespace

class WindowCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { tavrin::SetUpApplication(); }

  void pageCommandsBringTheirPageToTheFront() {
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    const fs::path target = tree.Folder("Ziel");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    const struct {
      int button;
      int page;
      QString status;
    } rows[] = {{2, 1, ShownFolder(target)},
                {1, 0, ShownFolder(source)},
                {1, 0, ShownFolder(source)},
                {2, 1, ShownFolder(target)}};
    for (const auto& row : rows) {
      w.window.WriteInfo("etwas", 3);
      w.window.Toolbar1_ButtonClick(row.button);
      QCOMPARE(w.window.SSTab1()->Tab(), row.page);
      QCOMPARE(w.window.StatusBar1()->SimpleText(), row.status);
    }
    // A page brought to the front anew runs the page handler, which writes the idle text.
    w.window.Toolbar1_ButtonClick(1);
    QCOMPARE(w.window.lbInfo()->text(), QStringLiteral("Bearbeite: keine Bearbeitung aktiv......"));
    QVERIFY(w.dialogs.shown().empty());
  }

  void buttonIndexesOutsideOneToFiveDoNothing() {
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    MakeSmallProject(tree, "Quelle");
    const fs::path target = tree.Folder("Ziel");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    QSignalSpy pages(w.window.SSTab1(), &tavrin::TabControl::Click);
    const QString status = w.window.StatusBar1()->SimpleText();
    const auto before = FolderSnapshot(tree.root());
    for (int index : {0, 6, -1, 100}) w.window.Toolbar1_ButtonClick(index);
    QCOMPARE(pages.count(), 0);
    QCOMPARE(w.window.SSTab1()->Tab(), 0);
    QCOMPARE(w.window.StatusBar1()->SimpleText(), status);
    QVERIFY(w.dialogs.shown().empty());
    QCOMPARE(FolderSnapshot(tree.root()), before);
  }

  // Command 3 with one folder as source and target: page 2, button disabled, nothing else.
  void convertCommandOnOneFolderOnlyShowsThePage() {
    ScratchTree tree;
    const fs::path folder = tree.Folder("Projekt");
    MakeSmallProject(tree, "Projekt");
    TestWindow w(folder);
    w.window.Form_Load();
    w.window.btnConvert(0)->setEnabled(true);  // the page handler must turn it off first
    const auto before = FolderSnapshot(tree.root());
    w.window.Toolbar1_ButtonClick(3);
    QCOMPARE(w.window.SSTab1()->Tab(), 2);
    QVERIFY(!w.window.btnConvert(0)->isEnabled());
    QCOMPARE(w.window.StatusBar1()->SimpleText(),
             QStringLiteral("Bitte wählen Sie ein anderes Projekt oder ein anderes Zielverzeichnis..."));
    QVERIFY(w.dialogs.shown().empty());
    QVERIFY(w.dialogs.pointers().empty());
    QCOMPARE(FolderSnapshot(tree.root()), before);
  }

  // Command 3 reads the button only after the page handler has set it.
  void convertCommandReadsTheButtonAfterSelectingThePage() {
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    MakeSmallProject(tree, "Quelle");
    const fs::path target = tree.Folder("Ziel");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    w.window.btnConvert(0)->setEnabled(false);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);  // the hints: Form2.frm ends its lines in LF
    w.window.Toolbar1_ButtonClick(3);
    QVERIFY(w.window.btnConvert(0)->isEnabled());
    QCOMPARE(FolderSnapshot(target).size(), FolderSnapshot(source).size());
    QCOMPARE(MessageBoxes(w.dialogs).size(), std::size_t{1});
    QCOMPARE(MessageBoxes(w.dialogs)[0].title, std::string("Konvertierungshinweise"));
  }

  // Distinct folders: both convert commands call the request, which gives its own reasons.
  void convertCommandsReportTheRequestsRefusal_data() {
    QTest::addColumn<int>("command");  // 3: toolbar button 3; 0: btnConvert(0)
    QTest::addColumn<bool>("same");
    QTest::addColumn<bool>("project");
    QTest::addColumn<bool>("target_full");
    QTest::addColumn<QString>("message");
    const QString same = QStringLiteral("Zielpfad und Quellpfad dürfen nicht identisch sein!");
    const QString full = QStringLiteral("Im Zielverzeichnis dürfen sich keine Dateien befinden!");
    const QString none = QStringLiteral("Im Quellverzeichnis ist kein Visual Basic-Projekt enthalten!");
    for (int command : {3, 0}) {
      const QByteArray prefix = command == 3 ? "toolbar: " : "button: ";
      QTest::newRow(prefix + "no project") << command << false << false << false << none;
      QTest::newRow(prefix + "target full, no project") << command << false << false << true << full;
      QTest::newRow(prefix + "target full") << command << false << true << true << full;
    }
    // The button itself does not look at its state: the request refuses one folder.
    QTest::newRow("button: one folder") << 0 << true << true << false << same;
  }
  void convertCommandsReportTheRequestsRefusal() {
    QFETCH(int, command);
    QFETCH(bool, same);
    QFETCH(bool, project);
    QFETCH(bool, target_full);
    QFETCH(QString, message);
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    tree.File("Quelle/Form1.frm", "x\r\n");
    if (project) tree.File("Quelle/Projekt1.vbp", "Type=Exe\r\n");
    const fs::path target = same ? source : tree.Folder("Ziel");
    if (target_full) tree.File("Ziel/Alt.txt", "alt");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    const auto before = FolderSnapshot(tree.root());
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    if (command == 3)
      w.window.Toolbar1_ButtonClick(3);
    else
      w.window.btnConvert_Click(0);
    QVERIFY(w.dialogs.script_used_up());
    const auto boxes = MessageBoxes(w.dialogs);
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes[0].text), message);
    QCOMPARE(boxes[0].style, kExclamation);
    QCOMPARE(boxes[0].title, std::string("Konvertierungsfehler"));
    QCOMPARE(FolderSnapshot(tree.root()), before);
    QVERIFY(w.dialogs.pointers().empty());
  }

  // A refusal may come from folders that changed behind the window's back (gone, replaced
  // by a file, emptied, filled): afterwards the lists, the labels, the status bar and the
  // convert button show what is on disk now.
  void refusedConversionShowsWhatIsOnDiskNow_data() {
    QTest::addColumn<QString>("target");  // at the start; the source is Ziel/Quelle
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("source_after");  // Dir1
    QTest::addColumn<QString>("target_after");  // Dir2
    QTest::addColumn<QString>("project");       // lbPrj
    QTest::addColumn<QString>("free");          // lbCr
    QTest::addColumn<bool>("enabled");          // btnConvert(0)
    QTest::newRow("source replaced by a file") << "Ziel"
                                               << "source file"
                                               << "Ziel"
                                               << "Ziel"
                                               << "Nein"
                                               << "Nein" << false;
    QTest::newRow("source lost its project") << "Leer"
                                             << "no project"
                                             << "Ziel/Quelle"
                                             << "Leer"
                                             << "Nein"
                                             << "Ja" << true;
    QTest::newRow("target filled") << "Leer"
                                   << "target filled"
                                   << "Ziel/Quelle"
                                   << "Leer"
                                   << "Ja"
                                   << "Nein" << true;
    QTest::newRow("target removed") << "Leer/Unter"
                                    << "target removed"
                                    << "Ziel/Quelle"
                                    << "Leer"
                                    << "Ja"
                                    << "Ja" << true;
  }
  void refusedConversionShowsWhatIsOnDiskNow() {
    QFETCH(QString, target);
    QFETCH(QString, change);
    QFETCH(QString, source_after);
    QFETCH(QString, target_after);
    QFETCH(QString, project);
    QFETCH(QString, free);
    QFETCH(bool, enabled);
    ScratchTree tree;
    const fs::path source = tree.Folder("Ziel/Quelle");
    tree.File("Ziel/Quelle/P.vbp", "Type=Exe\r\n");
    tree.Folder("Leer/Unter");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(tree.root() / target.toStdString()));
    if (change == "source file") {
      fs::remove_all(source);
      tree.File("Ziel/Quelle", "eine Datei");
    }
    if (change == "no project") fs::remove(source / "P.vbp");
    if (change == "target filled") tree.File("Leer/neu.txt");
    if (change == "target removed") fs::remove_all(tree.root() / "Leer/Unter");
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.window.Toolbar1_ButtonClick(3);

    QVERIFY(w.dialogs.script_used_up());
    QCOMPARE(MessageBoxes(w.dialogs).size(), std::size_t{1});
    QCOMPARE(MessageBoxes(w.dialogs)[0].title, std::string("Konvertierungsfehler"));
    QCOMPARE(w.window.Dir1()->Path(), tree.root() / source_after.toStdString());
    QCOMPARE(w.window.Dir2()->Path(), tree.root() / target_after.toStdString());
    QCOMPARE(w.window.lbPrj()->text(), project);
    QCOMPARE(w.window.lbCr()->text(), free);
    QCOMPARE(w.window.btnConvert(0)->isEnabled(), enabled);
    const QString status = enabled ? QStringLiteral("Konvertierung kann durchgeführt werden...")
                                   : QStringLiteral("Bitte wählen Sie ein anderes Projekt oder ein anderes "
                                                    "Zielverzeichnis...");
    QCOMPARE(w.window.StatusBar1()->SimpleText(), status);
  }

  // A double click on a command button is one click: its second press starts nothing. So a
  // double click on "Konvertierung" converts once and shows no refusal of a second request.
  // Two clicks apart stay two clicks.
  void doubleClickIsOneClick_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("boxes");  // message boxes that one click shows
    QTest::addColumn<bool>("converts");
    // A conversion shows its hints (Form2.frm ends its lines in LF).
    QTest::newRow("toolbar: Konvertierung") << "Toolbar1.Button(3)" << 1 << true;
    QTest::newRow("Konvertieren") << "btnConvert(0)" << 1 << true;
    QTest::newRow("toolbar: Über...") << "Toolbar1.Button(5)" << 1 << false;
    QTest::newRow("Über...") << "btnConvert(1)" << 1 << false;
  }
  void doubleClickIsOneClick() {
    QFETCH(QString, button);
    QFETCH(int, boxes);
    QFETCH(bool, converts);
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    MakeSmallProject(tree, "Quelle");
    const fs::path target = tree.Folder("Ziel");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    w.window.SSTab1()->SetTab(2);
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    const auto* control = w.window.findChild<QWidget*>(button);
    QVERIFY(control != nullptr);
    const QPoint at = control->mapTo(&w.window, control->rect().center());

    for (int box = 0; box < boxes; ++box) w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    QTest::mouseDClick(w.window.windowHandle(), Qt::LeftButton, {}, at);
    QVERIFY(w.dialogs.script_used_up());
    QCOMPARE(MessageBoxes(w.dialogs).size(), static_cast<std::size_t>(boxes));
    if (converts) {
      QCOMPARE(MessageBoxes(w.dialogs)[0].title, std::string("Konvertierungshinweise"));
      QCOMPARE(FolderSnapshot(target).size(), std::size_t{5});
      QCOMPARE(w.window.lbInfo()->text(), QStringLiteral("Bearbeite: Konvertierung abgeschlossen......"));
    }

    // Two single clicks: two commands (a conversion now refused, the target being full).
    for (int click = 0; click < 2; ++click) {
      w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
      QTest::mouseClick(w.window.windowHandle(), Qt::LeftButton, {}, at);
    }
    QVERIFY(w.dialogs.script_used_up());
    QCOMPARE(MessageBoxes(w.dialogs).size(), static_cast<std::size_t>(boxes + 2));
  }

  void aboutMessageFromBothPlaces() {
    ScratchTree tree;
    TestWindow w(tree.root());
    w.window.Form_Load();
    w.window.SSTab1()->SetTab(2);
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    for (int answer = 0; answer < 4; ++answer) w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    QTest::mouseClick(w.window.btnConvert(1), Qt::LeftButton);
    QTest::mouseClick(w.window.Toolbar1()->Button(5), Qt::LeftButton);
    w.window.btnConvert_Click(7);  // any index but 0
    w.window.prgAbout();
    QVERIFY(w.dialogs.script_used_up());
    const auto boxes = MessageBoxes(w.dialogs);
    QCOMPARE(boxes.size(), std::size_t{4});
    for (const auto& box : boxes) {
      QCOMPARE(box.text, kAbout);
      QCOMPARE(box.style, kInformation);
      QCOMPARE(box.title, std::string("Information"));
    }
    QCOMPARE(w.window.SSTab1()->Tab(), 2);
  }

  // The summary's answer is "ja" exactly when the request then runs the pass.
  void selectionSummaryAnswersAsTheRequestDecides_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("possible");
    QTest::newRow("project, empty target") << "Quelle"
                                           << "Ziel" << QStringList{"Quelle/P.vbp"} << true;
    QTest::newRow("one folder with a project") << "Quelle"
                                               << "Quelle" << QStringList{"Quelle/P.vbp"} << false;
    QTest::newRow("one empty folder") << "Ziel"
                                      << "Ziel" << QStringList{} << false;
    QTest::newRow("target holds only a subfolder and a hidden file")
        << "Quelle"
        << "Ziel" << QStringList{"Quelle/P.vbp", "Ziel/Unter/a.txt", "Ziel/.versteckt"} << true;
    QTest::newRow("no project in the source") << "Quelle"
                                              << "Ziel" << QStringList{"Quelle/Form1.frm"} << false;
    QTest::newRow("a file in the target") << "Quelle"
                                          << "Ziel" << QStringList{"Quelle/P.vbp", "Ziel/a"} << false;
    QTest::newRow("project in capitals") << "Quelle"
                                         << "Ziel" << QStringList{"Quelle/P.VBP"} << true;
    QTest::newRow("letter case differs") << "quelle"
                                         << "QUELLE" << QStringList{"quelle/P.vbp"} << true;
    QTest::newRow("umlauts in the paths") << "Übersicht"
                                          << "Zielördner" << QStringList{"Übersicht/P.vbp"} << true;
    QTest::newRow("target in the source") << "Quelle"
                                          << "Quelle/Neu" << QStringList{"Quelle/P.vbp"} << true;
  }
  void selectionSummaryAnswersAsTheRequestDecides() {
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(QStringList, files);
    QFETCH(bool, possible);
    ScratchTree tree;
    const fs::path source_folder = tree.Folder(source.toStdString());
    const fs::path target_folder = tree.Folder(target.toStdString());
    for (const QString& file : files) tree.File(file.toStdString(), "x\r\n");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source_folder));
    QVERIFY(w.window.Dir2()->SetPath(target_folder));
    w.window.SSTab1()->SetTab(1);
    const auto before = FolderSnapshot(tree.root());
    const QString status = w.window.StatusBar1()->SimpleText();

    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.window.Toolbar1_ButtonClick(4);
    const auto boxes = MessageBoxes(w.dialogs);
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, Summary(source_folder, target_folder, possible ? "ja" : "nein"));
    QCOMPARE(boxes[0].style, kInformation);
    QCOMPARE(boxes[0].title, std::string("Information"));
    // The summary changes nothing.
    QCOMPARE(FolderSnapshot(tree.root()), before);
    QCOMPARE(w.window.SSTab1()->Tab(), 1);
    QCOMPARE(w.window.StatusBar1()->SimpleText(), status);

    if (!possible) w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    const RequestResult result = w.window.Tavrin();
    QCOMPARE(result.outcome == RequestResult::Outcome::kConverted, possible);
    QVERIFY(w.dialogs.script_used_up());
  }

  // A target folder that cannot be listed is not free.
  void selectionSummaryOnATargetThatCannotBeListed() {
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    tree.File("Quelle/P.vbp");
    const fs::path target = tree.Folder("Ziel");
    tavrin::testing::FaultyFileServices files;
    TestWindow w(tree.root(), files);
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    files.FailList("Ziel", EACCES);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.window.Toolbar1_ButtonClick(4);
    QCOMPARE(MessageBoxes(w.dialogs).at(0).text, Summary(source, target, "nein"));
  }

  // A pass from the window: a text for every file before it is handled, the pause for events
  // once per text file before it is opened, the busy pointer throughout, the closing text,
  // and the target's state and path afterwards.
  void conversionFromTheWindowReportsAsItGoes() {
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    MakeSmallProject(tree, "Quelle", 5000);
    const fs::path target = tree.Folder("Ziel");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));

    // What a person sees at each pause: the text file's own name, and it is not written yet.
    const QStringList text_files = {"Form1.frm", "Form2.frm", "Modul1.bas", "Projekt1.vbp"};
    QStringList paused_at;
    bool written_before_pause = false;
    w.dialogs.during_do_events = [&] {
      paused_at << w.window.lbInfo()->text();
      const QString name = text_files.value(static_cast<int>(paused_at.size()) - 1);
      written_before_pause = written_before_pause || fs::exists(target / name.toStdString());
      QCOMPARE(w.dialogs.pointers(), std::vector<int>{tavrin::kPointerBusy});
    };
    PaintedCaptions painted(w.window.lbInfo());
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);  // the hints after the pass
    QTest::mouseClick(w.window.Toolbar1()->Button(3), Qt::LeftButton);

    QStringList expected_pauses;
    for (const QString& name : text_files) expected_pauses << QStringLiteral("Bearbeite: ") + name + "...";
    QCOMPARE(paused_at, expected_pauses);
    QVERIFY(!written_before_pause);
    QCOMPARE(w.dialogs.pointers(), (std::vector<int>{tavrin::kPointerBusy, tavrin::kPointerNormal}));

    // Every file's text was painted, in listing order, and the closing text last.
    QStringList file_captions;
    int line_captions = 0;
    const QString line_prefix = QStringLiteral("Bearbeite: ") + ShownFolder(target);
    for (const QString& caption : painted.captions()) {
      if (caption.startsWith(line_prefix)) {
        ++line_captions;
        QVERIFY2(caption.contains(QRegularExpression(QStringLiteral(R"(\.frm \[\d+\]\.\.\.$)"))),
                 qPrintable(caption));
      } else if (file_captions.isEmpty() || file_captions.back() != caption) {
        file_captions << caption;
      }
    }
    QCOMPARE(file_captions,
             (QStringList{"Bearbeite: Form1.frm...", "Bearbeite: Form1.frx...", "Bearbeite: Form2.frm...",
                          "Bearbeite: Modul1.bas...", "Bearbeite: Projekt1.vbp...",
                          "Bearbeite: Konvertierung abgeschlossen......"}));
    // Form1.frm has 5000 lines; far fewer line texts were painted.
    QVERIFY2(line_captions < 100, std::to_string(line_captions).c_str());
    QCOMPARE(w.window.lbInfo()->text(), QStringLiteral("Bearbeite: Konvertierung abgeschlossen......"));
    // The target's display, refreshed at the end.
    QCOMPARE(w.window.lbCr()->text(), QStringLiteral("Nein"));
    QCOMPARE(tavrin::testing::TextColour(w.window.lbCr()), tavrin::testing::kRedText);
    QCOMPARE(w.window.StatusBar1()->SimpleText(), ShownFolder(target));
    // After the pass, only the hints: Form2.frm ended its lines in LF.
    QCOMPARE(MessageBoxes(w.dialogs).size(), std::size_t{1});
    QCOMPARE(MessageBoxes(w.dialogs)[0].title, std::string("Konvertierungshinweise"));
    QVERIFY(MessageBoxes(w.dialogs)[0].text.find("\r\n\r\nZeilenenden: 1\r\n") != std::string::npos);
    QCOMPARE(FolderSnapshot(target).size(), std::size_t{5});
  }

  // Files that fail are reported in the request's message box after the pass.
  void failedFilesAreReportedAfterThePass() {
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    MakeSmallProject(tree, "Quelle");
    const fs::path target = tree.Folder("Ziel");
    tavrin::testing::FaultyFileServices files;
    files.FailReadAfter("Form1.frx", 0, EIO);
    files.FailOpenInput("Modul1.bas", EACCES);
    TestWindow w(tree.root(), files);
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    const RequestResult result = w.window.Tavrin();
    QCOMPARE(result.outcome, RequestResult::Outcome::kConvertedWithFailures);
    const auto boxes = MessageBoxes(w.dialogs);
    QCOMPARE(boxes.size(), std::size_t{2});  // the failures, then the hints
    QCOMPARE(boxes[1].title, std::string("Konvertierungshinweise"));
    QCOMPARE(boxes[0].text, tavrin::FailureMessage(result.report));
    QVERIFY(boxes[0].text.starts_with("Folgende Dateien wurden nicht übertragen:\r\nForm1.frx: "));
    QVERIFY(boxes[0].text.find("\r\nModul1.bas: ") != std::string::npos);
    QCOMPARE(boxes[0].style, kExclamation);
    QCOMPARE(boxes[0].title, std::string("Konvertierungsfehler"));
    QCOMPARE(w.window.lbInfo()->text(),
             QStringLiteral("Bearbeite: Konvertierung mit Fehlern abgeschlossen......"));
    QCOMPARE(w.dialogs.pointers(), (std::vector<int>{tavrin::kPointerBusy, tavrin::kPointerNormal}));
    QVERIFY(!fs::exists(target / "Form1.frx"));
    QVERIFY(!fs::exists(target / "Modul1.bas"));
    QVERIFY(fs::exists(target / "Form1.frm"));
  }

  // Project entries whose files the target lacks are named in one box after the pass, after
  // the failure box, with every other kind of hint, and with the command for a whole tree.
  void missingProjectFilesAreNamedAfterThePass() {
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    MakeSmallProject(tree, "Quelle");
    tree.File("Quelle/Projekt1.vbp", "Type=Exe\r\nForm=Form1.frm\r\nForm=Formulare\\Form3.frm\r\nModule=M; Modul1.bas\r\n");
    tree.File("Quelle/Formulare/Form3.frm", "x\r\n");
    const fs::path target = tree.Folder("Ziel");
    tavrin::testing::FaultyFileServices files;
    files.FailOpenInput("Modul1.bas", EACCES);
    TestWindow w(tree.root(), files);
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    const RequestResult result = w.window.Tavrin();
    QCOMPARE(result.outcome, RequestResult::Outcome::kConvertedWithFailures);
    const auto boxes = MessageBoxes(w.dialogs);
    QCOMPARE(boxes.size(), std::size_t{2});
    QCOMPARE(boxes[0].title, std::string("Konvertierungsfehler"));
    QCOMPARE(boxes[1].title, std::string("Konvertierungshinweise"));
    QCOMPARE(boxes[1].style, tavrin::kButtonsOk + tavrin::kIconInformation);
    const std::string& text = boxes[1].text;
    QVERIFY(text.starts_with("Nach der Konvertierung bleibt von Hand zu tun:\r\n\r\nFehlende Projektdateien: 2\r\n"));
    QVERIFY(text.find("Mit „tavrin-convert --recursive QUELLE ZIEL“ konvertieren.") != std::string::npos);
    QVERIFY(text.find("\r\n\r\nZeilenenden: 1\r\n") != std::string::npos);
    QVERIFY(text.find("Projekt1.vbp, Zeile 3: „Formulare" + tavrin::ShownText("\\") +
                      "Form3.frm“ fehlt im Zielverzeichnis: Die Datei liegt im Unterverzeichnis „Formulare“") !=
            std::string::npos);
    QVERIFY(text.find("Projekt1.vbp, Zeile 4: „Modul1.bas“") != std::string::npos);
    QVERIFY(text.find("Form1.frm“") == std::string::npos);
    QCOMPARE(w.window.lbInfo()->text(),
             QStringLiteral("Bearbeite: Konvertierung mit Fehlern abgeschlossen......"));
  }
};

QTEST_MAIN(WindowCommandsTest)
#include "window_commands_test.moc"
