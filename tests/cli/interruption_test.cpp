// The built tavrin-convert interrupted by a signal in the middle of a large file, its output
// lost to a closed pipe, and exit code precedence. POSIX only: the signals and /dev/full.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/tool_run.h"
#include "tests/support/temp_folder.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLine = "Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX\n";
constexpr std::uintmax_t kBigSize = 200u * 1024 * 1024;  // big enough to be caught in its middle

// The first entry of `folder` that is a target file still being written, or "".
std::string Temporary(const fs::path& folder) {
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (IsTemporaryName(name)) return name;
  }
  return {};
}

// A project with a large text file between small ones: in listing order A.frm, Big.frm,
// P.vbp, Z.frm. Made once for every test of the suite.
class InterruptionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    project_ = new TempFolder();
    project_->WriteFile("quelle/A.frm", "Begin ComctlLib.Toolbar T\n");
    project_->WriteFile("quelle/P.vbp", "Type=Exe\r\nForm=A.frm\r\n");
    project_->WriteFile("quelle/Z.frm", "z\n");
    std::ofstream big(project_->path() / "quelle" / "Big.frm", std::ios::binary);
    const std::string block = [] {
      std::string text;
      while (text.size() < 1024 * 1024) text += kLine;
      return text;
    }();
    for (std::uintmax_t written = 0; written < kBigSize; written += block.size()) big << block;
    ASSERT_TRUE(big.good());
  }
  static void TearDownTestSuite() {
    delete project_;
    project_ = nullptr;
  }

  static TempFolder* project_;
};

TempFolder* InterruptionTest::project_ = nullptr;

// SIGINT, SIGTERM and SIGHUP in the middle of Big.frm: the tool stops at once, says how far it
// got, exits as a shell expects, and the target holds only the files completed before, no
// part of Big.frm and no temporary. A second run is refused until the target is emptied.
TEST_F(InterruptionTest, ASignalMidFileLeavesOnlyCompleteFiles) {
  const struct {
    int signal_number;
    int exit_code;
  } cases[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
  for (const auto& test : cases) {
    SCOPED_TRACE(strsignal(test.signal_number));
    const fs::path target = project_->path() / ("ziel-" + std::to_string(test.signal_number));
    bool caught_mid_file = false;
    RunControl control;
    control.meanwhile = [&](int pid) {
      // Wait until Big.frm is being written and has grown, then freeze the tool, look, and
      // send the signal, which arrives when it goes on.
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
      std::string temporary;
      std::error_code error;
      while (std::chrono::steady_clock::now() < deadline) {
        temporary = Temporary(target);
        if (!temporary.empty() && fs::file_size(target / temporary, error) >= 1024 * 1024 && !error) break;
        temporary.clear();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      kill(pid, SIGSTOP);
      int status = 0;
      waitpid(pid, &status, WUNTRACED);
      caught_mid_file = !temporary.empty() && fs::exists(target / temporary) && !fs::exists(target / "Big.frm");
      kill(pid, test.signal_number);
      kill(pid, SIGCONT);
    };
    const auto started = std::chrono::steady_clock::now();
    const ToolRun run = RunToolControlled({"quelle", target.filename().string()}, project_->path(), control);
    const auto took = std::chrono::steady_clock::now() - started;

    ASSERT_TRUE(caught_mid_file) << "the tool was not caught in the middle of Big.frm";
    EXPECT_EQ(run.exit_code, test.exit_code) << run.err;
    EXPECT_EQ(run.err, "Konvertierung abgebrochen: 1 von 4 Dateien übertragen\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(EntryNames(target), std::vector<std::string>{"A.frm"});
    EXPECT_EQ(ReadFile(target / "A.frm"), "Begin MSComctlLib.Toolbar T\r\n");
    EXPECT_LT(took, std::chrono::seconds(20));

    const ToolRun again = RunTool({"quelle", target.filename().string()}, project_->path());
    EXPECT_EQ(again.exit_code, 2);
    EXPECT_EQ(again.err, "Konvertierungsfehler: Im Zielverzeichnis dürfen sich keine Dateien befinden!\n");
    fs::remove_all(target);
  }
}

// How far the process `pid` has read the file whose path ends in `name`; 0 while it has
// not opened it.
std::uint64_t ReadPosition(int pid, const std::string& name) {
  const fs::path fds = "/proc/" + std::to_string(pid) + "/fd";
  std::error_code error;
  for (fs::directory_iterator it(fds, error), end; !error && it != end; it.increment(error)) {
    std::error_code unread;
    const fs::path target = fs::read_symlink(it->path(), unread);
    if (unread || !target.string().ends_with("/" + name)) continue;
    std::ifstream info("/proc/" + std::to_string(pid) + "/fdinfo/" + it->path().filename().string());
    std::string key;
    std::uint64_t position = 0;
    if (info >> key >> position && key == "pos:") return position;
  }
  return 0;
}

// A dry run interrupted in the middle of Big.frm while its listing is lost: the signal's code
// wins over the 3 of lost output, and both are said.
TEST_F(InterruptionTest, AnInterruptionWinsOverLostOutput) {
  bool caught_mid_file = false;
  RunControl control;
  control.out_to = "/dev/full";
  control.meanwhile = [&](int pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline && ReadPosition(pid, "Big.frm") < 1024 * 1024) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    kill(pid, SIGSTOP);
    int status = 0;
    waitpid(pid, &status, WUNTRACED);
    const std::uint64_t position = ReadPosition(pid, "Big.frm");
    caught_mid_file = position >= 1024 * 1024 && position < kBigSize;
    kill(pid, SIGINT);
    kill(pid, SIGCONT);
  };
  const ToolRun run = RunToolControlled({"-n", "quelle", "ziel"}, project_->path(), control);
  ASSERT_TRUE(caught_mid_file) << "the tool was not caught in the middle of Big.frm";
  EXPECT_EQ(run.exit_code, 130);
  EXPECT_EQ(run.err,
            "Konvertierung abgebrochen: 1 von 4 Dateien übertragen\n"
            "tavrin-convert: Die Ausgabe konnte nicht vollständig geschrieben werden (Kein Speicherplatz mehr auf dem "
            "Datenträger)\n");
  EXPECT_FALSE(fs::exists(project_->path() / "ziel")) << "a dry run writes nothing";
}

// A reader that goes away (`tavrin-convert -n --diff … | head`) is lost output, not the end
// of the tool: exit code 3 and a message naming the reason, also with SIGPIPE at its default.
TEST_F(InterruptionTest, AClosedPipeExitsWithThreeAndSaysSo) {
  TempFolder temp;
  std::string many;  // a diff far larger than a pipe holds
  for (int i = 0; i < 20000; ++i) many += kLine;
  temp.WriteFile("quelle/P.vbp", "Type=Exe\r\n");
  temp.WriteFile("quelle/Viel.frm", many);
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"-n", "--diff", "quelle", "ziel"}, std::vector<std::string>{"quelle", "ziel"}}) {
    SCOPED_TRACE(words.size());
    RunControl control;
    control.out_limit = words.size() == 4 ? 100 : 0;  // the summary: gone before the first byte
    const ToolRun run = RunToolControlled(words, temp.path(), control);
    EXPECT_EQ(run.exit_code, 3) << run.err;
    EXPECT_EQ(run.err,
              "tavrin-convert: Die Ausgabe konnte nicht vollständig geschrieben werden (Datenübergabe unterbrochen)\n");
    fs::remove_all(temp.path() / "ziel");
  }
}

// Files that failed and a lost summary: 3 wins over 1, as documented; 2 stays 2.
TEST_F(InterruptionTest, LostOutputWinsOverFailedFiles) {
  TempFolder temp;
  temp.WriteFile("quelle/P.vbp", "Type=Exe\r\nForm=Form1.frm\r\n");
  temp.WriteFile("quelle/Form1.frm", "x\n");
  temp.WriteFile("quelle/Gut.frm", "g\n");
  temp.MakeFolder("ziel/Form1.frm");  // a folder where a target file must go: that file fails
  for (const bool json : {false, true}) {
    SCOPED_TRACE(json);
    std::vector<std::string> words{"quelle", "ziel"};
    if (json) words.insert(words.begin(), "--json");
    const ToolRun with_output = RunTool(words, temp.path());
    EXPECT_EQ(with_output.exit_code, 1) << with_output.err;
    for (const char* name : {"Gut.frm", "P.vbp"}) fs::remove(temp.path() / "ziel" / name);

    const ToolRun run = RunTool(words, temp.path(), false, "/dev/full");
    EXPECT_EQ(run.exit_code, 3) << run.err;
    EXPECT_NE(run.err.find("Form1.frm: "), std::string::npos) << run.err;
    EXPECT_TRUE(run.err.ends_with("tavrin-convert: Die Ausgabe konnte nicht vollständig geschrieben werden "
                                  "(Kein Speicherplatz mehr auf dem Datenträger)\n"))
        << run.err;
    EXPECT_EQ(ReadFile(temp.path() / "ziel" / "Gut.frm"), "g\r\n") << "the conversion itself ran";
    for (const char* name : {"Gut.frm", "P.vbp"}) fs::remove(temp.path() / "ziel" / name);
  }
  temp.WriteFile("ziel/Schon.da", "");  // a refusal stays 2
  EXPECT_EQ(RunTool({"quelle", "ziel"}, temp.path(), false, "/dev/full").exit_code, 2);
}

}  // namespace
}  // namespace tavrin::testing
