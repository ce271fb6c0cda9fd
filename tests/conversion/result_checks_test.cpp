// The checks of a converted result, on small project folders like real ones.
#include "conversion/result_checks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "conversion/conversion_request.h"
#include "conversion/folder_path.h"
#include "runtime/code_page_text.h"
#include "runtime/letter_case.h"
#include "runtime/path_text.h"
#include "tests/support/faulty_file_services.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;
using testing::RecordingHost;
using testing::TempFolder;

// A hint as a test expects it: kind, file, line, and a piece of its message.
struct Expected {
  std::string_view kind;
  std::string file;
  std::uint64_t line;
  std::string message_piece;
};

class ResultChecksTest : public ::testing::Test {
 protected:
  RequestResult Convert(RequestOptions options, FileServices& files = DiskFileServices()) {
    fs::remove_all(root_.path() / "Ziel");
    host_.source = FolderPath(root_.path() / "Quelle");
    host_.target = FolderPath(root_.path() / "Ziel");
    host_.record_lines = false;
    host_.events.clear();
    options.make_missing_target = true;
    ConversionRequest request(host_, files, options);
    return request.Tavrin();
  }

  static void ExpectHints(const std::vector<Hint>& hints, const std::vector<Expected>& expected) {
    ASSERT_EQ(hints.size(), expected.size());
    for (std::size_t i = 0; i < hints.size(); ++i) {
      SCOPED_TRACE(hints[i].message);
      EXPECT_EQ(hints[i].kind, expected[i].kind);
      EXPECT_EQ(fs::path(hints[i].file).generic_string(), expected[i].file);
      EXPECT_EQ(hints[i].line, expected[i].line);
      EXPECT_NE(hints[i].message.find(expected[i].message_piece), std::string::npos);
    }
  }

  TempFolder root_;
  RecordingHost host_;
};

TEST_F(ResultChecksTest, EntriesThatNameFilesTheTargetLacksSayWhereTheyAre) {
  // A project whose forms and classes lie in subfolders, a module beside it, entries in other
  // letter case, one that names nothing, one absolute, one outside the folder.
  root_.WriteFile("Quelle/Projekt1.vbp",
                  "Type=Exe\r\n"
                  "Form=Formulare\\frmHaupt.frm\r\n"
                  "Module=modStart; modStart.bas\r\n"
                  "Class=CKunde; KLASSEN\\ckunde.CLS\r\n"
                  "Form=fehlt.frm\r\n"
                  "Form=C:\\Projekte\\Alt\\frmAlt.frm\r\n"
                  "Module=modGemein; ..\\Gemeinsam\\modGemein.bas\r\n"
                  "ResFile32=\"Projekt1.res\"\r\n"
                  "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n");
  root_.WriteFile("Quelle/modStart.bas", "x\r\n");
  root_.WriteFile("Quelle/Projekt1.res", "res");
  root_.WriteFile("Quelle/Formulare/frmHaupt.frm", "x\r\n");
  root_.WriteFile("Quelle/Klassen/CKunde.cls", "x\r\n");
  root_.WriteFile("Gemeinsam/modGemein.bas", "x\r\n");

  const RequestResult alone = Convert({});
  ExpectHints(alone.hints, {
                               {kHintMissingProjectFile, "Projekt1.vbp", 2, "Unterverzeichnis „Formulare“"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 4, "Mit --recursive umstellen"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 5, "fehlt auch im Quellverzeichnis"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 6, "absolut"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 7, "außerhalb des Quellverzeichnisses"},
                           });
  // The window's box names them, after the pass, with the command for what the window cannot do.
  const auto boxes = host_.EventsStartingWith("MessageBox 64 Konvertierungshinweise: Nach der Konvertierung");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("\r\n\r\nFehlende Projektdateien: 5\r\nProjekt1.vbp, Zeile 2: „Formulare\\frmHaupt.frm“ fehlt"),
            std::string::npos)
      << boxes[0];
  EXPECT_NE(boxes[0].find("Mit „tavrin-convert --recursive QUELLE ZIEL“ umstellen."), std::string::npos) << boxes[0];
  EXPECT_EQ(boxes[0].find("Mit --recursive"), std::string::npos) << boxes[0];

  const RequestResult tree = Convert({.recursive = true});
  ExpectHints(tree.hints, {
                              {kHintMissingProjectFile, "Projekt1.vbp", 5, "fehlt auch im Quellverzeichnis"},
                              {kHintMissingProjectFile, "Projekt1.vbp", 6, "absolut"},
                              {kHintMissingProjectFile, "Projekt1.vbp", 7, "außerhalb"},
                          });
}

TEST_F(ResultChecksTest, AGroupNamesItsProjectsAndAFailedFileIsNamedAsSuch) {
  root_.WriteFile("Quelle/Gruppe.vbg", "VBGROUP 5.0\nStartupProject=Client\\Client.vbp\nProject=Server\\Server.vbp\n");
  root_.WriteFile("Quelle/Client/Client.vbp", "Form=frmClient.frm\n");
  root_.WriteFile("Quelle/Client/frmClient.frm", "x\n");
  root_.WriteFile("Quelle/Server/Server.vbp", "Form=frmServer.frm\n");
  root_.WriteFile("Quelle/Server/frmServer.frm", "x\n");
  testing::FaultyFileServices files;
  files.FailOpenInput("frmServer.frm", EIO);

  const RequestResult result = Convert({.recursive = true}, files);

  EXPECT_EQ(result.outcome, RequestResult::Outcome::kConvertedWithFailures);
  ExpectHints(result.hints, {
                                {kHintMissingProjectFile, "Server/Server.vbp", 1, "wurde aber nicht übertragen"},
                                {kHintLineEnds, "", 0, "4 umgeschriebene Dateien"},
                            });
  EXPECT_EQ(result.hints[1].count, 4u) << "the files it lists";
  // The failure box comes first, then the hints.
  const auto boxes = host_.EventsStartingWith("MessageBox");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].find("Konvertierungsfehler"), std::string::npos);
  EXPECT_NE(boxes[1].find("Konvertierungshinweise"), std::string::npos);
}

TEST_F(ResultChecksTest, ClassIdsLeftStandingAndReplacedControlsAreCountedWithTheirLines) {
  root_.WriteFile("Quelle/Projekt1.vbp",
                  "Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX\r\n"
                  "Object={02B5E320-7292-11CF-93D5-0020AF99504A}#1.0#0; MSCHART.OCX\r\n"
                  "Object={00028C01-0000-0000-0000-000000000046}#1.0#0; DBGRID32.OCX\r\n"
                  "Form=Form1.frm\r\n");
  root_.WriteFile("Quelle/Form1.frm",
                  "Begin MSChartLib.MSChart Diagramm1\r\n"
                  "Begin ComctlLib.ListView lv\r\n"
                  "   BeginProperty ColumnHeader(1) {0713E8C7-850A-101B-AFC0-4210102A8DA7} \r\n"
                  "   EndProperty\r\n"
                  "   BeginProperty ColumnHeader(2) {0713E8C7-850A-101B-AFC0-4210102A8DA7} \r\n"
                  "   BeginProperty Panels {0713E89E-850A-101B-AFC0-4210102A8DA7} {0713E89F-850A-101B-AFC0-4210102A8DA7}\r\n"
                  "   BeginProperty Panel1 {0713E89F-850A-101B-AFC0-4210102A8DA7}\r\n"
                  "   BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851}\r\n");

  const RequestResult plain = Convert({});
  ExpectHints(plain.hints, {
                               {kHintVb5ClassId, "Form1.frm", 3, "4 Zeilen mit Klassen-IDs der VB5-Steuerelemente (Zeilen 3, 5, 6 …): mit --complete"},
                               {kHintReplacedControl, "Projekt1.vbp", 2, "MSCHRT20.OCX"},
                               {kHintReplacedControl, "Projekt1.vbp", 3, "DBGRID32.OCX wird von keinem Formular"},
                           });
  EXPECT_EQ(plain.hints[0].text, "{0713E8C7-850A-101B-AFC0-4210102A8DA7}");
  EXPECT_EQ(plain.hints[0].count, 4u) << "the lines it lists";

  const RequestResult complete = Convert({.complete = true});
  ExpectHints(complete.hints, {
                                  {kHintReplacedControl, "Projekt1.vbp", 2, "MSChart20Lib."},
                                  {kHintReplacedControl, "Projekt1.vbp", 3, "einfach entfernen"},
                              });
  // Every kind is shown in the window, summed up; an option of the command line with its command.
  const auto boxes = host_.EventsStartingWith("MessageBox 64 Konvertierungshinweise: ");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("\r\n\r\nErsetzte Steuerelemente: 2\r\nProjekt1.vbp, Zeile 2: "), std::string::npos)
      << boxes[0];
  Convert({});
  const auto plain_boxes = host_.EventsStartingWith("MessageBox 64 Konvertierungshinweise: ");
  ASSERT_EQ(plain_boxes.size(), 1u);
  EXPECT_NE(plain_boxes[0].find("\r\n\r\nKlassen-IDs der VB5-Steuerelemente: 4\r\nForm1.frm, Zeile 3: 4 Zeilen"),
            std::string::npos)
      << plain_boxes[0];
  EXPECT_NE(plain_boxes[0].find("mit „tavrin-convert --complete QUELLE ZIEL“ umstellen."), std::string::npos)
      << plain_boxes[0];
}

TEST_F(ResultChecksTest, EntriesInTheCodePageOfTheProjectNameTheFilesOnTheDisk) {
  // Visual Basic wrote the entries in the code page of its machine; the files came over with
  // names in UTF-8 (and in any letter case, as Windows takes them). "表" in Shift-JIS ends in a
  // "\" byte, so an entry is read as a whole before it is split into folders.
  root_.WriteFile("Quelle/Projekt1.vbp",
                  "Form=\xDC" "bersicht.frm\r\n"                       // Windows-1252 "Übersicht", file "übersicht"
                  "Module=modStra\xDF" "e; modStra\xDF" "e.bas\r\n"    // Windows-1252 "ß"
                  "Class=\xCA\xEB\xE8\xE5\xED\xF2.cls\r\n"            // Windows-1251 "Клиент", file "КЛИЕНТ"
                  "Form=\x95\x5C\\\x88\xea\x97\x97.frm\r\n"           // Shift-JIS "表\一覧" in a subfolder
                  "Form=\xDC" "bersicht2.frm\r\n"                      // a file that is not there
                  "Form=\x81\r\n");                                    // an odd byte: no file in any reading
  root_.WriteFile(PathFromText("Quelle/übersicht.frm"), "x\r\n");
  root_.WriteFile(PathFromText("Quelle/modStraße.bas"), "x\r\n");
  root_.WriteFile(PathFromText("Quelle/КЛИЕНТ.cls"), "x\r\n");
  root_.WriteFile(PathFromText("Quelle/表/一覧.frm"), "x\r\n");

  const RequestResult alone = Convert({});
  ExpectHints(alone.hints, {
                               {kHintMissingProjectFile, "Projekt1.vbp", 4, "Unterverzeichnis „表“"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 5, "fehlt auch im Quellverzeichnis"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 6, "fehlt auch im Quellverzeichnis"},
                           });
  const RequestResult tree = Convert({.recursive = true});
  ExpectHints(tree.hints, {
                              {kHintMissingProjectFile, "Projekt1.vbp", 5, "fehlt auch im Quellverzeichnis"},
                              {kHintMissingProjectFile, "Projekt1.vbp", 6, "fehlt auch im Quellverzeichnis"},
                          });
}

// Reading a code page refuses what is no text of it, rather than passing on a part.
TEST(CodePageText, ReadsWholeCharactersOnly) {
  struct Case {
    std::string bytes;
    CodePage page;
    std::optional<std::string> text;
  };
  const std::vector<Case> cases = {
      {"\xC4rger", CodePage::kWestern, "Ärger"},
      {"\xCF\xF0\xE8\xEC\xE5\xF0", CodePage::kCyrillic, "Пример"},
      {"\x95\x5C\x83\x5C", CodePage::kJapanese, "表ソ"},
      {"abc\x95", CodePage::kJapanese, std::nullopt},  // a lead byte at the end
      {"1\x80", CodePage::kWestern, "1€"},  // the Windows page, not Latin-1
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8FromCodePage(c.bytes, c.page), c.text) << c.bytes;
}

TEST(LetterCase, FoldsTheLettersWindowsTakesForOne) {
  EXPECT_EQ(FoldLetterCase("ÄÖÜ ÀÞ Ÿ Ő Ł Ž ΆΣ Ё ЯЖ ＡＺ"), FoldLetterCase("äöü àþ ÿ ő ł ž άσ ё яж ａｚ"));
  EXPECT_EQ(FoldLetterCase("ÄÖÜ×Я"), "äöü×я");
  EXPECT_EQ(FoldLetterCase("\xC4\xDC" "AB\xC3"), "\xC4\xDC" "ab\xC3") << "bytes of no UTF-8 stay";
  EXPECT_NE(FoldLetterCase("ß"), FoldLetterCase("ss"));
}

}  // namespace
}  // namespace tavrin
