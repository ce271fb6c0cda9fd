// Runs the built tavrin-convert on real folders and checks exit codes, streams and results.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/conversion_request.h"
#include "tavrin_version.h"
#include "tests/cli/folder_snapshot.h"
#include "tests/cli/tool_run.h"
#include "tests/support/temp_folder.h"

namespace tavrin::testing {
namespace {

constexpr int kExitConverted = 0;
constexpr int kExitSomeFailed = 1;
constexpr int kExitNotConverted = 2;

constexpr std::string_view kProject =
    "Type=Exe\r\n"
    "Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX\r\n"
    "Form=Form1.frm\r\n";
constexpr std::string_view kForm =
    "VERSION 5.00\r\n"
    "Begin VB.Form Form1\r\n"
    "   Begin ComctlLib.Toolbar Toolbar1 \r\n"
    "   End\r\n"
    "End\r\n";
constexpr std::string_view kBinary = std::string_view("ComctlLib.\r\x00\x80\n", 14);

std::string RefusalLine(std::string_view message) {
  return std::string(kRefusalTitle) + ": " + std::string(message) + "\n";
}

// "Label: value" lines of the summary, and the count of each row of the key table.
struct ParsedSummary {
  std::map<std::string, std::string> items;
  std::map<int, std::uint64_t> rows;
};

ParsedSummary ParseSummary(const std::string& text) {
  ParsedSummary summary;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    int row = 0;
    std::uint64_t count = 0;
    std::string arrow;
    if (line.find(" -> ") != std::string::npos && (words >> row >> count)) {
      summary.rows[row] = count;
      continue;
    }
    const auto colon = line.find(": ");
    if (colon == std::string::npos) continue;
    const auto value = line.find_first_not_of(' ', colon + 1);
    summary.items[line.substr(0, colon)] = value == std::string::npos ? "" : line.substr(value);
  }
  return summary;
}

class TavrinConvertTest : public ::testing::Test {
 protected:
  // A small project in <temp>/quelle; returns its path.
  std::filesystem::path MakeProject(const std::string& name = "quelle") {
    temp_.WriteFile(name + "/Projekt1.vbp", kProject);
    temp_.WriteFile(name + "/Form1.frm", kForm);
    temp_.WriteFile(name + "/Form1.frx", kBinary);
    return temp_.path() / name;
  }

  TempFolder temp_;
};

TEST_F(TavrinConvertTest, VersionAndHelp) {
  const ToolRun version = RunTool({"--version"});
  EXPECT_EQ(version.exit_code, kExitConverted);
  EXPECT_EQ(version.out, std::string("tavrin-convert ") + TAVRIN_VERSION_TEXT + "\n");
  EXPECT_EQ(version.out, "tavrin-convert 1.00.0006\n");
  EXPECT_EQ(version.err, "");

  // Help wins over folders and touches none of them.
  const ToolRun help = RunTool({"--help", "quelle", "ziel"}, temp_.path());
  EXPECT_EQ(help.exit_code, kExitConverted);
  EXPECT_EQ(help.out.rfind("Aufruf: tavrin-convert [--help] [--version] [--] QUELLE ZIEL\n", 0), 0u);
  EXPECT_NE(help.out.find("Rückgabewerte:"), std::string::npos);
  EXPECT_EQ(help.err, "");
  EXPECT_TRUE(FolderSnapshot(temp_.path()).empty());
}

TEST_F(TavrinConvertTest, UsageErrorsExitWithTwoAndTouchNothing) {
  MakeProject();
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"quelle"},
      {"quelle", "ziel", "mehr"},
      {"--bogus", "quelle", "ziel"},
      {"-x", "quelle", "ziel"},
      {"--help", "--bogus"},
      {"quelle", ""},
  };
  const auto before = FolderSnapshot(temp_.path());
  for (const auto& words : cases) {
    std::string shown;
    for (const std::string& w : words) shown += "[" + w + "]";
    SCOPED_TRACE(shown);
    const ToolRun run = RunTool(words, temp_.path());
    EXPECT_EQ(run.exit_code, kExitNotConverted);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("tavrin-convert: ", 0), 0u) << run.err;
    EXPECT_EQ(FolderSnapshot(temp_.path()), before);
  }
  EXPECT_NE(RunTool({"a"}).err.find("\nAufruf: tavrin-convert"), std::string::npos);
  EXPECT_EQ(RunTool({"--bogus", "a", "b"}).err.rfind("tavrin-convert: Unbekannte Option: --bogus\n", 0), 0u);
}

TEST_F(TavrinConvertTest, DoubleDashLetsFoldersStartWithADash) {
  MakeProject("-alt");
  const ToolRun without = RunTool({"-alt", "neu"}, temp_.path());
  EXPECT_EQ(without.exit_code, kExitNotConverted);
  const ToolRun run = RunTool({"--", "-alt", "--neu"}, temp_.path());
  EXPECT_EQ(run.exit_code, kExitConverted) << run.err;
  EXPECT_EQ(ReadFile(temp_.path() / "--neu" / "Form1.frx"), kBinary);
}

TEST_F(TavrinConvertTest, RefusalsPrintTheMessageAndChangeNothing) {
  struct Case {
    const char* name;
    std::vector<std::string> words;  // run in the temporary folder
    std::string_view message;
  };
  MakeProject("quelle");
  temp_.WriteFile("voll/Liesmich.txt", "schon da");
  temp_.MakeFolder("leer");
  temp_.WriteFile("ohne/Form1.frm", kForm);
  const std::string quelle = (temp_.path() / "quelle").native();
  const Case cases[] = {
      {"same absolute folder", {quelle, quelle + "/"}, kRefusalSameFolder},
      {"same folder spelled twice", {"quelle", "./quelle/"}, kRefusalSameFolder},
      {"same folder through ..", {"quelle", "leer/../quelle"}, kRefusalSameFolder},
      {"same folder without project", {"leer", "leer"}, kRefusalSameFolder},
      {"target holds a file", {"quelle", "voll"}, kRefusalTargetNotEmpty},
      {"target holds a file, no project", {"ohne", "voll"}, kRefusalTargetNotEmpty},
      {"no project", {"ohne", "leer"}, kRefusalNoProject},
      {"no project, missing target", {"ohne", "fehlt/auch"}, kRefusalNoProject},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto before = FolderSnapshot(temp_.path());
    const ToolRun run = RunTool(c.words, temp_.path());
    EXPECT_EQ(run.exit_code, kExitNotConverted);
    EXPECT_EQ(run.err, RefusalLine(c.message));
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(FolderSnapshot(temp_.path()), before);  // no missing target is left behind either
  }
}

TEST_F(TavrinConvertTest, UnusableSourceOrTargetExitsWithTwo) {
  MakeProject("quelle");
  temp_.WriteFile("datei", "inhalt");
  const std::string base = temp_.path().native();
  struct Case {
    std::vector<std::string> words;
    std::string err;  // the start of the error stream
  };
  const Case cases[] = {
      {{"fehlt", "ziel"}, "tavrin-convert: Quellverzeichnis nicht gefunden: " + base + "/fehlt\n"},
      {{"datei", "ziel"}, "tavrin-convert: Quellverzeichnis ist kein Verzeichnis: " + base + "/datei\n"},
      {{"quelle", "datei/ziel"}, "tavrin-convert: Zielverzeichnis kann nicht angelegt werden: " + base + "/datei/ziel ("},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words[0] + " " + c.words[1]);
    const auto before = FolderSnapshot(temp_.path());
    const ToolRun run = RunTool(c.words, temp_.path());
    EXPECT_EQ(run.exit_code, kExitNotConverted);
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(FolderSnapshot(temp_.path()), before);
  }
  // A target that is a file cannot be listed: refused, naming the target, the file untouched.
  const ToolRun on_file = RunTool({"quelle", "datei"}, temp_.path());
  EXPECT_EQ(on_file.exit_code, kExitNotConverted);
  EXPECT_NE(on_file.err.find(base + "/datei"), std::string::npos) << on_file.err;
  EXPECT_EQ(ReadFile(temp_.path() / "datei"), "inhalt");
}

TEST_F(TavrinConvertTest, MissingTargetIsMadeWithParents) {
  MakeProject();
  const ToolRun run = RunTool({"quelle", "neu/tief/ziel"}, temp_.path());
  EXPECT_EQ(run.exit_code, kExitConverted) << run.err;
  EXPECT_EQ(run.err, "");
  const auto target = FolderSnapshot(temp_.path() / "neu" / "tief" / "ziel");
  ASSERT_EQ(target.size(), 3u);
  EXPECT_EQ(target.at("Form1.frx"), kBinary);
  EXPECT_NE(target.at("Form1.frm").find("Begin MSComctlLib.Toolbar Toolbar1 \r\n"), std::string::npos);
  EXPECT_NE(target.at("Projekt1.vbp").find("{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"),
            std::string::npos);
}

TEST_F(TavrinConvertTest, SummaryCountsWhatThePassDid) {
  MakeProject();
  const ToolRun run = RunTool({"quelle", "ziel"}, temp_.path());
  ASSERT_EQ(run.exit_code, kExitConverted) << run.err;
  EXPECT_EQ(run.err, "") << "no progress bar on a pipe, no messages";
  EXPECT_EQ(run.out.rfind("Konvertierung abgeschlossen...\n", 0), 0u) << run.out;
  const ParsedSummary summary = ParseSummary(run.out);
  EXPECT_EQ(summary.items.at("Quellverzeichnis"), (temp_.path() / "quelle/").native());
  EXPECT_EQ(summary.items.at("Zielverzeichnis"), (temp_.path() / "ziel/").native());
  EXPECT_EQ(summary.items.at("Dateien kopiert"), "1");
  EXPECT_EQ(summary.items.at("Dateien umgeschrieben"), "2");
  EXPECT_EQ(summary.items.at("Dateien nicht übertragen"), "0");
  EXPECT_EQ(summary.items.at("Zeilen geändert"), "2");
  EXPECT_EQ(summary.items.at("Ersetzungen insgesamt"), "3");
  ASSERT_EQ(summary.rows.size(), 14u);
  for (const auto& [row, count] : summary.rows) {
    EXPECT_EQ(count, row == 1 || row == 6 || row == 7 ? 1u : 0u) << "row " << row;
  }
}

TEST_F(TavrinConvertTest, FailedFileIsListedAndExitsWithOne) {
  MakeProject();
  // A folder where a target file must go: the target has no files, yet Form1.frm cannot be written.
  temp_.MakeFolder("ziel/Form1.frm");
  const ToolRun run = RunTool({"quelle", "ziel"}, temp_.path());
  EXPECT_EQ(run.exit_code, kExitSomeFailed);
  const std::string heading = RefusalLine(kFailureHeading);
  EXPECT_EQ(run.err.rfind(heading + "Form1.frm: ", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
  const ParsedSummary summary = ParseSummary(run.out);
  EXPECT_EQ(run.out.rfind("Konvertierung mit Fehlern abgeschlossen...\n", 0), 0u) << run.out;
  EXPECT_EQ(summary.items.at("Dateien nicht übertragen"), "1");
  EXPECT_EQ(summary.items.at("Dateien umgeschrieben"), "1");
  EXPECT_EQ(summary.items.at("Dateien kopiert"), "1");
  // The other files arrived; the folder in the way is untouched.
  const auto target = FolderSnapshot(temp_.path() / "ziel");
  EXPECT_EQ(target.at("Form1.frm"), "<Ordner>");
  EXPECT_EQ(target.at("Form1.frx"), kBinary);
  EXPECT_EQ(target.count("Projekt1.vbp"), 1u);
}

TEST_F(TavrinConvertTest, EveryFailedFileIsListedEvenWhenTheMessageIsShortened) {
  MakeProject();
  constexpr int kFiles = 60;
  for (int i = 0; i < kFiles; ++i) {
    const std::string name = "Bild" + std::to_string(100 + i) + ".frx";
    temp_.WriteFile("quelle/" + name, kBinary);
    temp_.MakeFolder("ziel/" + name);
  }
  const ToolRun run = RunTool({"quelle", "ziel"}, temp_.path());
  EXPECT_EQ(run.exit_code, kExitSomeFailed);
  for (int i = 0; i < kFiles; ++i) {
    const std::string line = "\nBild" + std::to_string(100 + i) + ".frx: ";
    EXPECT_NE(run.err.find(line), std::string::npos) << line;
  }
  EXPECT_NE(run.err.find("Alle nicht übertragenen Dateien:\n"), std::string::npos);
  EXPECT_EQ(ParseSummary(run.out).items.at("Dateien nicht übertragen"), std::to_string(kFiles));
}

TEST_F(TavrinConvertTest, ProgressBarOnlyOnATerminal) {
  MakeProject();
  const ToolRun piped = RunTool({"quelle", "ziel1"}, temp_.path());
  EXPECT_EQ(piped.exit_code, kExitConverted);
  EXPECT_EQ(piped.err, "");

  const ToolRun terminal = RunTool({"quelle", "ziel2"}, temp_.path(), /*err_on_terminal=*/true);
  EXPECT_EQ(terminal.exit_code, kExitConverted);
  EXPECT_NE(terminal.err.find("Dateien"), std::string::npos) << terminal.err;
  EXPECT_NE(terminal.err.find(" MB"), std::string::npos) << terminal.err;
  // The line is cleared at the end, before the summary goes out.
  const std::string clear = "\r\x1b[K";
  ASSERT_GE(terminal.err.size(), clear.size());
  EXPECT_EQ(terminal.err.substr(terminal.err.size() - clear.size()), clear);
  std::string expected_out = piped.out;
  expected_out.replace(expected_out.find("ziel1"), 5, "ziel2");
  EXPECT_EQ(terminal.out, expected_out);
}

TEST_F(TavrinConvertTest, ConvertsEveryExampleExactly) {
  int projects = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ExamplesFolder())) {
    if (!entry.is_directory()) continue;
    const std::string name = entry.path().filename().native();
    SCOPED_TRACE(name);
    ++projects;
    // Work on a copy, so that a fault could never harm the checked-in example.
    const std::filesystem::path source = temp_.path() / ("quelle-" + name);
    std::filesystem::copy(entry.path(), source, std::filesystem::copy_options::recursive);
    const std::filesystem::path target = temp_.path() / ("ziel-" + name);

    const ToolRun run = RunTool({source.native(), target.native()});
    EXPECT_EQ(run.exit_code, kExitConverted) << run.err;
    EXPECT_EQ(run.err, "");
    const auto expected = FolderSnapshot(ExpectedFolder() / name);
    ASSERT_FALSE(expected.empty());
    const auto converted = FolderSnapshot(target);
    EXPECT_EQ(converted.size(), expected.size());
    for (const auto& [file, bytes] : expected) {
      ASSERT_EQ(converted.count(file), 1u) << file << " is missing";
      EXPECT_TRUE(converted.at(file) == bytes) << file << " differs from the expected result";
    }
    for (const auto& [file, bytes] : converted) EXPECT_EQ(expected.count(file), 1u) << file << " is extra";
    EXPECT_EQ(FolderSnapshot(source), FolderSnapshot(entry.path())) << "the source was changed";

    const auto counts = ReadExpectedCounts(ExpectedFolder() / (name + ".report"));
    ASSERT_EQ(counts.size(), 17u);
    const ParsedSummary summary = ParseSummary(run.out);
    EXPECT_EQ(summary.items.at("Dateien kopiert"), std::to_string(counts.at("files_copied")));
    EXPECT_EQ(summary.items.at("Dateien umgeschrieben"), std::to_string(counts.at("files_rewritten")));
    EXPECT_EQ(summary.items.at("Zeilen geändert"), std::to_string(counts.at("lines_changed")));
    for (int row = 1; row <= 14; ++row) {
      EXPECT_EQ(summary.rows.at(row), counts.at("row" + std::to_string(row))) << "row " << row;
    }
  }
  EXPECT_GE(projects, 1);
}

}  // namespace
}  // namespace tavrin::testing
