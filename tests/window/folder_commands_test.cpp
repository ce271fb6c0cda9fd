// The two target-folder commands with real folders and scripted answers: "&Neu..." with
// every kind of answer and name, "&Löschen..." with No and Yes on folders of every make-up,
// links, failures, and the folders it refuses (roots, the source folder, what holds it).
#include <sys/mount.h>

#include <QTest>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/cli/folder_snapshot.h"
#include "tests/support/faulty_file_services.h"
#include "tests/window/test_window.h"
#include "window/qt/application_setup.h"
#include "window/presenter/message_box_style.h"

namespace fs = std::filesystem;
using tavrin::testing::FolderSnapshot;
using tavrin::testing::MessageBoxes;
using tavrin::testing::RowOf;
using tavrin::testing::ScratchTree;
using tavrin::testing::ScriptedDialogs;
using tavrin::testing::ShownFolder;
using tavrin::testing::ShownFolderText;
using tavrin::testing::TestWindow;

namespace {

const std::string kPrompt =
    "Bitte geben Sie das neu anzulegende Verzeichnis ohne führenden Schrägstrich an (z.B. Test)!";

std::string Question(const fs::path& folder) {
  return "Wollen Sie das aktuelle Verzeichnis [" + ShownFolderText(folder) +
         "] wirklich löschen (Es werden keine Unterverzeichnisse entfernt!)?";
}

// File services that read the real disk but change nothing on it: every call that would
// change the disk is recorded and fails. For tests where a fault could reach far beyond the
// scratch folder (a root folder).
class ReadOnlyFileServices : public tavrin::FileServices {
 public:
  std::vector<std::string> changes;

  tavrin::Status OpenFolder(const fs::path& folder, std::unique_ptr<tavrin::OpenedFolder>* out) override {
    std::unique_ptr<tavrin::OpenedFolder> real;
    tavrin::Status status = real_.OpenFolder(folder, &real);
    if (status.ok()) *out = std::make_unique<ReadOnlyFolder>(*this, std::move(real), folder);
    return status;
  }
  tavrin::FolderListing List(const fs::path& pattern) override { return real_.List(pattern); }
  bool Missing(const fs::path& path) override { return real_.Missing(path); }
  bool LinkTarget(const fs::path& path, fs::path* target) override { return real_.LinkTarget(path, target); }
  tavrin::Status RemoveFile(const fs::path& file) override { return Refuse("RemoveFile " + file.string()); }
  tavrin::Status MakeFolder(const fs::path& folder) override {
    return Refuse("MakeFolder " + folder.string());
  }
  tavrin::Status RemoveFolder(const fs::path& folder) override {
    return Refuse("RemoveFolder " + folder.string());
  }

 private:
  class ReadOnlyFolder : public tavrin::OpenedFolder {
   public:
    ReadOnlyFolder(ReadOnlyFileServices& owner, std::unique_ptr<tavrin::OpenedFolder> real, fs::path path)
        : owner_(owner), real_(std::move(real)), path_(std::move(path)) {}
    tavrin::FolderId id() const override { return real_->id(); }
    tavrin::FolderListing List(std::string_view wildcard) override { return real_->List(wildcard); }
    tavrin::Status OpenInput(const fs::path& name, std::unique_ptr<tavrin::InputFile>* out) override {
      return real_->OpenInput(name, out);
    }
    tavrin::Status CreateOutput(const fs::path& name, std::unique_ptr<tavrin::OutputFile>*) override {
      return owner_.Refuse("CreateOutput " + (path_ / name).string());
    }
    tavrin::Status RemoveFile(const fs::path& name) override {
      return owner_.Refuse("RemoveFile " + (path_ / name).string());
    }
    tavrin::Status OpenFolder(const fs::path& name, std::unique_ptr<tavrin::OpenedFolder>* out) override {
      std::unique_ptr<tavrin::OpenedFolder> real;
      tavrin::Status status = real_->OpenFolder(name, &real);
      if (status.ok()) *out = std::make_unique<ReadOnlyFolder>(owner_, std::move(real), path_ / name);
      return status;
    }
    tavrin::Status OpenParent(std::unique_ptr<tavrin::OpenedFolder>* out) override {
      std::unique_ptr<tavrin::OpenedFolder> real;
      tavrin::Status status = real_->OpenParent(&real);
      if (status.ok()) *out = std::make_unique<ReadOnlyFolder>(owner_, std::move(real), path_.parent_path());
      return status;
    }
    tavrin::Status MakeFolder(const fs::path& name) override {
      return owner_.Refuse("MakeFolder " + (path_ / name).string());
    }

   private:
    ReadOnlyFileServices& owner_;
    std::unique_ptr<tavrin::OpenedFolder> real_;
    fs::path path_;
  };

  tavrin::Status Refuse(std::string change) {
    changes.push_back(std::move(change));
    return tavrin::Status::Error("nicht erlaubt");
  }
  tavrin::FileServices& real_ = tavrin::DiskFileServices();
};

// Mounts `from` on `onto` as "mount --bind" does while it lives. Declared after the scratch
// tree that holds both folders, it unmounts before the tree is removed, also after a failed
// check: removing the tree while the mount stands would delete the files of `from` through
// `onto` a second way.
class BindMount {
 public:
  BindMount(const fs::path& from, const fs::path& onto) : onto_(onto) {
    if (mount(from.c_str(), onto.c_str(), nullptr, MS_BIND, nullptr) != 0) error_ = errno;
  }
  ~BindMount() {
    if (error_ != 0) return;
    if (umount2(onto_.c_str(), 0) != 0 && umount2(onto_.c_str(), MNT_DETACH) != 0)
      qFatal("cannot unmount %s: the scratch tree must not be removed", onto_.c_str());
  }
  BindMount(const BindMount&) = delete;
  BindMount& operator=(const BindMount&) = delete;

  bool mounted() const { return error_ == 0; }
  // Why the mount could not be made, for a skipped test.
  QByteArray why_not() const {
    return QByteArray("mount --bind is not possible here (") + std::strerror(error_) +
           "); it needs root or CAP_SYS_ADMIN";
  }

 private:
  fs::path onto_;
  int error_ = 0;
};

// Both lists were reread: a folder made behind the window's back shows in each.
void VerifyBothListsShow(const TestWindow& w, const fs::path& source_sub, const fs::path& target_sub) {
  QVERIFY(RowOf(w.window.Dir1(), source_sub) != nullptr);
  QVERIFY(RowOf(w.window.Dir2(), target_sub) != nullptr);
}

}  // namespace

class FolderCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { tavrin::SetUpApplication(); }

  // Whatever is entered, apart from the names below, is made inside the target as it stands.
  void newFolderIsMadeInsideTheTargetAsEntered_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("plain") << QByteArray("Test");
    QTest::newRow("blanks around") << QByteArray(" Test ");
    QTest::newRow("umlauts") << QByteArray("Übersicht");
    QTest::newRow("three dots") << QByteArray("...");
    QTest::newRow("dot at the end") << QByteArray("name.");
    QTest::newRow("leading dot") << QByteArray(".versteckt");
    QTest::newRow("backslash") << QByteArray("a\\b");
    QTest::newRow("leading dash") << QByteArray("-x");
  }
  void newFolderIsMadeInsideTheTargetAsEntered() {
    QFETCH(QByteArray, name);
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    const fs::path target = tree.Folder("Ziel");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    w.window.SSTab1()->SetTab(1);
    const QString status = w.window.StatusBar1()->SimpleText();
    w.dialogs.AnswerNextInputBox(name.toStdString());
    w.window.btnPath_Click(0);

    QCOMPARE(w.dialogs.shown().size(), std::size_t{1});
    QCOMPARE(w.dialogs.shown()[0].kind, ScriptedDialogs::Kind::kInputBox);
    QCOMPARE(w.dialogs.shown()[0].text, kPrompt);
    QCOMPARE(w.dialogs.shown()[0].title, std::string("Neues Verzeichnis"));
    const fs::path made = target / name.toStdString();
    QVERIFY(fs::is_directory(made));
    QCOMPARE(FolderSnapshot(target).size(), std::size_t{1});  // nothing else
    QCOMPARE(FolderSnapshot(tree.root()).size(), std::size_t{2});
    // The target list stays where it was and shows the new folder, unless it is hidden.
    QCOMPARE(w.window.Dir2()->Path(), target);
    QCOMPARE(RowOf(w.window.Dir2(), made) != nullptr, !name.startsWith('.'));
    QCOMPARE(w.window.StatusBar1()->SimpleText(), status);
  }

  // Cancel, an empty field, and names that would make something other than one folder
  // inside the target make nothing, silently; the lists are refreshed all the same.
  void newFolderMakesNothingElse_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("cancel or empty") << QByteArray();
    QTest::newRow("dot") << QByteArray(".");
    QTest::newRow("two dots") << QByteArray("..");
    QTest::newRow("nested") << QByteArray("a/b");
    QTest::newRow("separator at the end") << QByteArray("Test/");
    QTest::newRow("leading separator") << QByteArray("/Test");
    QTest::newRow("up and out") << QByteArray("../Ausbruch");
    QTest::newRow("NUL inside") << QByteArray("Te\0st", 5);
    QTest::newRow("exists already") << QByteArray("Da");
  }
  void newFolderMakesNothingElse() {
    QFETCH(QByteArray, name);
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    const fs::path target = tree.Folder("Ziel");
    tree.File("Ziel/Da/drin.txt", "bleibt");
    tree.Folder("Ziel/a");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    // Made behind the window's back: only a refresh shows them.
    const fs::path source_new = tree.Folder("Quelle/Extern");
    const fs::path target_new = tree.Folder("Ziel/Extern");
    QVERIFY(RowOf(w.window.Dir1(), source_new) == nullptr);
    const auto before = FolderSnapshot(tree.root());
    w.dialogs.AnswerNextInputBox(std::string(name.constData(), static_cast<std::size_t>(name.size())));
    w.window.btnPath_Click(0);
    QVERIFY(w.dialogs.script_used_up());
    QCOMPARE(w.dialogs.shown().size(), std::size_t{1});  // the input box, no message
    QCOMPARE(FolderSnapshot(tree.root()), before);
    QCOMPARE(w.window.Dir2()->Path(), target);
    VerifyBothListsShow(w, source_new, target_new);
  }

  void newFolderThatCannotBeMadeIsSilent() {
    ScratchTree tree;
    const fs::path target = tree.Folder("Ziel");
    tavrin::testing::FaultyFileServices files;
    files.FailMakeFolder("Test", ENOSPC);
    TestWindow w(target, files);
    w.dialogs.AnswerNextInputBox("Test");
    w.window.btnPath_Click(0);
    QVERIFY(!fs::exists(target / "Test"));
    QVERIFY(std::count(files.calls.begin(), files.calls.end(), "MakeFolder " + (target / "Test").string()) ==
            1);
    QCOMPARE(w.dialogs.shown().size(), std::size_t{1});
  }

  void deleteAnsweredNoKeepsEverything() {
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    const fs::path target = tree.Folder("Ziel");
    tree.File("Ziel/a.txt", "a");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    const fs::path source_new = tree.Folder("Quelle/Extern");
    const fs::path target_new = tree.Folder("Ziel/Extern");
    const auto before = FolderSnapshot(tree.root());
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerNo);
    w.window.btnPath_Click(1);
    const auto boxes = MessageBoxes(w.dialogs);
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, Question(target));
    QCOMPARE(boxes[0].style, tavrin::kButtonsYesNo + tavrin::kIconQuestion + tavrin::kDefaultButton2);
    QCOMPARE(boxes[0].default_answer, tavrin::kAnswerNo);  // Enter alone keeps the files
    QCOMPARE(boxes[0].title, std::string("Verzeichnis löschen"));
    QCOMPARE(FolderSnapshot(tree.root()), before);
    QCOMPARE(w.window.Dir2()->Path(), target);
    VerifyBothListsShow(w, source_new, target_new);
  }

  // Yes: the list moves to the parent first, the folder's own ordinary files go, and the
  // folder goes when nothing is left in it. The parent's files are not touched.
  void deleteAnsweredYes_data() {
    QTest::addColumn<QStringList>("files");  // made in the folder to delete
    QTest::addColumn<QStringList>("left");   // what stays in it
    QTest::newRow("only files") << QStringList{"a.txt", "Form1.frm", "Projekt1.vbp"} << QStringList{};
    QTest::newRow("empty") << QStringList{} << QStringList{};
    QTest::newRow("a subfolder") << QStringList{"a.txt", "Unter/b.txt"} << QStringList{"Unter"};
    QTest::newRow("a hidden file") << QStringList{"a.txt", ".versteckt"} << QStringList{".versteckt"};
  }
  void deleteAnsweredYes() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, left);
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    tree.File("Quelle/P.vbp");
    const fs::path parent = tree.Folder("Eltern");
    tree.File("Eltern/bleibt.txt", "bleibt");
    const fs::path folder = tree.Folder("Eltern/Weg");
    for (const QString& file : files) tree.File(folder / file.toStdString(), "x");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(folder));
    w.window.SSTab1()->SetTab(1);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
    w.window.btnPath_Click(1);
    QCOMPARE(MessageBoxes(w.dialogs).size(), std::size_t{1});
    QCOMPARE(MessageBoxes(w.dialogs)[0].text, Question(folder));

    QCOMPARE(w.window.Dir2()->Path(), parent);
    QCOMPARE(w.window.StatusBar1()->SimpleText(), ShownFolder(parent));
    QCOMPARE(w.window.lbCr()->text(), QStringLiteral("Nein"));  // the parent holds a file
    QCOMPARE(FolderSnapshot(parent).count("bleibt.txt"), std::size_t{1});
    if (left.isEmpty()) {
      QVERIFY(!fs::exists(folder));
      QVERIFY(RowOf(w.window.Dir2(), folder) == nullptr);
    } else {
      QStringList names;
      for (const auto& [name, bytes] : FolderSnapshot(folder)) names << QString::fromStdString(name);
      QCOMPARE(names, left);
      QVERIFY(RowOf(w.window.Dir2(), folder) != nullptr);
    }
    QCOMPARE(FolderSnapshot(source).size(), std::size_t{1});
  }

  // Links in the folder are removed as links; what they lead to stays.
  void deleteRemovesLinksNotWhatTheyLeadTo() {
    ScratchTree tree;
    const fs::path outside = tree.File("Draussen/wichtig.txt", "wichtig");
    const fs::path outside_folder = tree.Folder("Draussen/Ordner");
    tree.File("Draussen/Ordner/auch.txt", "auch");
    const fs::path folder = tree.Folder("Weg");
    fs::create_symlink(outside, folder / "verweis.txt");
    TestWindow w(tree.root());
    QVERIFY(w.window.Dir2()->SetPath(folder));
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
    w.window.btnPath_Click(1);
    QVERIFY(!fs::exists(folder));
    QCOMPARE(FolderSnapshot(tree.root() / "Draussen").at("wichtig.txt"), std::string("wichtig"));

    // A link to a folder and a dangling link are no ordinary files: they stay, and so does
    // the folder; the folder linked to keeps its files.
    const fs::path second = tree.Folder("Weg2");
    fs::create_symlink(outside_folder, second / "ordnerverweis");
    fs::create_symlink(tree.root() / "fehlt", second / "ins-leere");
    tree.File("Weg2/a.txt");
    QVERIFY(w.window.Dir2()->SetPath(second));
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
    w.window.btnPath_Click(1);
    QVERIFY(!fs::exists(second / "a.txt"));
    QVERIFY(fs::is_symlink(second / "ordnerverweis"));
    QVERIFY(fs::is_symlink(second / "ins-leere"));
    QCOMPARE(FolderSnapshot(outside_folder).size(), std::size_t{1});
    QVERIFY(w.dialogs.script_used_up());
  }

  void deleteStepsThatFailAreSilent() {
    ScratchTree tree;
    const fs::path folder = tree.Folder("Weg");
    tree.File("Weg/a.txt");
    tree.File("Weg/b.txt");
    tree.File("Weg/c.txt");
    tavrin::testing::FaultyFileServices files;
    files.FailRemoveFile("b.txt", EBUSY);
    TestWindow w(tree.root(), files);
    QVERIFY(w.window.Dir2()->SetPath(folder));
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
    w.window.btnPath_Click(1);
    QCOMPARE(MessageBoxes(w.dialogs).size(), std::size_t{1});  // the question only
    const auto remaining = FolderSnapshot(folder);
    QCOMPARE(remaining.size(), std::size_t{1});
    QCOMPARE(remaining.count("b.txt"), std::size_t{1});
    QCOMPARE(w.window.Dir2()->Path(), tree.root());

    // The folder itself resisting: no word either.
    const fs::path second = tree.Folder("Weg2");
    files.FailRemoveFolder("Weg2", EBUSY);
    QVERIFY(w.window.Dir2()->SetPath(second));
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
    w.window.btnPath_Click(1);
    QVERIFY(fs::is_directory(second));
    QCOMPARE(MessageBoxes(w.dialogs).size(), std::size_t{2});
  }

  // Refused folders: a message instead of the question, and nothing changes.
  void deleteRefusesRootsTheSourceAndWhatHoldsIt_data() {
    QTest::addColumn<QString>("target");  // absolute when it starts with "/"; else in the scratch folder
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("why");  // what follows "Das Verzeichnis [<target>/] "; %1: the scratch folder
    const QString root = QStringLiteral("ist ein Stammverzeichnis und kann nicht gelöscht werden.");
    const auto link_to = [](const QString& where) {
      return QStringLiteral("ist eine symbolische Verknüpfung auf [") + where +
             "] und kann nicht gelöscht werden.";
    };
    const QString same = QStringLiteral("ist das gewählte Quellverzeichnis und kann nicht gelöscht werden.");
    const QString holds =
        QStringLiteral("enthält das gewählte Quellverzeichnis und kann nicht gelöscht werden.");
    QTest::newRow("the root") << "/"
                              << "Quelle" << root;
    QTest::newRow("a mounted pseudo file system") << "/proc"
                                                  << "Quelle"
                                                  << QStringLiteral("ist ein Einhängepunkt und kann nicht gelöscht werden.");
    // A link is refused as a link first: the message says where its files really are.
    QTest::newRow("a link to the root") << "Wurzel"
                                        << "Quelle" << link_to("/");
    QTest::newRow("the source") << "Quelle"
                                << "Quelle" << same;
    QTest::newRow("a link to the source") << "QuellVerweis"
                                          << "Quelle" << link_to("%1/Quelle/");
    QTest::newRow("the source through a link") << "Quelle"
                                               << "QuellVerweis" << same;
    QTest::newRow("the source's parent") << "Projekte"
                                         << "Projekte/Alt/Quelle" << holds;
    QTest::newRow("the source's grandparent") << "Projekte"
                                              << "Projekte/Alt/Quelle/Tief" << holds;
    QTest::newRow("a link to the source's parent") << "ProjektVerweis"
                                                   << "Projekte/Alt" << link_to("%1/Projekte/");
    QTest::newRow("a folder below a link to the source's parent") << "ProjektVerweis/Alt"
                                                                  << "Projekte/Alt/Quelle" << holds;
    QTest::newRow("the source's parent, source through a link") << "Projekte/Alt"
                                                                << "AltVerweis/Quelle" << holds;
  }
  void deleteRefusesRootsTheSourceAndWhatHoldsIt() {
    QFETCH(QString, target);
    QFETCH(QString, source);
    QFETCH(QString, why);
    ScratchTree tree;
    tree.File("Quelle/P.vbp");
    tree.File("Projekte/Alt/Quelle/Tief/P.vbp");
    tree.File("Projekte/a.txt");
    fs::create_symlink("/", tree.root() / "Wurzel");
    fs::create_symlink(tree.root() / "Quelle", tree.root() / "QuellVerweis");
    fs::create_symlink(tree.root() / "Projekte", tree.root() / "ProjektVerweis");
    fs::create_symlink(tree.root() / "Projekte/Alt", tree.root() / "AltVerweis");
    const fs::path target_folder =
        target.startsWith(QLatin1Char('/')) ? fs::path(target.toStdString()) : tree.root() / target.toStdString();
    const fs::path source_folder = tree.root() / source.toStdString();
    ReadOnlyFileServices files;
    TestWindow w(tree.root(), files);
    QVERIFY(w.window.Dir1()->SetPath(source_folder));
    QVERIFY(w.window.Dir2()->SetPath(target_folder));
    const fs::path target_new = tree.Folder("Projekte/Neu");
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.window.btnPath_Click(1);
    QVERIFY(w.dialogs.script_used_up());
    const auto boxes = MessageBoxes(w.dialogs);
    QCOMPARE(boxes.size(), std::size_t{1});
    const QString shown = target_folder == fs::path("/") ? QStringLiteral("/") : ShownFolder(target_folder);
    QCOMPARE(QString::fromStdString(boxes[0].text),
             QStringLiteral("Das Verzeichnis [") + shown + "] " +
                 QString(why).replace("%1", QString::fromStdString(tree.root())));
    QCOMPARE(boxes[0].style, tavrin::kButtonsOk + tavrin::kIconExclamation);
    QCOMPARE(boxes[0].title, std::string("Verzeichnis löschen"));
    QCOMPARE(files.changes, std::vector<std::string>{});
    QCOMPARE(w.window.Dir2()->Path(), target_folder);
    if (target == QStringLiteral("Projekte")) QVERIFY(RowOf(w.window.Dir2(), target_new) != nullptr);
  }

  // Folders beside or inside the source may go; names are compared by whole components.
  void deleteAllowsFoldersBesideOrInsideTheSource_data() {
    QTest::addColumn<QString>("source_name");
    QTest::addColumn<QString>("target");
    QTest::newRow("beside") << "Quelle" << "Ziel";
    QTest::newRow("inside") << "Quelle" << "Quelle/Ziel";
    QTest::newRow("name starts like the source") << "Quelle" << "Quelle2";
    QTest::newRow("source name starts like it") << "Quelle2" << "Quelle";
  }
  void deleteAllowsFoldersBesideOrInsideTheSource() {
    QFETCH(QString, source_name);
    QFETCH(QString, target);
    ScratchTree tree;
    const fs::path source = tree.Folder(source_name.toStdString());
    tree.File(source / "P.vbp", "vbp");
    const fs::path folder = tree.Folder(target.toStdString());
    tree.File(folder / "a.txt");
    TestWindow w(tree.root());
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(folder));
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
    w.window.btnPath_Click(1);
    QCOMPARE(MessageBoxes(w.dialogs).at(0).text, Question(folder));
    QVERIFY(!fs::exists(folder));
    QCOMPARE(FolderSnapshot(source).at("P.vbp"), std::string("vbp"));
  }

  // The target list shows a link to a folder: its files live elsewhere, so "Ja" would
  // delete them where the user cannot see it. Refused with a message naming where the link
  // points; nothing changes, whatever the next answer would have been.
  void deleteRefusesAFolderThatIsALink_data() {
    QTest::addColumn<QString>("link");    // in the scratch folder
    QTest::addColumn<QString>("holds");   // what the link holds; %1: the scratch folder
    QTest::addColumn<QString>("points");  // where the message says it points
    QTest::newRow("to a folder elsewhere") << "Ziele/T2"
                                           << "%1/Draussen/Ordner"
                                           << "%1/Draussen/Ordner/";
    QTest::newRow("relative") << "Ziele/T3"
                              << "../Draussen/Ordner"
                              << "%1/Draussen/Ordner/";
    QTest::newRow("to the folder holding it") << "P/hoch"
                                              << "."
                                              << "%1/P/";
    QTest::newRow("to a link") << "Ziele/T4"
                               << "T2"
                               << "%1/Ziele/T2/";
  }
  void deleteRefusesAFolderThatIsALink() {
    QFETCH(QString, link);
    QFETCH(QString, holds);
    QFETCH(QString, points);
    ScratchTree tree;
    const QString root = QString::fromStdString(tree.root());
    tree.File("Quelle/P.vbp");
    tree.File("Draussen/Ordner/wichtig.txt", "wichtig");
    tree.File("P/eigene.txt", "eigene");
    tree.Folder("Ziele");
    fs::create_symlink(tree.root() / "Draussen/Ordner", tree.root() / "Ziele/T2");
    const fs::path shown = tree.root() / link.toStdString();
    if (!fs::is_symlink(shown)) fs::create_symlink(QString(holds).replace("%1", root).toStdString(), shown);
    TestWindow w(tree.root());
    QVERIFY(w.window.Dir1()->SetPath(tree.root() / "Quelle"));
    QVERIFY(w.window.Dir2()->SetPath(shown));
    QCOMPARE(w.window.Dir2()->Path(), shown);  // kept as named
    const auto before = FolderSnapshot(tree.root());
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);  // would delete, were it the question
    w.window.btnPath_Click(1);

    const auto boxes = MessageBoxes(w.dialogs);
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes[0].text), QStringLiteral("Das Verzeichnis [") + ShownFolder(shown) +
                                                        "] ist eine symbolische Verknüpfung auf [" +
                                                        QString(points).replace("%1", root) +
                                                        "] und kann nicht gelöscht werden.");
    QCOMPARE(boxes[0].style, tavrin::kButtonsOk + tavrin::kIconExclamation);
    QCOMPARE(boxes[0].title, std::string("Verzeichnis löschen"));
    QCOMPARE(FolderSnapshot(tree.root()), before);
    QCOMPARE(w.window.Dir2()->Path(), shown);
  }

  // While the question is open, another program puts something else where the folder was.
  // "Ja" then deletes nothing at all: not the files of what now stands there, nor those of
  // the folder confirmed, wherever it went.
  void deleteActsOnlyOnTheFolderConfirmed_data() {
    QTest::addColumn<QString>("swap");
    QTest::addColumn<QString>("message");  // after the question; %1: the scratch folder; empty: none
    const QString replaced = QStringLiteral(
        "Das Verzeichnis [%1/Eltern/Weg/] wurde nach der Rückfrage durch ein anderes ersetzt und wird nicht "
        "gelöscht.");
    QTest::newRow("replaced by a link")
        << "link"
        << "Das Verzeichnis [%1/Eltern/Weg/] ist eine symbolische Verknüpfung auf [%1/Anderes/] und kann "
           "nicht gelöscht werden.";
    QTest::newRow("replaced by another folder") << "folder" << replaced;
    QTest::newRow("its parent replaced by a link") << "parent" << replaced;
    QTest::newRow("mounted over") << "mount" << replaced;
    // Many file systems give a new folder the number of one just removed at once.
    QTest::newRow("removed and made anew") << "anew" << replaced;
    QTest::newRow("removed") << "removed" << QString();
    QTest::newRow("replaced by a file") << "file" << QString();
  }
  void deleteActsOnlyOnTheFolderConfirmed() {
    QFETCH(QString, swap);
    QFETCH(QString, message);
    ScratchTree tree;
    const fs::path folder = tree.Folder("Eltern/Weg");
    tree.File("Eltern/Weg/bestaetigt.txt", "bestätigt");
    tree.File("Anderes/fremd.txt", "fremd");
    tree.File("Zweites/Weg/fremd.txt", "fremd");
    std::optional<BindMount> bound;  // after the tree: unmounted before the tree goes
    TestWindow w(tree.root());
    QVERIFY(w.window.Dir2()->SetPath(folder));
    std::map<std::string, std::string> at_answer;
    w.dialogs.while_shown = [&](const ScriptedDialogs::Shown& shown) {
      QCOMPARE(shown.text, Question(folder));
      const fs::path root = tree.root();
      if (swap == "mount") bound.emplace(root / "Anderes", folder);
      if (swap == "link" || swap == "folder" || swap == "file") fs::rename(folder, root / "Weg.alt");
      if (swap == "link") fs::create_symlink(root / "Anderes", folder);
      if (swap == "folder") tree.File("Eltern/Weg/neu.txt", "neu");
      if (swap == "file") tree.File("Eltern/Weg", "eine Datei");
      if (swap == "parent") {
        fs::rename(root / "Eltern", root / "Eltern.alt");
        fs::create_symlink(root / "Zweites", root / "Eltern");
      }
      if (swap == "removed" || swap == "anew") fs::remove_all(folder);
      if (swap == "anew") tree.File("Eltern/Weg/neu.txt", "neu");
      at_answer = FolderSnapshot(root);
      w.dialogs.while_shown = nullptr;
    };
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
    if (!message.isEmpty()) w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
    w.window.btnPath_Click(1);
    if (bound && !bound->mounted()) QSKIP(bound->why_not().constData());

    QVERIFY(w.dialogs.script_used_up());
    const auto boxes = MessageBoxes(w.dialogs);
    QCOMPARE(boxes.size(), message.isEmpty() ? std::size_t{1} : std::size_t{2});
    if (!message.isEmpty()) {
      QCOMPARE(QString::fromStdString(boxes[1].text),
               QString(message).replace("%1", QString::fromStdString(tree.root())));
      QCOMPARE(boxes[1].style, tavrin::kButtonsOk + tavrin::kIconExclamation);
      QCOMPARE(boxes[1].title, std::string("Verzeichnis löschen"));
    }
    QVERIFY(!at_answer.empty());
    QCOMPARE(FolderSnapshot(tree.root()), at_answer);
  }

  // Every folder on which something is mounted is refused, also a bind mount that stays on
  // the device of the folder above it; it is named a mount point, not a drive's root.
  void deleteRefusesEveryMountPoint_data() {
    QTest::addColumn<QString>("onto");
    QTest::newRow("a folder bound onto another") << "b";
    QTest::newRow("a folder bound onto itself") << "a";
  }
  void deleteRefusesEveryMountPoint() {
    QFETCH(QString, onto);
    ScratchTree tree;
    const fs::path a = tree.Folder("a");
    tree.File("a/wichtig.txt", "wichtig");
    tree.File("b/eigene.txt", "eigene");
    const fs::path shown = tree.root() / onto.toStdString();
    const BindMount bound(a, shown);  // after the tree: unmounted before the tree goes
    if (!bound.mounted()) QSKIP(bound.why_not().constData());
    TestWindow w(tree.root());
    QVERIFY(w.window.Dir2()->SetPath(shown));
    const auto before = FolderSnapshot(tree.root());
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);  // would delete, were it the question
    w.window.btnPath_Click(1);

    const auto boxes = MessageBoxes(w.dialogs);
    QCOMPARE(boxes.size(), std::size_t{1});
    QCOMPARE(boxes[0].text, "Das Verzeichnis [" + ShownFolderText(shown) +
                                "] ist ein Einhängepunkt und kann nicht gelöscht werden.");
    QCOMPARE(FolderSnapshot(tree.root()), before);
    QCOMPARE(FolderSnapshot(a).at("wichtig.txt"), std::string("wichtig"));
  }

  // After each folder command the labels and the status bar tell what is on disk now, also
  // when the lists stay where they are and another program changed the folders while the
  // command's dialog was open.
  void folderCommandsShowWhatIsOnDiskNow_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("answer");  // "Nein", or a name for the input box
    QTest::addColumn<QString>("change");  // made while the dialog is open
    QTest::addColumn<QString>("project");  // lbPrj afterwards
    QTest::addColumn<QString>("free");     // lbCr afterwards
    QTest::newRow("new folder, target emptied") << 0 << "Neu" << "empty target" << "Ja" << "Ja";
    QTest::newRow("new folder cancelled, source lost its project") << 0 << "" << "empty source" << "Nein"
                                                                   << "Nein";
    QTest::newRow("delete answered No, target emptied") << 1 << "Nein" << "empty target" << "Ja" << "Ja";
    QTest::newRow("delete answered No, source lost its project") << 1 << "Nein" << "empty source" << "Nein"
                                                                 << "Nein";
  }
  void folderCommandsShowWhatIsOnDiskNow() {
    QFETCH(int, button);
    QFETCH(QString, answer);
    QFETCH(QString, change);
    QFETCH(QString, project);
    QFETCH(QString, free);
    ScratchTree tree;
    const fs::path source = tree.Folder("Quelle");
    tree.File("Quelle/P.vbp");
    const fs::path target = tree.Folder("Ziel");
    tree.File("Ziel/a.txt");
    TestWindow w(tree.root());
    w.window.Form_Load();
    QVERIFY(w.window.Dir1()->SetPath(source));
    QVERIFY(w.window.Dir2()->SetPath(target));
    w.window.SSTab1()->SetTab(1);
    QCOMPARE(w.window.lbPrj()->text(), QStringLiteral("Ja"));
    QCOMPARE(w.window.lbCr()->text(), QStringLiteral("Nein"));
    w.dialogs.while_shown = [&](const ScriptedDialogs::Shown&) {
      if (change == "empty target") fs::remove(target / "a.txt");
      if (change == "empty source") fs::remove(source / "P.vbp");
    };
    if (button == 0)
      w.dialogs.AnswerNextInputBox(answer.toStdString());
    else
      w.dialogs.AnswerNextMessageBox(tavrin::kAnswerNo);
    w.window.btnPath_Click(button);

    QVERIFY(w.dialogs.script_used_up());
    QCOMPARE(w.window.Dir2()->Path(), target);
    QCOMPARE(w.window.lbPrj()->text(), project);
    QCOMPARE(w.window.lbCr()->text(), free);
    QCOMPARE(tavrin::testing::TextColour(w.window.lbCr()) == tavrin::testing::kRedText, free == "Nein");
    QCOMPARE(w.window.StatusBar1()->SimpleText(), ShownFolder(target));
  }

  // A folder command that leaves the target list on another drive shows that drive.
  void deleteShowsTheDriveOfTheFolderNowShown() {
    ScratchTree tree;
    const fs::path drive = tree.Folder("Platte");
    tree.File("Platte/a.txt");
    TestWindow w(tree.root(), tavrin::DiskFileServices(), std::vector<fs::path>{"/", drive});
    QVERIFY(w.window.Drive2()->PickDrive(drive));
    QCOMPARE(w.window.Dir2()->Path(), drive);
    w.dialogs.AnswerNextMessageBox(tavrin::kAnswerYes);
    w.window.btnPath_Click(1);
    QVERIFY(!fs::exists(drive));
    QCOMPARE(w.window.Dir2()->Path(), tree.root());
    QCOMPARE(w.window.Drive2()->Drive(), fs::path("/"));
  }

  // Names whose bytes are no UTF-8 or hold control characters are shown escaped, as the
  // command line shows them, in every display: two names never look alike, and a name is
  // always one line.
  void namesAreShownEscapedEverywhere() {
    const struct {
      std::string name;
      QString shown;
    } names[] = {
        {"Gr\xFC\xDF", QStringLiteral("Gr\\xFC\\xDF")},
        {"Gr\xFD\xDF", QStringLiteral("Gr\\xFD\\xDF")},
        {"Gr\xC3\xBC\xC3\x9F", QStringLiteral("Grüß")},
        {"zwei\nZeilen", QStringLiteral("zwei\\nZeilen")},
        {"Farbe\x1B[31m", QStringLiteral("Farbe\\x1B[31m")},
        {"schr\\aeg", QStringLiteral("schr\\\\aeg")},
    };
    ScratchTree tree;
    const fs::path target = tree.Folder("Ziel");
    const QString root = QString::fromStdString(tree.root());
    std::vector<fs::path> drives{"/"};
    for (const auto& entry : names) {
      tree.File(target / entry.name / "a.txt");
      drives.push_back(target / entry.name);
    }
    TestWindow w(tree.root(), tavrin::DiskFileServices(), drives);
    QVERIFY(w.window.Dir2()->SetPath(target));
    QSet<QString> row_texts;
    for (const auto& entry : names) {
      const fs::path folder = target / entry.name;
      const QString shown_path = root + "/Ziel/" + entry.shown + "/";
      const QListWidgetItem* row = RowOf(w.window.Dir2(), folder);
      QVERIFY(row != nullptr);
      QCOMPARE(row->text(), entry.shown);
      row_texts.insert(row->text());
      QCOMPARE(w.window.Drive2()->itemText(static_cast<int>(row_texts.size())),
               root + "/Ziel/" + entry.shown);
      QVERIFY(w.window.Dir2()->SetPath(folder));
      QCOMPARE(w.window.StatusBar1()->SimpleText(), shown_path);
      w.dialogs.AnswerNextMessageBox(tavrin::kAnswerNo);
      w.window.btnPath_Click(1);
      QCOMPARE(QString::fromStdString(MessageBoxes(w.dialogs).back().text),
               "Wollen Sie das aktuelle Verzeichnis [" + shown_path +
                   "] wirklich löschen (Es werden keine Unterverzeichnisse entfernt!)?");
      w.window.WriteInfo((folder / "Form1.frm").native(), 7);
      QCOMPARE(w.window.lbInfo()->text(), "Bearbeite: " + shown_path + "Form1.frm [7]...");
      QVERIFY(w.window.Dir2()->SetPath(target));
    }
    QCOMPARE(row_texts.size(), qsizetype(std::size(names)));
  }

  void otherButtonIndexesDoNothing() {
    ScratchTree tree;
    TestWindow w(tree.root());
    const auto before = FolderSnapshot(tree.root());
    for (int index : {-1, 2, 9}) w.window.btnPath_Click(index);
    QVERIFY(w.dialogs.shown().empty());
    QCOMPARE(FolderSnapshot(tree.root()), before);
  }
};

QTEST_MAIN(FolderCommandsTest)
#include "folder_commands_test.moc"
