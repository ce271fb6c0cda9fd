#include "window/qt/lists/folder_list.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/window/lists/path_printing.h"
#include "tests/window/scratch_tree.h"
#include "window/presenter/folder_name_order.h"
#include "window/qt/lists/path_text.h"

namespace fs = std::filesystem;
using tavrin::FolderList;
using tavrin::testing::ScratchTree;

namespace {

QStringList Texts(const FolderList& list) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) texts << list.item(row)->text();
  return texts;
}

QStringList SubfolderTexts(const FolderList& list) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) {
    if (!list.item(row)->data(FolderList::kOpenRole).toBool()) texts << list.item(row)->text();
  }
  return texts;
}

QListWidgetItem* RowOf(const FolderList& list, const fs::path& folder) {
  for (int row = 0; row < list.count(); ++row) {
    if (FolderList::RowPath(list.item(row)) == folder) return list.item(row);
  }
  return nullptr;
}

// `path` with a leading "@" standing for the scratch folder, written out as bytes.
fs::path ScratchPath(const ScratchTree& scratch, const QByteArray& path) {
  const std::string text = path.toStdString();
  return text.starts_with('@') ? fs::path(scratch.root().native() + text.substr(1)) : fs::path(text);
}

QImage IconImage(const QListWidgetItem* row) { return row->icon().pixmap(16).toImage(); }

// The first column of `image` in line `y` whose colour differs from the row's left edge.
int FirstDrawnColumn(const QImage& image, int y) {
  for (int x = 1; x < image.width(); ++x) {
    if (image.pixel(x, y) != image.pixel(0, y)) return x;
  }
  return -1;
}

// A list shown on the offscreen screen, so that it lays out and takes mouse events.
struct ShownList {
  FolderList list;
  QSignalSpy changes{&list, &FolderList::Change};
  explicit ShownList(const fs::path& folder) {
    list.resize(320, 480);
    list.show();
    if (!QTest::qWaitForWindowExposed(&list)) qFatal("list not shown");
    if (!list.SetPath(folder)) qFatal("cannot show the test folder");
    changes.clear();
  }
  QPoint Centre(const fs::path& folder) const { return list.visualItemRect(RowOf(list, folder)).center(); }
};

}  // namespace

class FolderListTest : public QObject {
  Q_OBJECT

 private slots:
  void ShowsChainThenSortedVisibleSubfolders() {
    ScratchTree scratch;
    const fs::path shown = scratch.Folder("top/shown");
    for (const char* name : {"Beta", "alpha", "z10", "z9", "Z1", ".hidden", "alpha/inner"})
      scratch.Folder(shown / name);
    scratch.File(shown / "file.txt");
    fs::create_directory_symlink(shown / "alpha", shown / "link");
    fs::create_symlink(shown / "file.txt", shown / "filelink");
    fs::create_directory_symlink(shown / "missing", shown / "dangling");

    FolderList list;
    QVERIFY(list.SetPath(shown));

    std::vector<fs::path> chain{shown.root_path()};
    for (const fs::path& name : shown.relative_path()) chain.push_back(chain.back() / name);
    const QStringList subfolders{"alpha", "Beta", "link", "Z1", "z9", "z10"};
    QCOMPARE(list.count(), static_cast<int>(chain.size()) + subfolders.size());
    QCOMPARE(SubfolderTexts(list), subfolders);
    const int depth = static_cast<int>(chain.size()) - 1;
    for (int row = 0; row < list.count(); ++row) {
      const QListWidgetItem* item = list.item(row);
      const bool on_chain = row <= depth;
      const fs::path folder = on_chain ? chain[row] : shown / subfolders[row - depth - 1].toStdString();
      QCOMPARE(FolderList::RowPath(item), folder);
      QCOMPARE(item->text(), row == 0 ? QString("/") : tavrin::DisplayText(folder.filename()));
      QCOMPARE(item->data(FolderList::kDepthRole).toInt(), on_chain ? row : depth + 1);
      QCOMPARE(item->data(FolderList::kOpenRole).toBool(), on_chain);
      QVERIFY(!item->icon().isNull());
      QCOMPARE(IconImage(item), IconImage(list.item(on_chain ? 0 : depth + 1)));
    }
    QVERIFY(IconImage(list.item(0)) != IconImage(list.item(depth + 1)));
    QCOMPARE(list.currentRow(), depth);
    QVERIFY(list.item(depth)->isSelected());
  }

  void IndentsRowsByDepth() {
    ScratchTree scratch;
    scratch.Folder("a/b/c");
    ShownList shown(scratch.Folder("a/b"));
    shown.list.setCurrentRow(-1);
    const QImage image = shown.list.viewport()->grab().toImage();
    const int left = FirstDrawnColumn(image, shown.list.visualItemRect(shown.list.item(0)).center().y());
    QVERIFY(left > 0);
    for (int row = 1; row < shown.list.count(); ++row) {
      const QListWidgetItem* item = shown.list.item(row);
      const int depth = item->data(FolderList::kDepthRole).toInt();
      QCOMPARE(FirstDrawnColumn(image, shown.list.visualItemRect(item).center().y()),
               left + depth * FolderList::kIndentStep);
    }
  }

  void OrdersNamesNaturallyWithoutCase_data() {
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::newRow("letters ignore case") << QByteArray("apple") << QByteArray("Banana");
    QTest::newRow("numbers by value") << QByteArray("z9") << QByteArray("z10");
    QTest::newRow("leading zeros by value") << QByteArray("v007b") << QByteArray("v8a");
    QTest::newRow("prefix first") << QByteArray("Data") << QByteArray("data1");
    QTest::newRow("equal ignoring case: bytes decide") << QByteArray("ABC") << QByteArray("abc");
    QTest::newRow("equal value: fewer zeros first") << QByteArray("x01") << QByteArray("x1");
    QTest::newRow("bytes above ASCII after letters") << QByteArray("zz") << QByteArray("\xc3\xa4");
  }
  void OrdersNamesNaturallyWithoutCase() {
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QVERIFY(tavrin::FolderNameLess(first.toStdString(), second.toStdString()));
    QVERIFY(!tavrin::FolderNameLess(second.toStdString(), first.toStdString()));
    QVERIFY(!tavrin::FolderNameLess(first.toStdString(), first.toStdString()));
  }

  void SetPathFollowsAbsoluteAndRelativePaths_data() {
    // "@" stands for the scratch folder; the list starts in @/a/b.
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("shown");
    QTest::addColumn<int>("changes");
    QTest::newRow("subfolder") << QByteArray("c") << QByteArray("a/b/c") << 1;
    QTest::newRow("separator at the end") << QByteArray("c/") << QByteArray("a/b/c") << 1;
    QTest::newRow("dots inside") << QByteArray("./c/../d") << QByteArray("a/b/d") << 1;
    QTest::newRow("parent") << QByteArray("..") << QByteArray("a") << 1;
    QTest::newRow("grandparent") << QByteArray("../..") << QByteArray("") << 1;
    QTest::newRow("sibling") << QByteArray("../e") << QByteArray("a/e") << 1;
    QTest::newRow("same by dot") << QByteArray(".") << QByteArray("a/b") << 0;
    QTest::newRow("same by absolute path") << QByteArray("@/a/b") << QByteArray("a/b") << 0;
    QTest::newRow("same with separator at the end") << QByteArray("@/a/b/") << QByteArray("a/b") << 0;
    QTest::newRow("absolute") << QByteArray("@/a/e") << QByteArray("a/e") << 1;
    QTest::newRow("doubled separators") << QByteArray("@//a///e/") << QByteArray("a/e") << 1;
  }
  void SetPathFollowsAbsoluteAndRelativePaths() {
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, shown);
    QFETCH(int, changes);
    ScratchTree scratch;
    for (const char* folder : {"a/b/c", "a/b/d", "a/e"}) scratch.Folder(folder);
    FolderList list;
    QVERIFY(list.SetPath(scratch.root() / "a/b"));
    QSignalSpy spy(&list, &FolderList::Change);

    QVERIFY(list.SetPath(ScratchPath(scratch, path)));
    const fs::path expected = shown.isEmpty() ? scratch.root() : scratch.root() / shown.toStdString();
    QCOMPARE(list.Path(), expected);
    QCOMPARE(list.Path().native(), expected.native());
    QCOMPARE(spy.count(), changes);
    QCOMPARE(FolderList::RowPath(list.currentItem()), expected);
    QCOMPARE(list.currentItem()->data(FolderList::kOpenRole).toBool(), true);
  }

  void SetPathRefusesWhatIsNoFolder_data() {
    QTest::addColumn<QByteArray>("path");
    QTest::newRow("missing") << QByteArray("missing");
    QTest::newRow("missing absolute") << QByteArray("@/missing/x");
    QTest::newRow("a file") << QByteArray("file.txt");
    QTest::newRow("below a file") << QByteArray("file.txt/sub");
    QTest::newRow("empty") << QByteArray();
  }
  void SetPathRefusesWhatIsNoFolder() {
    QFETCH(QByteArray, path);
    ScratchTree scratch;
    scratch.Folder("sub");
    scratch.File("file.txt");
    FolderList list;
    QVERIFY(list.SetPath(scratch.root()));
    const QStringList rows = Texts(list);
    QSignalSpy spy(&list, &FolderList::Change);

    QVERIFY(!list.SetPath(ScratchPath(scratch, path)));
    QCOMPARE(list.Path(), scratch.root());
    QCOMPARE(Texts(list), rows);
    QCOMPARE(spy.count(), 0);
    // Still usable afterwards.
    QVERIFY(list.SetPath("sub"));
    QCOMPARE(list.Path(), scratch.root() / "sub");
    QCOMPARE(spy.count(), 1);
  }

  void ParentOfTheRootIsTheRoot() {
    FolderList list;
    QVERIFY(list.SetPath("/"));
    QSignalSpy spy(&list, &FolderList::Change);
    QVERIFY(list.SetPath(".."));
    QCOMPARE(list.Path(), fs::path("/"));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(list.item(0)->text(), QString("/"));
    QCOMPARE(list.currentRow(), 0);
  }

  void ChangeRunsBeforeSetPathReturnsAndSeesTheNewFolder() {
    ScratchTree scratch;
    scratch.Folder("a/b");
    FolderList list;
    QVERIFY(list.SetPath(scratch.root()));
    std::vector<fs::path> seen;
    connect(&list, &FolderList::Change, this, [&] {
      seen.push_back(list.Path());
      QCOMPARE(FolderList::RowPath(list.currentItem()), list.Path());
    });
    QVERIFY(list.SetPath("a"));
    QCOMPARE(seen, std::vector<fs::path>{scratch.root() / "a"});
    QVERIFY(list.SetPath(scratch.root() / "a"));
    QVERIFY(list.SetPath("b"));
    QCOMPARE(seen, (std::vector<fs::path>{scratch.root() / "a", scratch.root() / "a/b"}));
  }

  void RefreshFollowsTheDisk() {
    ScratchTree scratch;
    for (const char* folder : {"c", "d", "e"}) scratch.Folder(folder);
    FolderList list;
    QVERIFY(list.SetPath(scratch.root()));
    QSignalSpy spy(&list, &FolderList::Change);
    list.setCurrentItem(RowOf(list, scratch.root() / "d"));

    scratch.Folder("new");
    scratch.Folder(".hidden");
    fs::remove(scratch.root() / "c");
    QCOMPARE(SubfolderTexts(list), (QStringList{"c", "d", "e"}));
    QVERIFY(!list.Refresh());
    QCOMPARE(SubfolderTexts(list), (QStringList{"d", "e", "new"}));
    QCOMPARE(list.Path(), scratch.root());
    QCOMPARE(FolderList::RowPath(list.currentItem()), scratch.root() / "d");
    QCOMPARE(spy.count(), 0);

    // The selected subfolder went: the folder shown is selected again.
    fs::remove(scratch.root() / "d");
    list.Refresh();
    QCOMPARE(FolderList::RowPath(list.currentItem()), scratch.root());
  }

  void RefreshMovesUpWhenTheShownFolderVanished() {
    ScratchTree scratch;
    scratch.Folder("a/b/c");
    scratch.Folder("a/other");
    FolderList list;
    QVERIFY(list.SetPath(scratch.root() / "a/b/c"));
    QSignalSpy spy(&list, &FolderList::Change);
    fs::remove_all(scratch.root() / "a/b");
    QVERIFY(list.Refresh());
    QCOMPARE(list.Path(), scratch.root() / "a");
    QCOMPARE(spy.count(), 1);
    QCOMPARE(SubfolderTexts(list), QStringList{"other"});
    QCOMPARE(FolderList::RowPath(list.currentItem()), scratch.root() / "a");
  }

  void KeyboardSelectsWithArrowsAndOpensWithEnter() {
    ScratchTree scratch;
    scratch.Folder("top/c");
    scratch.Folder("top/d");
    ShownList shown(scratch.root() / "top");
    FolderList& list = shown.list;

    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(FolderList::RowPath(list.currentItem()), scratch.root() / "top/c");
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(FolderList::RowPath(list.currentItem()), scratch.root() / "top/d");
    QVERIFY(list.currentItem()->isSelected());
    QCOMPARE(list.Path(), scratch.root() / "top");
    QCOMPARE(shown.changes.count(), 0);

    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(list.Path(), scratch.root() / "top/d");
    QCOMPARE(shown.changes.count(), 1);
    QCOMPARE(FolderList::RowPath(list.currentItem()), scratch.root() / "top/d");

    // Up to the row of the scratch folder on the chain, then the keypad's Enter.
    QTest::keyClick(&list, Qt::Key_Up);
    QTest::keyClick(&list, Qt::Key_Up);
    QTest::keyClick(&list, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(list.Path(), scratch.root());
    QCOMPARE(shown.changes.count(), 2);
  }

  void ClickSelectsAndDoubleClickOpens() {
    ScratchTree scratch;
    scratch.Folder("top/c");
    scratch.Folder("top/d");
    ShownList shown(scratch.root() / "top");
    FolderList& list = shown.list;

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, shown.Centre(scratch.root() / "top/d"));
    QCOMPARE(FolderList::RowPath(list.currentItem()), scratch.root() / "top/d");
    QVERIFY(list.currentItem()->isSelected());
    QCOMPARE(list.Path(), scratch.root() / "top");
    QCOMPARE(shown.changes.count(), 0);

    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, shown.Centre(scratch.root() / "top/c"));
    QCOMPARE(list.Path(), scratch.root() / "top/c");
    QCOMPARE(shown.changes.count(), 1);

    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, shown.Centre(scratch.root()));
    QCOMPARE(list.Path(), scratch.root());
    QCOMPARE(shown.changes.count(), 2);
  }

  void OpeningAVanishedFolderRereadsTheDisk() {
    ScratchTree scratch;
    scratch.Folder("top/gone");
    scratch.Folder("top/kept");
    ShownList shown(scratch.root() / "top");
    FolderList& list = shown.list;

    // A subfolder went after it was listed: it is dropped and the folder shown stays.
    fs::remove(scratch.root() / "top/gone");
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, shown.Centre(scratch.root() / "top/gone"));
    QCOMPARE(list.Path(), scratch.root() / "top");
    QCOMPARE(shown.changes.count(), 0);
    QCOMPARE(SubfolderTexts(list), QStringList{"kept"});

    // The folder shown went as well: the list moves to what is left.
    fs::remove_all(scratch.root() / "top");
    list.setCurrentItem(RowOf(list, scratch.root() / "top/kept"));
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(list.Path(), scratch.root());
    QCOMPARE(shown.changes.count(), 1);
    QCOMPARE(SubfolderTexts(list), QStringList{});
  }

  void OpensFoldersNamedInAnyBytes() {
    ScratchTree scratch;
    const std::string latin_1 =
        "Gr\xfc\xdf"
        "e";
    const std::string other =
        "Gr\xfd\xdf"
        "e";
    const std::string utf_8 =
        "Gr\xc3\xb6\xc3\x9f"
        "e";
    for (const std::string& name : {latin_1, other, utf_8}) scratch.Folder(name + "/inside");
    ShownList shown(scratch.root());
    FolderList& list = shown.list;

    QCOMPARE(RowOf(list, scratch.root() / utf_8)->text(), QString::fromUtf8("Gr\xc3\xb6\xc3\x9f"
                                                                            "e"));
    // The two Windows-1252 names show their bytes, so they never read alike; each row opens
    // its own folder.
    QCOMPARE(RowOf(list, scratch.root() / latin_1)->text(), QStringLiteral("Gr\\xFC\\xDFe"));
    QCOMPARE(RowOf(list, scratch.root() / other)->text(), QStringLiteral("Gr\\xFD\\xDFe"));
    for (const std::string& name : {latin_1, other, utf_8}) {
      list.setCurrentItem(RowOf(list, scratch.root() / name));
      QTest::keyClick(&list, Qt::Key_Return);
      QCOMPARE(list.Path().native(), (scratch.root() / name).native());
      QCOMPARE(SubfolderTexts(list), QStringList{"inside"});
      QVERIFY(list.SetPath(".."));
    }
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, shown.Centre(scratch.root() / other));
    QCOMPARE(list.Path().native(), (scratch.root() / other).native());
  }

  void OpensLinksToFoldersByTheirOwnName() {
    ScratchTree scratch;
    scratch.Folder("real/inside");
    fs::create_directory_symlink(scratch.root() / "real", scratch.root() / "link");
    ShownList shown(scratch.root());
    QTest::mouseDClick(shown.list.viewport(), Qt::LeftButton, {}, shown.Centre(scratch.root() / "link"));
    QCOMPARE(shown.list.Path(), scratch.root() / "link");
    QCOMPARE(SubfolderTexts(shown.list), QStringList{"inside"});
    QVERIFY(shown.list.SetPath(".."));
    QCOMPARE(shown.list.Path(), scratch.root());
  }

  void StartsInTheCurrentFolder() {
    ScratchTree scratch;
    const fs::path before = fs::current_path();
    fs::current_path(scratch.Folder("here"));
    FolderList list;
    fs::current_path(before);
    QCOMPARE(list.Path(), scratch.root() / "here");
    QCOMPARE(FolderList::RowPath(list.currentItem()), scratch.root() / "here");
  }
};

QTEST_MAIN(FolderListTest)
#include "folder_list_test.moc"
