// Runs the built tavrin-convert on real folders and checks exit codes, streams and results.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/conversion_request.h"
#include "runtime/path_text.h"
#include "tavrin_version.h"
#include "tests/cli/folder_snapshot.h"
#include "tests/cli/tool_run.h"
#include "tests/support/json_value.h"
#include "tests/support/platform_entries.h"
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
  EXPECT_EQ(help.out.rfind("Aufruf: tavrin-convert [--help] [--version] [-r|--recursive] [--complete]", 0), 0u);
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
  temp_.WriteFile("verweis/Form1.frm", kForm);
  MakeLink(std::string(300, 'n'), temp_.path() / "verweis" / "Projekt1.vbp");
  const std::string quelle = PathText(temp_.path() / "quelle");
  const Case cases[] = {
      {"same absolute folder", {quelle, quelle + Separator()}, kRefusalSameFolder},
      {"same folder in other letter case", {"leer", "LEER"},
       kNamesIgnoreCase ? kRefusalSameFolder : kRefusalNoProject},
      {"same folder spelled twice", {"quelle", "./quelle/"}, kRefusalSameFolder},
      {"same folder through ..", {"quelle", "leer/../quelle"}, kRefusalSameFolder},
      {"same folder without project", {"leer", "leer"}, kRefusalSameFolder},
      {"target holds a file", {"quelle", "voll"}, kRefusalTargetNotEmpty},
      {"target holds a file, no project", {"ohne", "voll"}, kRefusalTargetNotEmpty},
      {"no project", {"ohne", "leer"}, kRefusalNoProject},
      {"no project, missing target", {"ohne", "fehlt/auch"}, kRefusalNoProject},
      // The only project file is a link that resolves to nothing: skipped, so no project,
      // and the missing target is not made.
      {"project only as an unresolvable link", {"verweis", "neu/ziel"}, kRefusalNoProject},
      {"a tree into itself", {"-r", "quelle", "quelle/neu"}, kRefusalTargetInSource},
      {"a tree into one that holds it", {"--recursive", "quelle", "."}, kRefusalSourceInTarget},
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

// A tree whose projects lie below its top is refused as before; the refusal then says how many
// project files lie below and that --recursive converts the tree.
TEST_F(TavrinConvertTest, ARefusedTreeWithProjectsBelowItsTopSaysSo) {
  struct Case {
    const char* name;
    std::vector<std::string> projects;  // below the source
    std::string note;                   // after the refusal line; "" for none
  };
  const std::string s = Separator();
  const Case cases[] = {
      {"none below", {}, ""},
      {"one", {"Alt/Lager.vbp"}, "Eine Projektdatei liegt in einem Unterverzeichnis: Alt" + s + "Lager.vbp."},
      {"exactly as many as are named",
       {"Server/Server.vbp", "Client/Client.vbp", "Client/Test/Test.vbp"},
       "3 Projektdateien liegen in Unterverzeichnissen: Client" + s + "Client.vbp, Client" + s + "Test" + s +
           "Test.vbp, Server" + s + "Server.vbp."},
      {"one more than are named",
       {"Server/Server.vbp", "Client/Client.vbp", "Client/Test/Test.vbp", "A/a.VBP"},
       "4 Projektdateien liegen in Unterverzeichnissen, die ersten: A" + s + "a.VBP, Client" + s +
           "Client.vbp, Client" + s + "Test" + s + "Test.vbp."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(temp_.path() / "baum");
    temp_.WriteFile("baum/Liesmich.txt", "Projekte in Unterverzeichnissen\r\n");
    for (const std::string& project : c.projects) temp_.WriteFile("baum/" + project, kProject);
    const auto before = FolderSnapshot(temp_.path());
    const ToolRun run = RunTool({"baum", "ziel"}, temp_.path());
    EXPECT_EQ(run.exit_code, kExitNotConverted);
    const std::string tail = c.note.empty() ? "" : c.note + " Mit --recursive wird der ganze Verzeichnisbaum konvertiert.\n";
    EXPECT_EQ(run.err, RefusalLine(kRefusalNoProject) + tail);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(FolderSnapshot(temp_.path()), before);
    if (c.projects.empty()) continue;
    const ToolRun tree = RunTool({"-r", "baum", "ziel"}, temp_.path());
    EXPECT_EQ(tree.exit_code, kExitConverted) << tree.err;
    EXPECT_TRUE(std::filesystem::exists(temp_.path() / "ziel" / c.projects[0]));
    std::filesystem::remove_all(temp_.path() / "ziel");
  }
}

// A project that names a library twice: a hint in every mode; with --complete the later line is
// dropped, shown in the diff as removed, counted apart and named in the hint.
TEST_F(TavrinConvertTest, ADuplicateReferenceIsNamedAndWithCompleteDropped) {
  const std::string line2 = "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0; MSCOMCTL.OCX";
  temp_.WriteFile("quelle/Projekt1.vbp", "Type=Exe\n" + line2 +
                                             "\n"
                                             "Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX\n"
                                             "Form=Form1.frm\n");
  temp_.WriteFile("quelle/Form1.frm", "VERSION 5.00\nBegin VB.Form Form1\n   Begin ComctlLib.Toolbar Toolbar1\n");
  const std::string line3 = "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX";

  const ToolRun diff = RunTool({"-n", "--diff", "--complete", "quelle", "ziel"}, temp_.path());
  ASSERT_EQ(diff.exit_code, kExitConverted) << diff.err;
  EXPECT_NE(diff.out.find("umschreiben (1 Zeile geändert, 1 entfernt) Projekt1.vbp\n"), std::string::npos) << diff.out;
  EXPECT_NE(diff.out.find("@@ -1,4 +1,3 @@\n Type=Exe\n " + line2 +
                          "\n-Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX\n Form=Form1.frm\n"),
            std::string::npos)
      << diff.out;
  const ParsedSummary dry = ParseSummary(diff.out);
  EXPECT_EQ(dry.items.at("Zeilen würden entfernt"), "1");
  EXPECT_EQ(dry.items.at("  Doppelte Verweise"), "1");
  EXPECT_EQ(dry.items.at("  Zeilenenden"), "2") << "the files the hint lists";
  EXPECT_NE(diff.out.find("[duplicate-reference] Projekt1.vbp, Zeile 3: Die Projektdatei verweist zweimal auf die Bibliothek "
                          "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}: Zeile 2 "
                          "(Version 2.1) und Zeile 3 (Version 2.0). Zeile 3 würde entfernt: „" + line3 + "“"),
            std::string::npos)
      << diff.out;
  EXPECT_NE(diff.out.find("2 umzuschreibende Dateien haben andere Zeilenenden als CR LF; sie enden nach der "
                          "Konvertierung auf CR LF."),
            std::string::npos)
      << diff.out;

  const ToolRun complete = RunTool({"--complete", "quelle", "ziel"}, temp_.path());
  ASSERT_EQ(complete.exit_code, kExitConverted) << complete.err;
  EXPECT_EQ(ReadFile(temp_.path() / "ziel" / "Projekt1.vbp"), "Type=Exe\r\n" + line2 + "\r\nForm=Form1.frm\r\n");
  EXPECT_EQ(ParseSummary(complete.out).items.at("Zeilen entfernt"), "1");
  EXPECT_EQ(ParseSummary(complete.out).items.at("Zeilen geändert"), "2");

  const ToolRun json_run = RunTool({"--json", "quelle", "plain"}, temp_.path());
  ASSERT_EQ(json_run.exit_code, kExitConverted) << json_run.err;
  EXPECT_EQ(ReadFile(temp_.path() / "plain" / "Projekt1.vbp"),
            "Type=Exe\r\n" + line2 + "\r\n" + line3 + "\r\nForm=Form1.frm\r\n") << "without --complete both stay";
  JsonValue json;
  std::string error;
  ASSERT_TRUE(ParseJson(json_run.out, &json, &error)) << error << "\n" << json_run.out;
  EXPECT_EQ(json["lines_removed"].number, 0);
  ASSERT_EQ(json["hints"].items.size(), 2u);
  EXPECT_EQ(json["hints"][0]["kind"].text, "duplicate-reference");
  EXPECT_EQ(json["hints"][0]["file"].text, "Projekt1.vbp");
  EXPECT_EQ(json["hints"][0]["line"].number, 3);
  EXPECT_EQ(json["hints"][0]["text"].text, line3);
  EXPECT_EQ(json["hints"][0]["count"].number, 1);
  EXPECT_EQ(json["hints"][1]["kind"].text, "line-ends");
  EXPECT_EQ(json["hints"][1]["count"].number, 2) << "the files the hint lists";
}

TEST_F(TavrinConvertTest, UnusableSourceOrTargetExitsWithTwo) {
  MakeProject("quelle");
  temp_.WriteFile("datei", "inhalt");
  const std::string base = PathText(temp_.path());
  const std::string s = Separator();
  struct Case {
    std::vector<std::string> words;
    std::string err;  // the start of the error stream
  };
  const Case cases[] = {
      {{"fehlt", "ziel"}, "tavrin-convert: Quellverzeichnis nicht gefunden: " + base + s + "fehlt\n"},
      {{"datei", "ziel"}, "tavrin-convert: Quellverzeichnis ist kein Verzeichnis: " + base + s + "datei\n"},
      {{"quelle", "datei/ziel"}, "Konvertierungsfehler: Das Verzeichnis [" + base + s + "datei" + s + "ziel" + s +
                                     "] kann nicht gelesen werden (ist kein Verzeichnis)\n"},
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
  EXPECT_NE(on_file.err.find(base + s + "datei"), std::string::npos) << on_file.err;
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
  EXPECT_EQ(summary.items.at("Quellverzeichnis"), PathText(Joined(temp_.path() / "quelle", "")));
  EXPECT_EQ(summary.items.at("Zielverzeichnis"), PathText(Joined(temp_.path() / "ziel", "")));
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

TEST_F(TavrinConvertTest, NoProgressBarOnAPipe) {
  MakeProject();
  const ToolRun piped = RunTool({"quelle", "ziel1"}, temp_.path());
  EXPECT_EQ(piped.exit_code, kExitConverted);
  EXPECT_EQ(piped.err, "");
  EXPECT_EQ(piped.out.rfind("Konvertierung abgeschlossen...\n", 0), 0u) << piped.out;
}

#ifndef _WIN32  // a pseudo terminal; a Windows console cannot be had in a headless test run
TEST_F(TavrinConvertTest, ProgressBarOnATerminal) {
  MakeProject();
  const ToolRun piped = RunTool({"quelle", "ziel1"}, temp_.path());
  ASSERT_EQ(piped.exit_code, kExitConverted);

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
#endif

TEST_F(TavrinConvertTest, ConvertsEveryExampleExactly) {
  int projects = 0;
  for (const ExpectedVariant& variant : ExpectedVariants()) {
    const std::string& name = variant.name;
    SCOPED_TRACE(name);
    ++projects;
    // Work on a copy, so that a fault could never harm the checked-in example; in a folder
    // whose name no single code page holds ("Prüfung 日本").
    const std::filesystem::path example = ExamplesFolder() / variant.example;
    const std::filesystem::path folder = temp_.path() / PathFromText("Pr\xc3\xbc" "fung \xe6\x97\xa5\xe6\x9c\xac");
    const std::filesystem::path source = folder / PathFromText("quelle-" + name);
    std::filesystem::create_directories(folder);
    std::filesystem::copy(example, source, std::filesystem::copy_options::recursive);
    HideDotEntries(source);
    const std::filesystem::path target = folder / PathFromText("ziel-" + name);

    std::vector<std::string> words;
    if (variant.recursive) words.push_back("--recursive");
    if (variant.complete) words.push_back("--complete");
    words.push_back(PathText(source));
    words.push_back(PathText(target));
    const ToolRun run = RunTool(words);
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
    EXPECT_EQ(FolderSnapshot(source), FolderSnapshot(example)) << "the source was changed";

    const auto counts = ReadExpectedCounts(ExpectedFolder() / (name + ".report"));
    const int rows = variant.complete ? KeyTable::kCompleteUpper : KeyTable::kUpper;
    ASSERT_EQ(counts.size(), 4u + static_cast<std::size_t>(rows));
    const ParsedSummary summary = ParseSummary(run.out);
    EXPECT_EQ(summary.items.at("Dateien kopiert"), std::to_string(counts.at("files_copied")));
    EXPECT_EQ(summary.items.at("Dateien umgeschrieben"), std::to_string(counts.at("files_rewritten")));
    EXPECT_EQ(summary.items.at("Zeilen geändert"), std::to_string(counts.at("lines_changed")));
    for (int row = 1; row <= rows; ++row) {
      EXPECT_EQ(summary.rows.at(row), counts.at("row" + std::to_string(row))) << "row " << row;
    }
    EXPECT_EQ(summary.rows.size(), static_cast<std::size_t>(rows));
    if (variant.recursive) {
      EXPECT_EQ(summary.items.at("Verzeichnisse"), std::to_string(counts.at("folders")));
    }
  }
  EXPECT_GE(projects, 3);
}

#ifndef _WIN32  // /dev/full, /proc and names with line ends exist only on POSIX systems
TEST_F(TavrinConvertTest, ALostSummaryIsNoSuccess) {
  MakeProject();
  const ToolRun run = RunTool({"quelle", "ziel"}, temp_.path(), false, "/dev/full");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.err,
            "tavrin-convert: Die Ausgabe konnte nicht vollständig geschrieben werden (Kein Speicherplatz mehr auf dem "
            "Datenträger)\n");
  EXPECT_EQ(ReadFile(temp_.path() / "ziel" / "Form1.frx"), kBinary) << "the conversion itself ran";
  EXPECT_EQ(RunTool({"--version"}, temp_.path(), false, "/dev/full").exit_code, 3);
  // A refusal stays a refusal.
  EXPECT_EQ(RunTool({"quelle", "ziel"}, temp_.path(), false, "/dev/full").exit_code, kExitNotConverted);
}

TEST_F(TavrinConvertTest, NamesCannotForgeLinesOrDriveTheTerminal) {
  MakeProject();
  // Both fail (reading them fails at once), so both are named in the failure list.
  const std::string forged = "a.bin: gelesen\nFAKE.bin";
  const std::string escape = "b\x1b[2J\xfc.frx";
  for (const std::string& name : {forged, escape}) {
    std::filesystem::create_symlink("/proc/self/mem", temp_.path() / "quelle" / name);
  }
  const ToolRun run = RunTool({"quelle", "ziel"}, temp_.path());
  EXPECT_EQ(run.exit_code, kExitSomeFailed);
  EXPECT_NE(run.err.find("\na.bin: gelesen\\nFAKE.bin: Quelldatei kann nicht gelesen werden"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("\nb\\x1B[2J\\xFC.frx: "), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 3) << run.err;
  EXPECT_EQ(ParseSummary(run.out).items["Dateien nicht übertragen"], "2");
}
#endif

TEST_F(TavrinConvertTest, ALineWithoutEndNeedsNoMoreMemoryThanAShortOne) {
  // A sparse file: 128 MiB of NUL bytes, no line end, read as project text; once plain and once
  // with old texts, some of them across the boundaries of reads.
  constexpr std::uint64_t kSize = 128ull << 20;
  const std::uint64_t places[] = {0, (64u << 10) - 4, (1u << 20) - 5, kSize / 2 + 3, kSize - 10};
  for (const bool with_old_texts : {false, true}) {
    SCOPED_TRACE(with_old_texts ? "with old texts" : "plain");
    RemoveTree(temp_.path());
    temp_.WriteFile("quelle/Projekt1.vbp", "Type=Exe\r\n");
    const std::filesystem::path file = temp_.path() / "quelle" / "Lang.frm";
    {
      std::ofstream out(file, std::ios::binary);
      for (std::uint64_t at : places) {
        if (!with_old_texts) break;
        out.seekp(static_cast<std::streamoff>(at));
        out << "ComctlLib.";
      }
    }
    std::filesystem::resize_file(file, kSize);

    const ToolRun run = RunTool({"quelle", "ziel"}, temp_.path());

    EXPECT_EQ(run.exit_code, kExitConverted) << run.err;
    EXPECT_LT(run.peak_kib, 64 * 1024) << "peak resident memory in KiB";
    const std::uint64_t grown = with_old_texts ? 2 * std::size(places) : 0;
    const std::filesystem::path converted = temp_.path() / "ziel" / "Lang.frm";
    EXPECT_EQ(std::filesystem::file_size(converted), kSize + grown + 2);
    std::ifstream in(converted, std::ios::binary);
    std::uint64_t shift = 0;
    for (std::uint64_t at : places) {
      if (!with_old_texts) break;
      std::string found(12, '\0');
      in.seekg(static_cast<std::streamoff>(at + shift));
      in.read(found.data(), 12);
      EXPECT_EQ(found, "MSComctlLib.") << "at " << at;
      shift += 2;
    }
    std::string tail(2, '\0');
    in.seekg(-2, std::ios::end);
    in.read(tail.data(), 2);
    EXPECT_EQ(tail, "\r\n");
    EXPECT_EQ(ParseSummary(run.out).items["Zeilen geändert"], with_old_texts ? "1" : "0");
  }
}


// The lines of `text` split at LF (the tool's output uses LF only).
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(TavrinConvertTest, ADryRunReadsEverythingWritesNothingAndTellsWhatItWouldDo) {
  std::filesystem::copy(ExamplesFolder() / "Lager", temp_.path() / "quelle", std::filesystem::copy_options::recursive);
  HideDotEntries(temp_.path() / "quelle");
  // Three levels deep, with folders after it: the walk climbs back up more than one level.
  temp_.WriteFile("quelle/Client/Formulare/Alt/frmAlt.frm", "Begin ComctlLib.ListView lv\r\n");
  temp_.MakeFolder("leer");
  // A path below the source as the system writes it.
  const auto below = [](std::string text) {
    for (char& c : text) c = c == '/' ? Separator()[0] : c;
    return text;
  };
  const ToolRun real = RunTool({"-r", "quelle", "echt"}, temp_.path());
  ASSERT_EQ(real.exit_code, kExitConverted) << real.err;
  const auto before = FolderSnapshot(temp_.path());
  for (const char* target : {"fehlt/ziel", "leer"}) {
    SCOPED_TRACE(target);
    const ToolRun run = RunTool({"--dry-run", "--recursive", "quelle", target}, temp_.path());
    EXPECT_EQ(run.exit_code, kExitConverted) << run.err;
    EXPECT_EQ(FolderSnapshot(temp_.path()), before) << "a dry run wrote something";
    // One line per file, as the real conversion would treat it.
    const std::vector<std::string> lines = Lines(run.out);
    EXPECT_NE(std::find(lines.begin(), lines.end(), below("kopieren Client/Formulare/frmLager.frx")), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), below("umschreiben (1 Zeile geändert) Client/Client.vbp")),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "umschreiben (0 Zeilen geändert) Lager.vbg"), lines.end());
    EXPECT_NE(run.out.find("\nProbelauf: Es wurde nichts geschrieben."), std::string::npos) << "after the file lines";
    // Said as what would happen, never as done.
    const std::pair<const char*, const char*> items[] = {{"Verzeichnisse", "Verzeichnisse"},
                                                         {"Dateien würden kopiert", "Dateien kopiert"},
                                                         {"Dateien würden umgeschrieben", "Dateien umgeschrieben"},
                                                         {"Zeilen würden geändert", "Zeilen geändert"},
                                                         {"Ersetzungen insgesamt", "Ersetzungen insgesamt"}};
    for (const auto& [dry, done] : items) {
      EXPECT_EQ(ParseSummary(run.out).items.at(dry), ParseSummary(real.out).items.at(done)) << dry;
    }
    for (const char* as_if_done : {"jetzt", "Dateien kopiert", "umgeschriebene Datei"}) {
      EXPECT_EQ(run.out.find(as_if_done), std::string::npos) << as_if_done << "\n" << run.out;
    }
  }
  // A file that cannot be read makes it 1, a refusal 2; still nothing is written.
  const auto unreadable = UnreadableFile(temp_.path() / "quelle" / "speicher.frx");
  EXPECT_EQ(RunTool({"-n", "-r", "quelle", "fehlt"}, temp_.path()).exit_code, kExitSomeFailed);
  EXPECT_EQ(RunTool({"-n", "quelle", "fehlt"}, temp_.path()).exit_code, kExitNotConverted) << "no project at the top";
  EXPECT_FALSE(std::filesystem::exists(temp_.path() / "fehlt"));
}

#ifndef _WIN32  // a backslash and bytes that are not UTF-8 are part of names only on POSIX systems
// Two names that differ look different in the dry run's lines and in the diff's headers too: a
// byte 0xFC and the text "\xFC", one backslash and two.
TEST_F(TavrinConvertTest, NamesThatDifferLookDifferentInTheDryRunAndTheDiff) {
  MakeProject();
  const std::vector<std::string> names = {"\xfc.frm", "\\xFC.frm", "b\\.frm", "b\\\\.frm"};
  for (const std::string& name : names) temp_.WriteFile("quelle/" + name, kForm);
  const ToolRun run = RunTool({"-n", "--diff", "quelle", "ziel"}, temp_.path());
  ASSERT_EQ(run.exit_code, kExitConverted) << run.err;
  std::set<std::string> rewritten;
  std::set<std::string> headers;
  for (const std::string& line : Lines(run.out)) {
    if (line.rfind("umschreiben (1 Zeile geändert) ", 0) == 0) rewritten.insert(line);
    if (line.rfind("--- ", 0) == 0 || line.rfind("+++ ", 0) == 0) headers.insert(line);
  }
  EXPECT_EQ(rewritten.size(), names.size() + 2) << run.out;  // and Form1.frm, Projekt1.vbp
  EXPECT_EQ(headers.size(), 2 * (names.size() + 2)) << run.out;  // and Form1.frm, Projekt1.vbp
  EXPECT_EQ(rewritten.count("umschreiben (1 Zeile geändert) \\xFC.frm"), 1u) << "the byte";
  EXPECT_EQ(rewritten.count("umschreiben (1 Zeile geändert) \\\\xFC.frm"), 1u) << "the text";
  EXPECT_EQ(rewritten.count("umschreiben (1 Zeile geändert) b\\\\.frm"), 1u);
  EXPECT_EQ(rewritten.count("umschreiben (1 Zeile geändert) b\\\\\\\\.frm"), 1u);
}
#endif

TEST_F(TavrinConvertTest, TheDiffShowsExactlyTheLinesAConversionChanges) {
  std::filesystem::copy(ExamplesFolder() / "Lager", temp_.path() / "quelle", std::filesystem::copy_options::recursive);
  const ToolRun real = RunTool({"-r", "--complete", "quelle", "echt"}, temp_.path());
  ASSERT_EQ(real.exit_code, kExitConverted) << real.err;
  const ToolRun run = RunTool({"-n", "--diff", "-r", "--complete", "quelle", "ziel"}, temp_.path());
  ASSERT_EQ(run.exit_code, kExitConverted) << run.err;

  // Walk the hunks: every "+" line must be that line of the converted file, every "-" line
  // that line of the source, and together they are the changed lines the conversion counts.
  const std::string base = PathText(temp_.path());
  std::string file;
  std::uint64_t old_line = 0;
  std::uint64_t new_line = 0;
  std::uint64_t changed = 0;
  int notes = 0;
  for (const std::string& line : Lines(run.out)) {
    if (line.rfind("--- ", 0) == 0) {
      ASSERT_EQ(line.rfind("--- " + base + Separator() + "quelle" + Separator(), 0), 0u) << line;
      file = line.substr(4 + base.size() + 8);
    } else if (line.rfind("+++ ", 0) == 0) {
      EXPECT_EQ(line, "+++ " + base + Separator() + "ziel" + Separator() + file);
    } else if (line.rfind("@@ -", 0) == 0) {
      old_line = new_line = std::stoull(line.substr(4));
    } else if (line == "  (Zeilenenden werden zu CR LF)") {
      ++notes;
    } else if (!file.empty() && !line.empty() && (line[0] == ' ' || line[0] == '-' || line[0] == '+')) {
      const auto converted = Lines(ReadFile(temp_.path() / "echt" / file));
      if (line[0] == '+') {
        ASSERT_LT(new_line - 1, converted.size());
        EXPECT_EQ("+" + converted[new_line - 1], line + "\r") << file << " line " << new_line;
        ++new_line;
      } else if (line[0] == '-') {
        ++old_line;
        ++changed;
      } else {
        ++old_line;
        ++new_line;
      }
    }
  }
  EXPECT_EQ(std::to_string(changed), ParseSummary(real.out).items.at("Zeilen geändert"));
  EXPECT_EQ(notes, 2) << "the files saved with LF and with CR only";
  EXPECT_FALSE(std::filesystem::exists(temp_.path() / "ziel"));
}

#ifndef _WIN32  // a name with a line end, and /proc, exist only on POSIX systems
TEST_F(TavrinConvertTest, JsonIsOneValidDocumentAlsoForOddNames) {
  MakeProject();
  temp_.WriteFile("quelle/Gr\xfc\xdf" "e.frm", "Begin ComctlLib.Toolbar\r\n   BeginProperty Panel1 {0713E89F-850A-101B-AFC0-4210102A8DA7}\r\n");
  std::filesystem::create_symlink("/proc/self/mem", temp_.path() / "quelle" / "a\"b\nc.frx");
  for (const bool dry_run : {false, true}) {
    SCOPED_TRACE(dry_run ? "dry run" : "conversion");
    std::vector<std::string> words = {"--json", "quelle", dry_run ? "probe" : "ziel"};
    if (dry_run) words.insert(words.begin(), "-n");
    const ToolRun run = RunTool(words, temp_.path());
    EXPECT_EQ(run.exit_code, kExitSomeFailed);

    JsonValue json;
    std::string error;
    ASSERT_TRUE(ParseJson(run.out, &json, &error)) << error << "\n" << run.out;
    EXPECT_EQ(json["dry_run"].boolean, dry_run);
    EXPECT_FALSE(json["recursive"].boolean);
    EXPECT_EQ(json["source"].text, PathText(temp_.path()) + Separator() + "quelle" + Separator());
    EXPECT_EQ(json["files"]["copied"].number, 1);
    EXPECT_EQ(json["files"]["rewritten"].number, 3);
    EXPECT_EQ(json["files"]["failed"].number, 1);
    EXPECT_EQ(json["lines_changed"].number, 3);
    ASSERT_EQ(json["replacements"].items.size(), 14u);
    EXPECT_EQ(json["replacements"][6]["old"].text, "ComctlLib.");
    EXPECT_EQ(json["replacements"][6]["count"].number, 2);
    ASSERT_EQ(json["failures"].items.size(), 1u);
    EXPECT_EQ(json["failures"][0]["file"].text, "a\"b\\nc.frx") << "escaped as the summary shows it";
    EXPECT_EQ(json["failures"][0]["reason"].text, "Quelldatei kann nicht gelesen werden (Ein-/Ausgabefehler)");
    ASSERT_EQ(json["hints"].items.size(), 1u);
    EXPECT_EQ(json["hints"][0]["kind"].text, "vb5-class-id");
    EXPECT_EQ(json["hints"][0]["file"].text, "Gr\\xFC\\xDF" "e.frm") << "a byte that is not UTF-8 as \\xNN";
    EXPECT_EQ(json["hints"][0]["line"].number, 2);
    EXPECT_EQ(run.out.find("Konvertierung"), std::string::npos) << "no German text on standard output";
  }
}
#endif

}  // namespace
}  // namespace tavrin::testing
