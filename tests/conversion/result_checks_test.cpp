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
#include "runtime/shown_text.h"
#include "tests/support/faulty_file_services.h"
#include "tests/support/platform_entries.h"
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
                  "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
                  "Module=modFehlt; ..\\Gemeinsam\\modFehlt.bas\r\n"       // outside, and not there
                  "Form=..\\..\\Nirgends\\frmNie.frm\r\n"                  // two levels up, no such folder
                  "Module=modGemein2; ..\\GEMEINSAM\\Unter\\..\\MODGEMEIN.BAS\r\n");  // there, in other case
  root_.WriteFile("Quelle/modStart.bas", "x\r\n");
  root_.WriteFile("Quelle/Projekt1.res", "res");
  root_.WriteFile("Quelle/Formulare/frmHaupt.frm", "x\r\n");
  root_.WriteFile("Quelle/Klassen/CKunde.cls", "x\r\n");
  root_.WriteFile("Gemeinsam/modGemein.bas", "x\r\n");

  const RequestResult alone = Convert({});
  ExpectHints(alone.hints, {
                               {kHintMissingProjectFile, "Projekt1.vbp", 2, "Unterverzeichnis „Formulare“"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 4, "Mit --recursive konvertieren"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 5, "fehlt auch im Quellverzeichnis"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 6, "absolut"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 7, "außerhalb des Quellverzeichnisses"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 10, "auch dort fehlt die Datei"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 11, "auch dort fehlt die Datei"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 12, "gemeinsames übergeordnetes Verzeichnis"},
                           });
  EXPECT_EQ(alone.hints[4].message.find("fehlt"), alone.hints[4].message.find("fehlt im Zielverzeichnis"))
      << "a file that is there is not called missing";
  // The window's box names them, after the pass, with the command for what the window cannot do.
  const auto boxes = host_.EventsStartingWith("MessageBox 64 Konvertierungshinweise: Nach der Konvertierung");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("\r\n\r\nFehlende Projektdateien: 8\r\nProjekt1.vbp, Zeile 2: „Formulare" + ShownText("\\") +
                             "frmHaupt.frm“ fehlt"),
            std::string::npos)
      << boxes[0];
  EXPECT_NE(boxes[0].find("Mit „tavrin-convert --recursive QUELLE ZIEL“ konvertieren."), std::string::npos) << boxes[0];
  EXPECT_EQ(boxes[0].find("Mit --recursive"), std::string::npos) << boxes[0];

  // A dry run says what would happen.
  const RequestResult dry = Convert({.dry_run = true});
  ExpectHints(dry.hints, {
                             {kHintMissingProjectFile, "Projekt1.vbp", 2, "„Formulare\\frmHaupt.frm“ würde im Zielverzeichnis fehlen: Die Datei liegt im Unterverzeichnis „Formulare“ des Quellverzeichnisses, das nicht konvertiert würde."},
                             {kHintMissingProjectFile, "Projekt1.vbp", 4, "Mit --recursive konvertieren"},
                             {kHintMissingProjectFile, "Projekt1.vbp", 5, "würde im Zielverzeichnis fehlen: Die Datei fehlt auch im Quellverzeichnis"},
                             {kHintMissingProjectFile, "Projekt1.vbp", 6, "absolut"},
                             {kHintMissingProjectFile, "Projekt1.vbp", 7, "außerhalb des Quellverzeichnisses"},
                             {kHintMissingProjectFile, "Projekt1.vbp", 10, "auch dort fehlt die Datei"},
                             {kHintMissingProjectFile, "Projekt1.vbp", 11, "auch dort fehlt die Datei"},
                             {kHintMissingProjectFile, "Projekt1.vbp", 12, "gemeinsames übergeordnetes Verzeichnis"},
                         });
  for (const Hint& hint : dry.hints) EXPECT_EQ(hint.message.find("fehlt im Zielverzeichnis"), std::string::npos);

  const RequestResult tree = Convert({.recursive = true});
  ExpectHints(tree.hints, {
                              {kHintMissingProjectFile, "Projekt1.vbp", 5, "fehlt auch im Quellverzeichnis"},
                              {kHintMissingProjectFile, "Projekt1.vbp", 6, "absolut"},
                              {kHintMissingProjectFile, "Projekt1.vbp", 7, "außerhalb"},
                              {kHintMissingProjectFile, "Projekt1.vbp", 10, "auch dort fehlt"},
                              {kHintMissingProjectFile, "Projekt1.vbp", 11, "auch dort fehlt"},
                              {kHintMissingProjectFile, "Projekt1.vbp", 12, "außerhalb"},
                          });
}

// A file behind a folder that a conversion passes over is not "missing in the source too": the
// hint says which folder was passed over and why. Of two folders whose names differ only in
// letter case, the one spelled as the entry spells it is looked into first.
TEST_F(ResultChecksTest, AFileBehindAFolderPassedOverIsNotCalledMissing) {
  root_.WriteFile("Quelle/Projekt1.vbp",
                  "Type=Exe\r\n"
                  "Form=.hid\\h.frm\r\n"
                  "Form=lnk\\l.frm\r\n"
                  "Form=Gesperrt\\g.frm\r\n"
                  "Form=Leer\\x.frm\r\n"
                  "Form=Ungelistet\\u.frm\r\n"
                  "Form=Sub\\s.frm\r\n"
                  "Form=sub\\t.frm\r\n"
                  "Form=SUB\\s.frm\r\n"
                  "Form=fehlt.frm\r\n");
  testing::Hide(root_.WriteFile("Quelle/.hid/h.frm", "x\r\n").parent_path());
  root_.WriteFile("Anderswo/l.frm", "x\r\n");
  testing::MakeLink(root_.path() / "Anderswo", root_.path() / "Quelle" / "lnk", /*folder=*/true);
  root_.WriteFile("Quelle/Gesperrt/g.frm", "x\r\n");
  root_.WriteFile("Quelle/Ungelistet/u.frm", "x\r\n");
  root_.MakeFolder("Quelle/Leer");
  const bool two_spellings = !testing::kNamesIgnoreCase;
  if (two_spellings) {
    root_.WriteFile("Quelle/Sub/s.frm", "x\r\n");
    root_.WriteFile("Quelle/sub/t.frm", "x\r\n");
  } else {
    root_.WriteFile("Quelle/Sub/s.frm", "x\r\n");
    root_.WriteFile("Quelle/Sub/t.frm", "x\r\n");
  }
  testing::FaultyFileServices files;
  files.FailOpenFolder("Gesperrt", EACCES);
  files.FailList("Ungelistet", EIO);

  for (const bool recursive : {false, true}) {
    SCOPED_TRACE(recursive ? "tree" : "top folder");
    const RequestResult result = Convert({.recursive = recursive}, files);
    std::vector<Expected> expected = {
        {kHintMissingProjectFile, "Projekt1.vbp", 2,
         "Die Datei liegt im versteckten Verzeichnis „.hid“ des Quellverzeichnisses; versteckte Verzeichnisse "
         "werden nicht übertragen."},
    };
    if (testing::LinksAreSeenAsLinks()) {
      expected.push_back({kHintMissingProjectFile, "Projekt1.vbp", 3,
                          "Die Datei liegt hinter „lnk“, einer symbolischen Verknüpfung auf ein Verzeichnis des Quellverzeichnisses; "
                          "symbolische Verknüpfungen werden nicht verfolgt."});
    }
    expected.push_back({kHintMissingProjectFile, "Projekt1.vbp", 4,
                        "Das Verzeichnis „Gesperrt“ des Quellverzeichnisses kann nicht gelesen werden (Zugriff verweigert)."});
    expected.push_back({kHintMissingProjectFile, "Projekt1.vbp", 5, "Die Datei fehlt auch im Quellverzeichnis."});
    expected.push_back({kHintMissingProjectFile, "Projekt1.vbp", 6,
                        "Das Verzeichnis „Ungelistet“ des Quellverzeichnisses kann nicht gelesen werden (Ein-/Ausgabefehler)."});
    if (!recursive) {
      for (const std::uint64_t line : {7, 8, 9}) {
        const std::string folder = line == 8 && two_spellings ? "sub" : "Sub";
        expected.push_back({kHintMissingProjectFile, "Projekt1.vbp", line,
                            "Die Datei liegt im Unterverzeichnis „" + folder + "“ des Quellverzeichnisses, das nicht "
                            "konvertiert wurde. Mit --recursive konvertieren."});
      }
    }
    expected.push_back({kHintMissingProjectFile, "Projekt1.vbp", 10, "Die Datei fehlt auch im Quellverzeichnis."});
    std::vector<Hint> missing;
    for (const Hint& hint : result.hints) {
      // Under Wine a link is seen as the folder it leads to: nothing to tell of it then.
      if (hint.line == 3 && !testing::LinksAreSeenAsLinks()) continue;
      if (hint.kind == kHintMissingProjectFile) missing.push_back(hint);
    }
    ExpectHints(missing, expected);
  }
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
  const RequestResult dry = Convert({.recursive = true, .dry_run = true}, files);
  ExpectHints(dry.hints, {
                             {kHintMissingProjectFile, "Server/Server.vbp", 1, "würde aber nicht übertragen"},
                             {kHintLineEnds, "", 0, "4 umzuschreibende Dateien haben andere Zeilenenden als CR LF; sie enden nach der Konvertierung auf CR LF."},
                         });
  EXPECT_EQ(dry.hints[1].count, 4u);
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
  EXPECT_NE(plain_boxes[0].find("mit „tavrin-convert --complete QUELLE ZIEL“ konvertieren."), std::string::npos)
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
                  "Form=\x81\r\n"                                      // an odd byte: no file in any reading
                  "Form=Formulare\\\xDC" "bersicht.frm\r\n"             // Windows-1252, in a subfolder
                  "Module=..\\Gemeinsam\\\xDC" "bersetzen.bas\r\n");   // Windows-1252, outside
  root_.WriteFile(PathFromText("Quelle/übersicht.frm"), "x\r\n");
  root_.WriteFile(PathFromText("Quelle/modStraße.bas"), "x\r\n");
  root_.WriteFile(PathFromText("Quelle/КЛИЕНТ.cls"), "x\r\n");
  root_.WriteFile(PathFromText("Quelle/表/一覧.frm"), "x\r\n");
  root_.WriteFile(PathFromText("Quelle/Formulare/Übersicht.frm"), "x\r\n");
  root_.WriteFile(PathFromText("Gemeinsam/Übersetzen.bas"), "x\r\n");

  const RequestResult alone = Convert({});
  ExpectHints(alone.hints, {
                               {kHintMissingProjectFile, "Projekt1.vbp", 4, "Unterverzeichnis „表“"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 5, "fehlt auch im Quellverzeichnis"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 6, "fehlt auch im Quellverzeichnis"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 7, "Unterverzeichnis „Formulare“"},
                               {kHintMissingProjectFile, "Projekt1.vbp", 8, "außerhalb des Quellverzeichnisses"},
                           });
  // An entry found through a reading is shown in it; bytes no reading explains stay bytes.
  const std::vector<std::pair<std::size_t, std::string>> shown = {
      {0, "„表\\一覧.frm“ fehlt"},
      {1, "„\xDC" "bersicht2.frm“ fehlt"},
      {2, "„\x81“ fehlt"},
      {3, "„Formulare\\Übersicht.frm“ fehlt"},
      {4, "„..\\Gemeinsam\\Übersetzen.bas“ fehlt"},
  };
  for (const auto& [index, start] : shown) EXPECT_EQ(alone.hints[index].message.rfind(start, 0), 0u) << alone.hints[index].message;
  EXPECT_EQ(alone.hints[3].text, "Formulare\\\xDC" "bersicht.frm") << "the entry itself as written";
  const RequestResult tree = Convert({.recursive = true});
  ExpectHints(tree.hints, {
                              {kHintMissingProjectFile, "Projekt1.vbp", 5, "fehlt auch im Quellverzeichnis"},
                              {kHintMissingProjectFile, "Projekt1.vbp", 6, "fehlt auch im Quellverzeichnis"},
                              {kHintMissingProjectFile, "Projekt1.vbp", 8, "außerhalb des Quellverzeichnisses"},
                          });
}

// A project saved by Visual Basic 6 that still names the version 5 libraries as well: after the
// conversion it names each new library twice, at two versions.
TEST_F(ResultChecksTest, AProjectNamingALibraryTwiceGetsAHintAndWithCompleteKeepsTheFirst) {
  const std::string project =
      "Type=Exe\r\n"                                                            // 1
      "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0; MSCOMCTL.OCX\r\n"  // 2
      "Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX\r\n"  // 3: becomes 2.0
      "Object={86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCT2.OCX\r\n"  // 4
      "Object={FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}#1.1#0; COMCT232.OCX\r\n"  // 5: the same as 4
      "Object={831fdd16-0c5c-11d2-a9fc-0000f8754da1}#2.0#0; mscomctl.ocx\r\n"  // 6: in other letter case
      "Object={0ECD9B60-23AA-11D0-B351-00A0C9055D8E}#6.0#0; MSHFLXGD.OCX\r\n"  // 7: another library
      "Form=Form1.frm\r\n"                                                      // 8
      "Form=Fehlt.frm\r\n";                                                     // 9: numbered as in the source
  root_.WriteFile("Quelle/Projekt1.vbp", project);
  root_.WriteFile("Quelle/Form1.frm", "Begin MSComctlLib.ListView lv\r\n");
  const std::string line3 = "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX";
  const std::string line5 = "Object={86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCT2.OCX";
  const std::string line6 = "Object={831fdd16-0c5c-11d2-a9fc-0000f8754da1}#2.0#0; mscomctl.ocx";
  const std::string kept = "Type=Exe\r\n"
                           "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0; MSCOMCTL.OCX\r\n"
                           "Object={86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCT2.OCX\r\n"
                           "Object={0ECD9B60-23AA-11D0-B351-00A0C9055D8E}#6.0#0; MSHFLXGD.OCX\r\n"
                           "Form=Form1.frm\r\nForm=Fehlt.frm\r\n";
  const std::string all = "Type=Exe\r\n"
                          "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0; MSCOMCTL.OCX\r\n" +
                          line3 + "\r\n" + "Object={86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCT2.OCX\r\n" +
                          line5 + "\r\n" + line6 + "\r\n" +
                          "Object={0ECD9B60-23AA-11D0-B351-00A0C9055D8E}#6.0#0; MSHFLXGD.OCX\r\n"
                          "Form=Form1.frm\r\nForm=Fehlt.frm\r\n";

  struct Case {
    const char* what;
    RequestOptions options;
    std::optional<std::string> target;  // nothing in a dry run
    std::uint64_t removed;
    std::string advice;                 // a piece of each duplicate's hint
  };
  const Case cases[] = {
      {"plain", {}, all, 0, "Von Hand eine der beiden entfernen oder mit --complete konvertieren"},
      {"complete", {.complete = true}, kept, 3, " wurde entfernt: „"},
      {"complete, dry run", {.complete = true, .dry_run = true}, std::nullopt, 3, " würde entfernt: „"},
      {"plain, dry run", {.dry_run = true}, std::nullopt, 0, "mit --complete konvertieren"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RequestResult result = Convert(c.options);
    ASSERT_EQ(result.outcome, RequestResult::Outcome::kConverted);
    if (c.target) {
      EXPECT_EQ(testing::ReadFile(root_.path() / "Ziel/Projekt1.vbp"), *c.target);
    } else {
      EXPECT_FALSE(fs::exists(root_.path() / "Ziel"));
    }
    EXPECT_EQ(result.report.lines_removed, c.removed);
    ASSERT_EQ(result.report.transferred.size(), 2u);
    const std::size_t vbp = result.report.transferred[0].relative == PathFromText("Projekt1.vbp").native() ? 0 : 1;
    EXPECT_EQ(result.report.transferred[vbp].lines_removed, c.removed);
    EXPECT_EQ(result.report.transferred[vbp].lines_changed, 2u) << "a line dropped is counted apart";
    ExpectHints(result.hints,
                {
                    {kHintMissingProjectFile, "Projekt1.vbp", 9, "fehlt auch im Quellverzeichnis"},
                    {kHintDuplicateReference, "Projekt1.vbp", 3, "Zeile 2 (Version 2.1) und Zeile 3 (Version 2.0)."},
                    {kHintDuplicateReference, "Projekt1.vbp", 5, "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}: Zeile 4 (Version 2.0) und Zeile 5 (Version 2.0)."},
                    {kHintDuplicateReference, "Projekt1.vbp", 6, "Zeile 2 (Version 2.1) und Zeile 6 (Version 2.0)."},
                });
    const std::string texts[] = {line3, line5, line6};
    for (std::size_t i = 0; i < 3; ++i) {
      const Hint& hint = result.hints[1 + i];
      EXPECT_EQ(hint.text, texts[i]);
      EXPECT_NE(hint.message.find(c.advice), std::string::npos) << hint.message;
      if (c.removed > 0) {
        EXPECT_NE(hint.message.find("Zeile " + std::to_string(hint.line) + (c.options.dry_run ? " würde" : " wurde") +
                                    " entfernt: „" + texts[i] + "“; die erste bleibt."),
                  std::string::npos)
            << hint.message;
      }
    }
  }
  // The window names the command for what it cannot do itself.
  Convert({});
  const auto boxes = host_.EventsStartingWith("MessageBox 64 Konvertierungshinweise: ");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("\r\n\r\nDoppelte Verweise: 3\r\nProjekt1.vbp, Zeile 3: Die Projektdatei verweist zweimal auf die Bibliothek {831FDD16-0C5C-11D2-A9FC-0000F8754DA1}: Zeile 2"), std::string::npos)
      << boxes[0];
  EXPECT_NE(boxes[0].find("mit „tavrin-convert --complete QUELLE ZIEL“ konvertieren"), std::string::npos) << boxes[0];
}

// A library that no form of the project places needs no reference; one that a form places needs
// today's advice. A form the project names but that was not transferred cannot tell.
TEST_F(ResultChecksTest, AReferencedGridThatNoFormUsesCanSimplyBeRemoved) {
  const std::string kGridObject = "Object={00028C01-0000-0000-0000-000000000046}#1.0#0; DBGRID32.OCX\r\n";
  const std::string kFormHeader =
      "VERSION 5.00\r\nObject = \"{00028C01-0000-0000-0000-000000000046}#1.0#0\"; \"DBGRID32.OCX\"\r\n";
  struct Case {
    const char* what;
    std::string entries;                                   // of the project, after its Object= line
    std::vector<std::pair<std::string, std::string>> files;  // more files of the source
    bool used;
  };
  const Case cases[] = {
      {"no form at all", "", {}, false},
      {"a form without the grid", "Form=Form1.frm\r\n", {{"Form1.frm", "Begin VB.Form Form1\r\n"}}, false},
      {"a form that places it", "Form=Form1.frm\r\n",
       {{"Form1.frm", kFormHeader + "Begin VB.Form Form1\r\n   Begin MSDBGrid.DBGrid DBGrid1\r\n"}}, true},
      {"a user control that names its prefix only", "UserControl=Ctl\\Gitter.ctl\r\n",
       {{"Ctl/Gitter.ctl", "Begin MSDBGrid.DBGrid DBGrid1\r\n"}}, true},
      {"a form of another project places it", "Form=Form1.frm\r\n",
       {{"Form1.frm", "Begin VB.Form Form1\r\n"}, {"Form2.frm", kFormHeader}}, false},
      {"a named form is missing", "Form=Fehlt.frm\r\n", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(root_.path() / "Quelle");
    root_.WriteFile("Quelle/Projekt1.vbp", "Type=Exe\r\n" + kGridObject + c.entries);
    for (const auto& [name, text] : c.files) root_.WriteFile("Quelle/" + name, text);
    const RequestResult result = Convert({.recursive = true});
    std::vector<const Hint*> grid;
    for (const Hint& hint : result.hints) {
      if (hint.kind == kHintReplacedControl && fs::path(hint.file).generic_string() == "Projekt1.vbp") grid.push_back(&hint);
    }
    ASSERT_EQ(grid.size(), 1u);
    EXPECT_EQ(grid[0]->line, 2u);
    EXPECT_EQ(grid[0]->message.find("einfach entfernen") == std::string::npos, c.used) << grid[0]->message;
    EXPECT_EQ(grid[0]->message.find("Datenanbindung") != std::string::npos, c.used) << grid[0]->message;
  }
}

// The window's box: every kind with its count, then the first hints, 40 in all; then how many
// more there are and the command that lists them.
TEST(HintsBox, ShowsEveryKindAndAtMostTheGivenNumberOfHints) {
  const auto hints = [](std::size_t missing) {
    std::vector<Hint> list;
    for (std::size_t i = 0; i < missing; ++i) {
      list.push_back({kHintMissingProjectFile, PathFromText("P.vbp").native(), i + 1, "x",
                      "„x“ fehlt im Zielverzeichnis: Die Datei liegt im Unterverzeichnis „U“ des Quellverzeichnisses, "
                      "das nicht konvertiert wurde. Mit --recursive konvertieren."});
    }
    list.push_back({kHintVb5ClassId, PathFromText("F.frm").native(), 3, "{x}", "4 Zeilen: mit --complete konvertieren.", 4});
    list.push_back({kHintLineEnds, {}, 0, {}, "34 umgeschriebene Dateien hatten …", 34});
    return list;
  };
  struct Case {
    std::size_t missing;
    std::size_t shown;  // hint lines
    std::string more;
  };
  const Case cases[] = {
      {38, 40, ""},  // exactly the limit
      {39, 40, "(und 1 weiterer Hinweis; alle nennt „tavrin-convert --all-hints QUELLE ZIEL“)"},
      {45, 40, "(und 7 weitere Hinweise; alle nennt „tavrin-convert --all-hints QUELLE ZIEL“)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.missing);
    const std::string box = MissingFilesMessage(hints(c.missing), 40);
    std::size_t lines = 0;
    for (std::size_t at = box.find("\r\nP.vbp, Zeile "); at != std::string::npos; at = box.find("\r\nP.vbp, Zeile ", at + 1)) ++lines;
    lines += box.find("\r\nF.frm, Zeile 3: ") != std::string::npos ? 1 : 0;
    lines += box.find("\r\n34 umgeschriebene") != std::string::npos ? 1 : 0;
    EXPECT_EQ(lines, c.shown) << box;
    // Every kind is named with what its hints list, also where none of its hints fits.
    EXPECT_NE(box.find("\r\n\r\nFehlende Projektdateien: " + std::to_string(c.missing) + "\r\n"), std::string::npos);
    EXPECT_NE(box.find("\r\n\r\nKlassen-IDs der VB5-Steuerelemente: 4"), std::string::npos) << box;
    EXPECT_NE(box.find("\r\n\r\nZeilenenden: 34"), std::string::npos) << box;
    EXPECT_EQ(box.find("(und"), c.more.empty() ? std::string::npos : box.size() - c.more.size()) << box;
    EXPECT_EQ(box.find("Mit --recursive"), std::string::npos);
    EXPECT_NE(box.find("Mit „tavrin-convert --recursive QUELLE ZIEL“ konvertieren."), std::string::npos);
  }
  EXPECT_EQ(MissingFilesMessage({}, 40), "") << "no box without hints";
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
