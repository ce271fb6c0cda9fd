#include "conversion/conversion_request.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "conversion/folder_path.h"
#include "conversion/folder_tests.h"
#include "runtime/path_text.h"
#include "tests/support/faulty_file_services.h"
#include "tests/support/platform_entries.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

using Outcome = RequestResult::Outcome;
using testing::FaultyFileServices;
using testing::ReadFile;
using testing::RecordingHost;
using testing::TempFolder;

class ConversionRequestTest : public ::testing::Test {
 protected:
  ConversionRequestTest() : request_(host_, files_) {
    host_.source = FolderPath(root_.MakeFolder("Quelle"));
    host_.target = FolderPath(root_.MakeFolder("Ziel"));
    host_.record_lines = false;
  }

  std::vector<std::string> MessageBoxes() const { return host_.EventsStartingWith("MessageBox"); }
  std::string Refusal(std::string_view text) const {
    return "MessageBox 48 Konvertierungsfehler: " + std::string(text);
  }

  TempFolder root_;
  RecordingHost host_;
  FaultyFileServices files_;
  ConversionRequest request_;
};

TEST_F(ConversionRequestTest, RunsThePassWhenEveryCheckHolds) {
  root_.WriteFile("Quelle/PROJEKT1.VBP", "Object={FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}#1.0#0; COMCT232.OCX\n");
  root_.MakeFolder("Ziel/Unterordner");          // subfolders do not count
  testing::Hide(root_.WriteFile("Ziel/.versteckt", "x"));  // nor do hidden files

  const RequestResult result = request_.Tavrin();

  EXPECT_EQ(result.outcome, Outcome::kConverted);
  // No refusal and no failure; only the hints box, for the line end that became CR LF.
  ASSERT_EQ(MessageBoxes().size(), 1u);
  EXPECT_EQ(MessageBoxes()[0].rfind("MessageBox 64 Konvertierungshinweise: ", 0), 0u) << MessageBoxes()[0];
  EXPECT_NE(MessageBoxes()[0].find("\r\n\r\nZeilenenden: 1\r\n"), std::string::npos) << MessageBoxes()[0];
  EXPECT_EQ(ReadFile(root_.path() / "Ziel/PROJEKT1.VBP"),
            "Object={86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCT2.OCX\r\n");
  EXPECT_FALSE(request_.running());
}

TEST_F(ConversionRequestTest, RefusesWithTheMessageOfTheFirstFailingCheck) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::string_view message;
  };
  const Case cases[] = {
      {"same folder, with a project and files",
       [&] {
         root_.WriteFile("Quelle/P.vbp", "x");
         host_.target = host_.source;
       },
       kRefusalSameFolder},
      {"same empty folder", [&] { host_.target = host_.source; }, kRefusalSameFolder},
      {"target holds a file, source no project", [&] { root_.WriteFile("Ziel/alt.txt", "x"); },
       kRefusalTargetNotEmpty},
      {"no project in the source", [&] { root_.WriteFile("Quelle/Form1.frm", "x"); }, kRefusalNoProject},
      // Where names ignore letter case, it is the same folder; elsewhere another one, here a
      // link to the source, which holds files.
      {"same folder in other letter case",
       [&] {
         root_.WriteFile("Quelle/P.vbp", "x");
         if (!testing::kNamesIgnoreCase) testing::MakeLink(root_.path() / "Quelle", root_.path() / "QUELLE", true);
         host_.target = FolderPath(root_.path() / "QUELLE");
       },
       testing::kNamesIgnoreCase ? kRefusalSameFolder : kRefusalTargetNotEmpty},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::RemoveTree(root_.path());
    std::filesystem::create_directories(root_.path() / "Quelle");
    std::filesystem::create_directories(root_.path() / "Ziel");
    host_.source = FolderPath(root_.path() / "Quelle");
    host_.target = FolderPath(root_.path() / "Ziel");
    host_.events.clear();
    c.arrange();

    const RequestResult result = request_.Tavrin();

    EXPECT_EQ(result.outcome, Outcome::kRefused);
    EXPECT_EQ(result.refusal, c.message);
    EXPECT_EQ(MessageBoxes(), std::vector<std::string>{Refusal(c.message)});
    EXPECT_TRUE(host_.EventsStartingWith("Pointer").empty()) << "no pass may run";
  }
}

TEST_F(ConversionRequestTest, AFolderThatCannotBeListedIsNamedInTheRefusal) {
  root_.WriteFile("Quelle/P.vbp", "x");
  host_.target = FolderPath(root_.path() / "weg");

  RequestResult result = request_.Tavrin();
  EXPECT_EQ(result.outcome, Outcome::kRefused);
  EXPECT_NE(result.refusal.find(PathText(host_.target)), std::string::npos) << result.refusal;

  host_.target = FolderPath(root_.path() / "Ziel");
  files_.FailList("Quelle", EIO);
  host_.events.clear();
  result = request_.Tavrin();
  EXPECT_EQ(result.outcome, Outcome::kRefused);
  EXPECT_NE(result.refusal.find("Quelle"), std::string::npos) << result.refusal;
  ASSERT_EQ(MessageBoxes().size(), 1u);
  EXPECT_EQ(MessageBoxes()[0], Refusal(result.refusal));
}

TEST_F(ConversionRequestTest, ReportsFailedFilesInOneMessage) {
  root_.WriteFile("Quelle/P.vbp", "x\n");
  root_.WriteFile("Quelle/Form1.frm", "x\n");
  root_.WriteFile("Quelle/Form1.frx", "x");
  files_.FailCreateOutput("Form1.frm", ENOSPC);
  files_.FailOpenInput("Form1.frx", EIO);

  const RequestResult result = request_.Tavrin();

  EXPECT_EQ(result.outcome, Outcome::kConvertedWithFailures);
  ASSERT_EQ(MessageBoxes().size(), 2u);  // the failures, then the hints (a line end made CR LF)
  EXPECT_EQ(MessageBoxes()[1].rfind("MessageBox 64 Konvertierungshinweise: ", 0), 0u) << MessageBoxes()[1];
  const std::string box = MessageBoxes()[0];
  EXPECT_EQ(box.rfind(Refusal("Folgende Dateien wurden nicht \xc3\xbc" "bertragen:\r\nForm1.frm: "), 0), 0u) << box;
  EXPECT_NE(box.find("\r\nForm1.frx: "), std::string::npos) << box;
  EXPECT_EQ(box.find("P.vbp"), std::string::npos) << box;
  EXPECT_EQ(host_.EventsStartingWith("WriteInfo Konvertierung mit Fehlern abgeschlossen...").size(), 1u);
  EXPECT_TRUE(host_.EventsStartingWith("WriteInfo Konvertierung abgeschlossen...").empty());
}

TEST_F(ConversionRequestTest, FailureMessageListsEveryFileUpToAScreenful) {
  PassReport report;
  report.failures.push_back({"A.frm", "Zugriff verweigert"});
  EXPECT_EQ(FailureMessage(report),
            "Folgende Dateien wurden nicht \xc3\xbc" "bertragen:\r\nA.frm: Zugriff verweigert");
  for (int i = 0; i < 99; ++i) report.failures.push_back({"F" + std::to_string(i), "x"});
  const std::string text = FailureMessage(report);
  EXPECT_NE(text.find("\r\nF38: x"), std::string::npos);
  EXPECT_EQ(text.find("\r\nF39: x"), std::string::npos);
  EXPECT_NE(text.find("(und 60 weitere Dateien)"), std::string::npos) << text;
}

TEST_F(ConversionRequestTest, ARequestDuringThePassStartsNoSecondPass) {
  root_.WriteFile("Quelle/P.vbp", "x\n");
  root_.WriteFile("Quelle/Form1.frm", "y\n");
  TempFolder elsewhere;
  std::vector<Outcome> nested;
  host_.on_do_events = [&] {
    EXPECT_TRUE(request_.running());
    host_.target = elsewhere.folder_path();  // the user picks another target meanwhile
    nested.push_back(request_.Tavrin().outcome);
  };

  const RequestResult result = request_.Tavrin();

  EXPECT_EQ(result.outcome, Outcome::kConverted);
  EXPECT_EQ(nested, (std::vector<Outcome>{Outcome::kAlreadyRunning, Outcome::kAlreadyRunning}));
  EXPECT_EQ(host_.EventsStartingWith("Pointer 11").size(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));
  EXPECT_EQ(ReadFile(root_.path() / "Ziel/Form1.frm"), "y\r\n");
  EXPECT_FALSE(request_.running());

  // Once the pass is over, a request runs again, into the folder picked meanwhile.
  host_.on_do_events = nullptr;
  EXPECT_EQ(request_.Tavrin().outcome, Outcome::kConverted);
  EXPECT_TRUE(std::filesystem::exists(elsewhere.path() / "Form1.frm"));
}


TEST_F(ConversionRequestTest, AMissingTargetIsMadeOnlyWhenEveryCheckHolds) {
  struct Case {
    const char* what;
    bool project;
    std::string target;  // below the root
    Outcome outcome;
  };
  const Case cases[] = {
      {"missing with its parents", true, "a/b/c", Outcome::kConverted},
      {"source without a project", false, "a/b/c", Outcome::kRefused},
      {"below a file", true, "datei/ziel", Outcome::kRefused},
      {"a dangling link", true, "verweis", Outcome::kRefused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::RemoveTree(root_.path());
    std::filesystem::create_directories(root_.path() / "Quelle");
    root_.WriteFile("Quelle/Form1.frm", "ComctlLib.\n");
    if (c.project) root_.WriteFile("Quelle/P.vbp", "x\n");
    root_.WriteFile("datei", "inhalt");
    testing::MakeLink(root_.path() / "nirgends", root_.path() / "verweis");
    host_.source = FolderPath(root_.path() / "Quelle");
    host_.target = FolderPath(root_.path() / c.target);
    ConversionRequest request(host_, files_, {.make_missing_target = true});

    const RequestResult result = request.Tavrin();

    EXPECT_EQ(result.outcome, c.outcome) << result.refusal;
    if (c.outcome == Outcome::kConverted) {
      EXPECT_EQ(ReadFile(root_.path() / c.target / "Form1.frm"), "MSComctlLib.\r\n");
    } else {
      EXPECT_FALSE(std::filesystem::exists(root_.path() / "a")) << "nothing is made for a refused request";
      EXPECT_FALSE(std::filesystem::exists(root_.path() / "nirgends"));
      EXPECT_EQ(ReadFile(root_.path() / "datei"), "inhalt");
    }
  }
}

}  // namespace
}  // namespace tavrin
