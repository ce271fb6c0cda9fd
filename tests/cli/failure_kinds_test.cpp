// Failures of folders and of files, told apart in the summary, the JSON document and the
// failure list: a target folder that cannot be made is no problem of the source, and the files
// below it count as not transferred.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/json_report.h"
#include "cli/summary.h"
#include "conversion/conversion_request.h"
#include "tests/cli/tool_run.h"
#include "tests/support/json_value.h"
#include "tests/support/platform_entries.h"
#include "tests/support/temp_folder.h"

namespace tavrin::testing {
namespace {

// True when the summary holds the line "label:", blanks up to its value column, then `value`.
bool HasItem(const std::string& summary, const std::string& label, const std::string& value) {
  for (std::size_t at = summary.find(label + ":"); at != std::string::npos; at = summary.find(label + ":", at + 1)) {
    if (at != 0 && summary[at - 1] != '\n') continue;
    std::size_t end = at + label.size() + 1;
    if (summary[end] != ' ') continue;
    while (summary[end] == ' ') ++end;
    if (summary.compare(end, value.size() + 1, value + "\n") == 0) return true;
  }
  return false;
}

// Every failure of the report, as the JSON document gives it: its kind, its name, its reason.
std::vector<std::string> JsonFailures(const JsonValue& json) {
  std::vector<std::string> found;
  for (const JsonValue& failure : json["failures"].items) {
    const std::string& kind = failure["kind"].text;
    found.push_back(kind + " " + failure[kind == "file" ? "file" : "folder"].text + ": " + failure["reason"].text);
  }
  return found;
}

TEST(FailureKindsTest, EachKindIsCountedAndListedOnItsOwn) {
  RequestResult result;
  result.outcome = RequestResult::Outcome::kConvertedWithFailures;
  PassReport& report = result.report;
  report.recursive = true;
  report.files_rewritten = 1;
  report.folder_failures = {{"Gesperrt", "Verzeichnis [Gesperrt] kann nicht gelesen werden (Zugriff verweigert)"}};
  report.target_folder_failures = {
      {"Formulare", "Zielverzeichnis [Formulare] kann nicht angelegt werden (existiert bereits)"},
      {"Module", "Zielverzeichnis [Module] kann nicht angelegt werden (Dateisystem ist schreibgeschützt)"}};
  report.failures = {{"Formulare/Form1.frm", "Zielverzeichnis [Formulare] konnte nicht angelegt werden"},
                     {"Formulare/Form1.frx", "Zielverzeichnis [Formulare] konnte nicht angelegt werden"},
                     {"Module/M.bas", "Zielverzeichnis [Module] konnte nicht angelegt werden"}};

  JsonValue json;
  std::string error;
  const std::string document = cli::JsonReport(result, {"q", "z", true, false, false});
  ASSERT_TRUE(ParseJson(document, &json, &error)) << error << "\n" << document;
  EXPECT_EQ(json["files"]["failed"].number, 3) << "the files only";
  EXPECT_EQ(json["folders"]["unreadable"].number, 1);
  EXPECT_EQ(json["folders"]["not_made"].number, 2);
  EXPECT_EQ(JsonFailures(json),
            (std::vector<std::string>{
                "source_folder Gesperrt: Verzeichnis [Gesperrt] kann nicht gelesen werden (Zugriff verweigert)",
                "target_folder Formulare: Zielverzeichnis [Formulare] kann nicht angelegt werden (existiert bereits)",
                "target_folder Module: Zielverzeichnis [Module] kann nicht angelegt werden (Dateisystem ist "
                "schreibgeschützt)",
                "file Formulare/Form1.frm: Zielverzeichnis [Formulare] konnte nicht angelegt werden",
                "file Formulare/Form1.frx: Zielverzeichnis [Formulare] konnte nicht angelegt werden",
                "file Module/M.bas: Zielverzeichnis [Module] konnte nicht angelegt werden"}));

  const std::string summary = cli::Summary(report, "q", "z", false);
  EXPECT_TRUE(HasItem(summary, "Dateien nicht übertragen", "3")) << summary;
  EXPECT_TRUE(HasItem(summary, "Verzeichnisse nicht lesbar", "1")) << summary;
  EXPECT_TRUE(HasItem(summary, "Zielverzeichnisse nicht angelegt", "2")) << summary;

  const std::vector<std::string> lines = FailureLines(report);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], report.folder_failures[0].reason);
  EXPECT_EQ(lines[1], report.target_folder_failures[0].reason);
  EXPECT_EQ(lines[2], report.target_folder_failures[1].reason);
}

#ifndef _WIN32  // a dangling link in the target, as a POSIX system shows it
// The whole tool: a target subfolder that cannot be made, because a dangling link of that name
// stands in the target (which the check for files lets pass).
TEST(FailureKindsTest, TheToolNamesATargetFolderThatCannotBeMadeAndFailsItsFiles) {
  TempFolder temp;
  temp.WriteFile("quelle/Projekt1.vbp", "Type=Exe\r\n");
  temp.WriteFile("quelle/Formulare/Form1.frm", "Begin ComctlLib.Toolbar\r\n");
  temp.WriteFile("quelle/Formulare/Tief/Modul.bas", "x\r\n");
  temp.MakeFolder("ziel");
  MakeLink("nirgends", temp.path() / "ziel/Formulare");

  const ToolRun json_run = RunTool({"-r", "--json", "quelle", "ziel"}, temp.path());
  EXPECT_EQ(json_run.exit_code, 1) << json_run.err;
  JsonValue json;
  std::string error;
  ASSERT_TRUE(ParseJson(json_run.out, &json, &error)) << error << "\n" << json_run.out;
  EXPECT_EQ(json["files"]["rewritten"].number, 1);
  EXPECT_EQ(json["files"]["failed"].number, 2);
  EXPECT_EQ(json["folders"]["not_made"].number, 1);
  EXPECT_EQ(json["folders"]["unreadable"].number, 0);
  EXPECT_EQ(JsonFailures(json),
            (std::vector<std::string>{
                "target_folder Formulare: Zielverzeichnis [Formulare] kann nicht angelegt werden (existiert bereits)",
                "file Formulare/Form1.frm: Zielverzeichnis [Formulare] konnte nicht angelegt werden",
                "file Formulare/Tief/Modul.bas: Zielverzeichnis [Formulare] konnte nicht angelegt werden"}));
  EXPECT_FALSE(std::filesystem::exists(temp.path() / "nirgends")) << "the link is never followed";

  std::filesystem::remove_all(temp.path() / "ziel/Projekt1.vbp");
  const ToolRun run = RunTool({"-r", "quelle", "ziel"}, temp.path());
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_TRUE(HasItem(run.out, "Zielverzeichnisse nicht angelegt", "1")) << run.out;
  EXPECT_TRUE(HasItem(run.out, "Dateien nicht übertragen", "2")) << run.out;
  EXPECT_NE(run.err.find("Zielverzeichnis [Formulare] kann nicht angelegt werden (existiert bereits)"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("Formulare/Tief/Modul.bas: Zielverzeichnis [Formulare] konnte nicht angelegt werden"),
            std::string::npos)
      << run.err;
}
#endif

}  // namespace
}  // namespace tavrin::testing
