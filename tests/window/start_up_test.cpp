// Before the window exists: the message without a display names the command-line tool where
// it really is, and a start without XDG_RUNTIME_DIR (as root) warns about nothing.
#include "window/qt/start_up.h"

#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTest>
#include <filesystem>
#include <string>

#include "tests/window/scratch_tree.h"

namespace fs = std::filesystem;
using tavrin::NoDisplayMessage;
using tavrin::ShellWord;
using tavrin::testing::ScratchTree;

namespace {

// Sets an environment variable while it lives, then restores it.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const QByteArray* value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), before_(qgetenv(name)) {
    if (value != nullptr)
      qputenv(name, *value);
    else
      qunsetenv(name);
  }
  ~ScopedVariable() {
    if (had_)
      qputenv(name_, before_);
    else
      qunsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  QByteArray before_;
};

}  // namespace

class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void shellWords_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("typed");
    QTest::newRow("plain path") << "/usr/bin/tavrin-convert"
                                << "/usr/bin/tavrin-convert";
    QTest::newRow("blank") << "/home/anna/Mein Tavrin/tavrin-convert"
                           << "'/home/anna/Mein Tavrin/tavrin-convert'";
    QTest::newRow("quote") << "/opt/anna's/tavrin-convert"
                           << "'/opt/anna'\\''s/tavrin-convert'";
    QTest::newRow("dollar") << "/opt/$HOME/x"
                            << "'/opt/$HOME/x'";
    QTest::newRow("umlaut") << "/opt/Übung/x"
                            << "'/opt/Übung/x'";
    QTest::newRow("empty") << ""
                           << "''";
  }
  void shellWords() {
    QFETCH(QString, word);
    QFETCH(QString, typed);
    QCOMPARE(QString::fromStdString(ShellWord(word.toStdString())), typed);
  }

  // The tool beside the program is named by its path, ready to type; without it the message
  // says how it is built and installed.
  void withoutADisplayTheMessageNamesTheToolWhereItIs() {
    ScratchTree tree;
    for (const char* folder : {"bin", "mit Leerzeichen"}) {
      const fs::path tool = tree.File(fs::path(folder) / "tavrin-convert");
      const std::string message = NoDisplayMessage(tool.parent_path());
      QVERIFY2(message.starts_with("Tavrin: Keine grafische Anzeige verfügbar"), message.c_str());
      QVERIFY2(message.find("\n    " + ShellWord(tool.string()) + " QUELLE ZIEL\n") != std::string::npos,
               message.c_str());
    }
    for (const fs::path& folder : {tree.Folder("leer"), fs::path()}) {
      const std::string message = NoDisplayMessage(folder);
      QVERIFY2(message.find("cmake --install build") != std::string::npos, message.c_str());
      QVERIFY2(message.find("\n    tavrin-convert QUELLE ZIEL\n") != std::string::npos, message.c_str());
    }
    // A folder named like the tool is no tool.
    tree.Folder("falsch/tavrin-convert");
    QVERIFY(NoDisplayMessage(tree.root() / "falsch").find("cmake --install") != std::string::npos);
  }

  void runtimeFolderIsNamedOnlyWhereItIsMissing() {
    ScratchTree tree;
    const QByteArray temporary = QFile::encodeName(QString::fromStdString(tree.root().string()));
    ScopedVariable tmpdir("TMPDIR", &temporary);
    {
      ScopedVariable runtime("XDG_RUNTIME_DIR", nullptr);
      tavrin::NameRuntimeFolder();
      QVERIFY(qgetenv("XDG_RUNTIME_DIR").startsWith(temporary + "/runtime-"));
    }
    const QByteArray own("/run/user/4711");
    ScopedVariable runtime("XDG_RUNTIME_DIR", &own);
    tavrin::NameRuntimeFolder();
    QCOMPARE(qgetenv("XDG_RUNTIME_DIR"), own);
  }

  // The program started without XDG_RUNTIME_DIR: Qt makes its runtime folder in the
  // temporary folder and nothing is said about it.
  void startWithoutARuntimeFolderWarnsAboutNothing() {
    ScratchTree tree;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("TMPDIR"), QString::fromStdString(tree.root().string()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QString::fromStdString(tree.root().string()));
    program.start(QStringLiteral(TAVRIN_EXECUTABLE), {});
    QVERIFY(program.waitForStarted(20000));
    // Qt has settled its runtime folder once it is there.
    auto runtime_folder = [&tree] {
      for (const auto& entry : fs::directory_iterator(tree.root()))
        if (entry.path().filename().string().starts_with("runtime-")) return true;
      return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(runtime_folder(), 20000);
    program.kill();
    QVERIFY(program.waitForFinished(20000));
    const QString error = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(!error.contains(QStringLiteral("XDG_RUNTIME_DIR")), qPrintable(error));
  }
};

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"
