// The example project converted from the window as a user would do it: the source folder
// opened with the keyboard, the target page chosen on the toolbar, the target folder opened
// with a double click, and the conversion started with the toolbar. The target must match
// the expected result of the core's end-to-end test byte for byte.
#include <QTest>

#include "conversion/conversion_pass.h"
#include "tests/cli/folder_snapshot.h"
#include "tests/window/test_window.h"
#include "window/qt/application_setup.h"

namespace fs = std::filesystem;
using tavrin::testing::ExamplesFolder;
using tavrin::testing::ExpectedFolder;
using tavrin::testing::FolderSnapshot;
using tavrin::testing::RowOf;
using tavrin::testing::ScratchTree;
using tavrin::testing::ShownFolder;
using tavrin::testing::TestWindow;

class WindowEndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { tavrin::SetUpApplication(); }

  void exampleProjectConvertedFromTheWindow() {
    ScratchTree tree;
    const fs::path source = tree.root() / "Beispiel";
    fs::copy(ExamplesFolder() / "Beispiel", source);
    const fs::path target = tree.Folder("Ziel");
    TestWindow w(tree.root());
    w.dialogs.during_do_events = [] { QCoreApplication::processEvents(); };
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QCOMPARE(w.window.SSTab1()->Tab(), 0);

    // Source: down the list with the arrow key, opened with Enter.
    tavrin::FolderList* dir1 = w.window.Dir1();
    dir1->setFocus();
    for (int step = 0; step < dir1->count() && tavrin::FolderList::RowPath(dir1->currentItem()) != source;
         ++step)
      QTest::keyClick(dir1, Qt::Key_Down);
    QTest::keyClick(dir1, Qt::Key_Return);
    QCOMPARE(dir1->Path(), source);
    QCOMPARE(w.window.lbPrj()->text(), QStringLiteral("Ja"));

    // Target: its page from the toolbar, the folder opened with a double click.
    QTest::mouseClick(w.window.Toolbar1()->Button(2), Qt::LeftButton);
    QCOMPARE(w.window.SSTab1()->Tab(), 1);
    tavrin::FolderList* dir2 = w.window.Dir2();
    QListWidgetItem* row = RowOf(dir2, target);
    QVERIFY(row != nullptr);
    QTest::mouseDClick(dir2->viewport(), Qt::LeftButton, {}, dir2->visualItemRect(row).center());
    QCOMPARE(dir2->Path(), target);
    QCOMPARE(w.window.lbCr()->text(), QStringLiteral("Ja"));

    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);  // what is left to do by hand
    QTest::mouseClick(w.window.Toolbar1()->Button(3), Qt::LeftButton);

    QCOMPARE(w.window.SSTab1()->Tab(), 2);
    QCOMPARE(FolderSnapshot(target), FolderSnapshot(ExpectedFolder() / "Beispiel"));  // and nothing more
    QCOMPARE(FolderSnapshot(source), FolderSnapshot(ExamplesFolder() / "Beispiel"));
    QCOMPARE(w.window.lbCr()->text(), QStringLiteral("Nein"));
    QCOMPARE(tavrin::testing::TextColour(w.window.lbCr()), tavrin::testing::kRedText);
    QCOMPARE(w.window.StatusBar1()->SimpleText(), ShownFolder(target));
    QCOMPARE(w.window.lbInfo()->text(), QStringLiteral("Bearbeite: Konvertierung abgeschlossen......"));
    QCOMPARE(w.dialogs.pointers(), (std::vector<int>{tavrin::kPointerBusy, tavrin::kPointerNormal}));
    int text_files = 0;  // one pause for events before each
    for (const auto& [name, bytes] : FolderSnapshot(source))
      text_files += tavrin::IsProjectText(name) ? 1 : 0;
    QCOMPARE(w.dialogs.do_events(), text_files);
    // No refusal and no failure: only the hints, which name the command for the class ids left.
    QCOMPARE(w.dialogs.shown().size(), std::size_t{1});
    QCOMPARE(w.dialogs.shown()[0].title, std::string("Konvertierungshinweise"));
    QVERIFY(w.dialogs.shown()[0].text.find("„tavrin-convert --complete QUELLE ZIEL“") != std::string::npos);
    QVERIFY(w.dialogs.script_used_up());
    QVERIFY(!w.window.converting());
  }
};

QTEST_MAIN(WindowEndToEndTest)
#include "window_end_to_end_test.moc"
