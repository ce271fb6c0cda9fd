// The texts of a report, in process: the JSON document, the summary's hints and the failure
// message, each at the limits of its escaping and of its lists.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cli/json_report.h"
#include "cli/summary.h"
#include "conversion/conversion_request.h"
#include "runtime/path_text.h"
#include "runtime/shown_text.h"
#include "tests/support/json_value.h"

namespace tavrin::cli {
namespace {

using testing::JsonValue;
using testing::ParseJson;

JsonValue Parsed(const std::string& document) {
  JsonValue json;
  std::string error;
  EXPECT_TRUE(ParseJson(document, &json, &error)) << error << "\n" << document;
  return json;
}

// A character as UTF-8.
std::string Utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::string Hex(const std::string& bytes) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) out += std::string("\\x") + kDigits[b >> 4] + kDigits[b & 0xF];
  return out;
}

// Every byte below 0x20 and every mark that turns the direction of text (up to U+2069) comes
// out of the JSON document as the escape the summary shows, never as itself; the first
// character beyond each range stays as it is.
TEST(JsonReportTest, EveryControlCharacterAndDirectionMarkIsEscapedAsInTheSummary) {
  struct Case {
    std::string character;
    std::string shown;  // as the decoded JSON string must hold it
  };
  std::vector<Case> cases;
  for (int c = 0; c < 0x20; ++c) {
    const std::string byte(1, static_cast<char>(c));
    cases.push_back({byte, c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : Hex(byte)});
  }
  cases.push_back({" ", " "});
  cases.push_back({"\x7f", "\\x7F"});
  for (char32_t c : {0x200Eu, 0x200Fu, 0x2028u, 0x2029u, 0x202Au, 0x202Bu, 0x202Cu, 0x202Du, 0x202Eu, 0x2066u,
                     0x2067u, 0x2068u, 0x2069u}) {
    cases.push_back({Utf8(c), Hex(Utf8(c))});
  }
  for (char32_t c : {0x200Du, 0x2027u, 0x202Fu, 0x2065u, 0x206Au}) cases.push_back({Utf8(c), Utf8(c)});

  RequestResult result;
  for (const Case& c : cases) {
    const std::string name = "a" + c.character + "b.frm";
    result.report.failures.push_back({PathFromText(name), "Grund " + c.character});
    result.hints.push_back({kHintVb5ClassId, PathFromText(name).native(), 1, "Text " + c.character,
                            "Meldung " + c.character});
  }
  const JsonValue json = Parsed(JsonReport(result, {}));
  ASSERT_EQ(json["failures"].items.size(), cases.size());
  ASSERT_EQ(json["hints"].items.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE("character " + Hex(cases[i].character));
    EXPECT_EQ(json["failures"][i]["file"].text, "a" + cases[i].shown + "b.frm");
    EXPECT_EQ(json["failures"][i]["reason"].text, "Grund " + cases[i].shown);
    EXPECT_EQ(json["hints"][i]["file"].text, "a" + cases[i].shown + "b.frm");
    EXPECT_EQ(json["hints"][i]["text"].text, "Text " + cases[i].shown);
    EXPECT_EQ(json["hints"][i]["message"].text, "Meldung " + cases[i].shown);
  }
}

// Every flag of the request is written as it was given, each on its own.
TEST(JsonReportTest, TheFlagsReadBackAsGiven) {
  for (int bits = 0; bits < 8; ++bits) {
    JsonContext context;
    context.recursive = (bits & 1) != 0;
    context.complete = (bits & 2) != 0;
    context.dry_run = (bits & 4) != 0;
    const JsonValue json = Parsed(JsonReport({}, context));
    SCOPED_TRACE(bits);
    EXPECT_EQ(json["recursive"].kind, JsonValue::Kind::kBool);
    EXPECT_EQ(json["complete"].kind, JsonValue::Kind::kBool);
    EXPECT_EQ(json["dry_run"].kind, JsonValue::Kind::kBool);
    EXPECT_EQ(json["recursive"].boolean, context.recursive);
    EXPECT_EQ(json["complete"].boolean, context.complete);
    EXPECT_EQ(json["dry_run"].boolean, context.dry_run);
  }
}

// Names that differ must come out different in every text that names them: a byte that is not
// UTF-8 and the text of its escape, a line break and the text "\n", one backslash and two.
// POSIX names only: on Windows a backslash separates folders and a name holds neither a line
// break nor bytes that are not UTF-16, so none of these pairs are two names there.
#ifndef _WIN32
TEST(ReportTextsTest, NamesThatDifferNeverLookAlike) {
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"\xfc.frm", "\\xFC.frm"},
      {"a\n.frm", "a\\n.frm"},
      {"\xe2\x80\xae.frm", "\\xE2\\x80\\xAE.frm"},
      {"b\\.frm", "b\\\\.frm"},
      {"\\x41.frm", "A.frm"},
  };
  RequestResult result;
  for (const auto& [first, second] : pairs) {
    for (const std::string& name : {first, second}) {
      result.report.failures.push_back({PathFromText(name), "Quelldatei kann nicht gelesen werden"});
      result.hints.push_back({kHintMissingProjectFile, PathFromText("P.vbp").native(), 1, "Form=" + name,
                              "„" + name + "“ fehlt im Zielverzeichnis."});
    }
  }
  const std::size_t count = result.report.failures.size();

  const JsonValue json = Parsed(JsonReport(result, {}));
  std::set<std::string> files;
  std::set<std::string> texts;
  std::set<std::string> messages;
  for (const JsonValue& failure : json["failures"].items) files.insert(failure["file"].text);
  for (const JsonValue& hint : json["hints"].items) {
    texts.insert(hint["text"].text);
    messages.insert(hint["message"].text);
  }
  EXPECT_EQ(files.size(), count) << "JSON file names";
  EXPECT_EQ(texts.size(), count) << "JSON hint texts";
  EXPECT_EQ(messages.size(), count) << "JSON hint messages";

  const std::vector<std::string> lines = FailureLines(result.report);
  const std::set<std::string> failure_lines(lines.begin(), lines.end());
  EXPECT_EQ(failure_lines.size(), count) << "failure lines";
  const std::string hints = HintsSection(result.hints, SIZE_MAX);
  std::set<std::string> hint_lines;
  for (std::size_t start = 0, end; (end = hints.find('\n', start)) != std::string::npos; start = end + 1) {
    if (hints.compare(start, 3, "  [") == 0) hint_lines.insert(hints.substr(start, end - start));
  }
  EXPECT_EQ(hint_lines.size(), count) << hints;
  std::set<std::string> dry_run_lines;
  for (const FileFailure& failure : result.report.failures) {
    dry_run_lines.insert(DryRunLine({failure.name.native(), false, 0, false}));
  }
  EXPECT_EQ(dry_run_lines.size(), count) << "dry run lines";
  // The window's box of missing project files.
  const std::string box = MissingFilesMessage(result.hints, SIZE_MAX);
  std::set<std::string> box_lines;
  for (std::size_t start = box.find("\r\n"); start != std::string::npos;) {
    const std::size_t end = box.find("\r\n", start + 2);
    const std::string line = box.substr(start + 2, end == std::string::npos ? std::string::npos : end - start - 2);
    if (line.starts_with("P.vbp, ")) box_lines.insert(line);  // the entries, not the headings of kinds
    start = end;
  }
  EXPECT_EQ(box_lines.size(), count) << box;
}
#endif

// The failure message names 40 files; from the 41st on it says how many more there are.
TEST(ReportTextsTest, TheFailureMessageNamesFortyAndCountsTheRest) {
  for (const std::size_t failures : {std::size_t{39}, std::size_t{40}, std::size_t{41}, std::size_t{42}}) {
    SCOPED_TRACE(std::to_string(failures) + " failures");
    PassReport report;
    for (std::size_t i = 0; i < failures; ++i) report.failures.push_back({"F" + std::to_string(i) + ".frm", "x"});
    std::string expected(kFailureHeading);
    for (std::size_t i = 0; i < std::min<std::size_t>(failures, 40); ++i) expected += "\r\nF" + std::to_string(i) + ".frm: x";
    if (failures == 41) expected += "\r\n(und 1 weitere Datei)";
    if (failures == 42) expected += "\r\n(und 2 weitere Dateien)";
    EXPECT_EQ(FailureMessage(report), expected);
  }
}

// So do the hints of each kind in the summary.
TEST(ReportTextsTest, TheHintsNameFortyOfEachKindAndCountTheRest) {
  for (const std::size_t count : {std::size_t{40}, std::size_t{41}}) {
    SCOPED_TRACE(std::to_string(count) + " hints");
    std::vector<Hint> hints;
    for (std::size_t i = 0; i < count; ++i) {
      hints.push_back({kHintMissingProjectFile, PathFromText("P.vbp").native(), i + 1, "x", "m" + std::to_string(i)});
    }
    const std::string text = HintsSection(hints, 40);
    std::size_t named = 0;
    for (std::size_t at = 0; (at = text.find("  [missing-project-file] P.vbp, Zeile ", at)) != std::string::npos; ++at) {
      ++named;
    }
    EXPECT_EQ(named, 40u);
    EXPECT_NE(text.find(", Zeile 40: m39\n"), std::string::npos);
    EXPECT_EQ(text.find(", Zeile 41: "), std::string::npos);
    const std::string more = "  [missing-project-file] (und 1 weitere)\n";
    EXPECT_EQ(text.find(more) != std::string::npos, count == 41) << text;
    EXPECT_EQ(text.find("weitere") != std::string::npos, count == 41) << text;
  }
}

}  // namespace
}  // namespace tavrin::cli
