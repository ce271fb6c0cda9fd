// Texts too long for their place: the progress caption lbInfo and the status bar show them
// shortened in the middle, keeping what matters (the prefix, the file and its line, the last
// folder), and the whole text as tool tip; the text itself stays whole.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <filesystem>
#include <string>

#include "runtime/file_services.h"
#include "tests/window/scratch_tree.h"
#include "tests/window/scripted_dialogs.h"
#include "window/qt/application_setup.h"
#include "window/qt/frm_convert.h"
#include "window/qt/path_elision.h"

namespace fs = std::filesystem;
using tavrin::ElidePathInMiddle;
using tavrin::testing::CurrentFolder;
using tavrin::testing::ScratchTree;
using tavrin::testing::ScriptedDialogs;

namespace {

const QString kEllipsis(QChar(0x2026));

QFontMetrics Metrics() { return QFontMetrics(QApplication::font()); }

int WidthOf(const QString& text) { return Metrics().horizontalAdvance(text); }

struct Window {
  explicit Window(const fs::path& start) : current(start), window(dialogs, tavrin::DiskFileServices()) {}
  CurrentFolder current;
  ScriptedDialogs dialogs;
  tavrin::frmConvert window;
};

// What `label` draws, next to what a plain label with the same look and place draws for `text`.
bool DrawsLike(tavrin::ElidedLabel* label, const QString& text) {
  QLabel plain(text, label->parentWidget());
  plain.setTextFormat(Qt::PlainText);
  plain.setFont(label->font());
  plain.setPalette(label->palette());
  plain.setAlignment(label->alignment());
  plain.setIndent(label->indent());
  plain.setFrameStyle(label->frameStyle());
  plain.setGeometry(label->geometry());
  plain.show();
  const QImage theirs = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
  return label->grab().toImage().convertToFormat(QImage::Format_RGB32) == theirs;
}

}  // namespace

class ElidedTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { tavrin::SetUpApplication(); }

  // Given exactly the room of the expected text, that text comes out: any more folders would
  // not fit, fewer would waste the room.
  void pathsLoseWholeFoldersFromTheirMiddle_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString caption = QStringLiteral("Bearbeite: /work/alpha/beta/gamma/Ziel/frmHaupt.frm [12]...");
    QTest::newRow("fits") << caption << caption;
    QTest::newRow("one folder dropped")
        << caption << "Bearbeite: /work/alpha/" + kEllipsis + "/gamma/Ziel/frmHaupt.frm [12]...";
    QTest::newRow("as many in front as behind")
        << caption << "Bearbeite: /work/" + kEllipsis + "/Ziel/frmHaupt.frm [12]...";
    QTest::newRow("one more in front")
        << caption << "Bearbeite: /work/alpha/" + kEllipsis + "/Ziel/frmHaupt.frm [12]...";
    QTest::newRow("every folder dropped") << caption << "Bearbeite: /" + kEllipsis + "/frmHaupt.frm [12]...";
    QTest::newRow("folder path keeps its last folder")
        << QStringLiteral("/tmp/Projekte/Kunden/Alt/") << "/tmp/" + kEllipsis + "/Alt/";
    QTest::newRow("relative path keeps its first name") << QStringLiteral("Bearbeite: Ziel/a/b/f.frm [3]...")
                                                        << "Bearbeite: Ziel/" + kEllipsis + "/f.frm [3]...";
    QTest::newRow("doubled separator")
        << QStringLiteral("/alpha//beta/gamma/f.frm") << "/alpha/" + kEllipsis + "/gamma/f.frm";
  }
  void pathsLoseWholeFoldersFromTheirMiddle() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(ElidePathInMiddle(text, Metrics(), WidthOf(expected)), expected);
  }

  // Where no folder can go, or dropping all of them is not enough, the text is cut in its
  // middle; whatever the room, the result fits it.
  void everyShortenedTextFitsItsRoom_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("caption") << QStringLiteral("Bearbeite: /work/alpha/beta/gamma/Ziel/frmHaupt.frm [12]...");
    QTest::newRow("no path") << QStringLiteral("Bearbeite: Kunden-mit-einem-recht-langen-Namen.frm...");
    QTest::newRow("only a name after the root") << QStringLiteral("/Kunden-mit-einem-recht-langen-Namen.frm");
    QTest::newRow("folder path") << QStringLiteral("/tmp/Projekte/Kunden/Alt/");
    QTest::newRow("only separators") << QStringLiteral("////");
  }
  void everyShortenedTextFitsItsRoom() {
    QFETCH(QString, text);
    for (int width = WidthOf(kEllipsis); width <= WidthOf(text) + 1; ++width) {
      const QString shown = ElidePathInMiddle(text, Metrics(), width);
      QVERIFY2(WidthOf(shown) <= width, qPrintable(QStringLiteral("%1 at %2").arg(shown).arg(width)));
      if (shown != text) QVERIFY2(shown.contains(kEllipsis), qPrintable(shown));
    }
    QCOMPARE(ElidePathInMiddle(text, Metrics(), WidthOf(text)), text);
  }

  // lbInfo keeps the caption as written ("Bearbeite: <path> [line]..."), shows "Bearbeite: ",
  // the start of the path and the file with its line, and has the whole caption as tool tip.
  void longProgressCaptionShowsTheFileAndItsLine() {
    ScratchTree tree;
    Window w(tree.root());
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    w.window.SSTab1()->SetTab(2);
    const std::string target =
        "/home/anna/Projekte/Kundenverwaltung-2026/Umstellung-auf-Version-6/Ziel/frmHauptfenster.frm";
    w.window.WriteInfo(target, 1234);
    tavrin::ElidedLabel* label = w.window.lbInfo();
    const QString caption = QStringLiteral("Bearbeite: %1 [1234]...").arg(QString::fromStdString(target));
    QCOMPARE(label->text(), caption);
    const QString shown = label->ShownText();
    QVERIFY2(shown.startsWith(QStringLiteral("Bearbeite: /home/")), qPrintable(shown));
    QVERIFY2(shown.endsWith(kEllipsis + QStringLiteral("/Ziel/frmHauptfenster.frm [1234]...")) ||
                 shown.endsWith(kEllipsis + QStringLiteral("/frmHauptfenster.frm [1234]...")),
             qPrintable(shown));
    QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width());
    QCOMPARE(label->toolTip(), caption);
    QVERIFY(DrawsLike(label, shown));

    // A caption that fits is shown whole, without a tool tip.
    w.window.WriteInfo("Kunden.vbp", 0);
    QCOMPARE(label->ShownText(), QStringLiteral("Bearbeite: Kunden.vbp..."));
    QCOMPARE(label->toolTip(), QString());
    QVERIFY(DrawsLike(label, label->text()));
  }

  // The status bar keeps the whole folder path as its text, shows its start and its last
  // folder, and has the whole path as tool tip.
  void longFolderPathInTheStatusBar() {
    ScratchTree tree;
    const fs::path deep = tree.Folder(fs::path("Projekte-des-Jahres-2026") / std::string(60, 'a') /
                                      std::string(60, 'b') / "Kunden");
    Window w(deep);
    w.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    const QString path = QString::fromStdString(deep.string()) + QLatin1Char('/');
    QCOMPARE(w.window.StatusBar1()->SimpleText(), path);
    auto* panel = w.window.StatusBar1()->findChild<tavrin::ElidedLabel*>();
    QVERIFY(panel != nullptr);
    const QString shown = panel->ShownText();
    QVERIFY2(shown.endsWith(QStringLiteral("/Kunden/")) && shown.contains(kEllipsis), qPrintable(shown));
    QVERIFY2(shown.startsWith(path.left(path.indexOf(QLatin1Char('/'), 1) + 1)), qPrintable(shown));
    QVERIFY(panel->fontMetrics().horizontalAdvance(shown) < panel->contentsRect().width());
    QCOMPARE(panel->toolTip(), path);
    QVERIFY(DrawsLike(panel, shown));

    // The fixed texts of the conversion page fit.
    w.window.SSTab1()->SetTab(2);
    QCOMPARE(panel->ShownText(), w.window.StatusBar1()->SimpleText());
    QCOMPARE(panel->toolTip(), QString());
  }
};

QTEST_MAIN(ElidedTextsTest)
#include "elided_texts_test.moc"
