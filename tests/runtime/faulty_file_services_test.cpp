#include "tests/support/faulty_file_services.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "runtime/path_text.h"
#include "tests/support/temp_folder.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

class FaultyFileServicesTest : public ::testing::Test {
 protected:
  std::unique_ptr<OpenedFolder> Open(const fs::path& folder) {
    std::unique_ptr<OpenedFolder> opened;
    EXPECT_TRUE(files_.OpenFolder(folder, &opened).ok());
    return opened;
  }

  TempFolder temp_;
  FaultyFileServices files_;
};

TEST_F(FaultyFileServicesTest, RecordsEveryCallWithItsPaths) {
  temp_.WriteFile("Quelle/Form1.frm", "x");
  temp_.MakeFolder("Quelle/Sub");
  temp_.MakeFolder("Ziel");
  const std::unique_ptr<OpenedFolder> source = Open(temp_.path() / "Quelle");
  const std::unique_ptr<OpenedFolder> target = Open(temp_.path() / "Ziel");
  std::unique_ptr<InputFile> input;
  std::unique_ptr<OutputFile> output;
  std::unique_ptr<OpenedFolder> sub;

  files_.List(temp_.path() / "Quelle" / "*.*");
  source->List("*.*");
  source->OpenInput("Form1.frm", &input);
  source->OpenFolder("Sub", &sub);
  sub->List("*.vbp");
  target->CreateOutput("neu.frm", &output);
  target->RemoveFile("neu.frm");
  target->MakeFolder("Neu");
  files_.RemoveFolder(temp_.path() / "Ziel" / "Neu");
  std::filesystem::path link_target;
  files_.LinkTarget(temp_.path() / "Ziel", &link_target);

  const std::string t = PathText(temp_.path());
  const std::string s = Separator();
  EXPECT_EQ(files_.calls, (std::vector<std::string>{
                              "OpenFolder " + t + s + "Quelle",
                              "OpenFolder " + t + s + "Ziel",
                              "List " + t + s + "Quelle" + s + "*.*",
                              "List " + t + s + "Quelle" + s + "*.*",
                              "OpenInput " + t + s + "Quelle" + s + "Form1.frm",
                              "OpenFolder " + t + s + "Quelle" + s + "Sub",
                              "List " + t + s + "Quelle" + s + "Sub" + s + "*.vbp",
                              "CreateOutput " + t + s + "Ziel" + s + "neu.frm",
                              "RemoveFile " + t + s + "Ziel" + s + "neu.frm",
                              "MakeFolder " + t + s + "Ziel" + s + "Neu",
                              "RemoveFolder " + t + s + "Ziel" + s + "Neu",
                              "LinkTarget " + t + s + "Ziel",
                          }));
}

TEST_F(FaultyFileServicesTest, ListAndOpenFolderFaultsHitTheFolderByItsLastName) {
  temp_.WriteFile("Quelle/Form1.frm", "x");
  temp_.WriteFile("Andere/Form1.frm", "x");
  files_.FailList("Quelle", EIO);

  const std::string s = Separator();
  const FolderListing failed = files_.List(Joined(temp_.path(), "Quelle" + s + s + "*.*"));
  EXPECT_EQ(failed.status.reason(), "Das Verzeichnis [" + PathText(temp_.path()) + s + "Quelle" + s +
                                        "] kann nicht gelesen werden (Ein-/Ausgabefehler)");
  EXPECT_FALSE(Open(Joined(temp_.path(), "Quelle" + s))->List("*.*").status.ok());
  EXPECT_EQ(Open(temp_.path() / "Andere")->List("*.*").files.size(), 1u);

  files_.FailOpenFolder("Andere", ENOENT);
  std::unique_ptr<OpenedFolder> folder;
  EXPECT_FALSE(files_.OpenFolder(temp_.path() / "Andere", &folder).ok());
  EXPECT_EQ(folder, nullptr);
}

TEST_F(FaultyFileServicesTest, ByteFaultsPassTheFirstBytesExactly) {
  temp_.WriteFile("Modul1.bas", "0123456789");
  files_.FailReadAfter("Modul1.bas", 6, EIO);
  files_.FailWriteAfter("neu.bas", 3, ENOSPC);
  const std::unique_ptr<OpenedFolder> folder = Open(temp_.path());
  std::unique_ptr<InputFile> input;
  ASSERT_TRUE(folder->OpenInput("Modul1.bas", &input).ok());
  std::unique_ptr<OutputFile> output;
  ASSERT_TRUE(folder->CreateOutput("neu.bas", &output).ok());
  std::string read;
  Status status;
  for (;;) {
    char buffer[4];
    std::size_t got = 0;
    status = input->Read(buffer, sizeof buffer, &got);
    if (!status.ok() || got == 0) break;
    read.append(buffer, got);
  }
  EXPECT_EQ(read, "012345");
  EXPECT_EQ(status.reason(), "Quelldatei kann nicht gelesen werden (Ein-/Ausgabefehler)");
  EXPECT_EQ(output->Write("abcdef").reason(),
            "Zieldatei kann nicht geschrieben werden (Kein Speicherplatz mehr auf dem Datenträger)");
  output->Close();
  EXPECT_EQ(ReadFile(temp_.path() / "neu.bas"), "abc");
}

TEST_F(FaultyFileServicesTest, OpenCreateRemoveAndFolderFaultsTouchNothing) {
  temp_.WriteFile("Form1.frm", "x");
  const fs::path alt = temp_.MakeFolder("Alt");
  files_.FailOpenInput("Form1.frm", EACCES);
  files_.FailCreateOutput("neu.frm", ENOSPC);
  files_.FailRemoveFile("Form1.frm", EBUSY);
  files_.FailMakeFolder("Neu", EROFS);
  files_.FailRemoveFolder("Alt", EBUSY);
  const std::unique_ptr<OpenedFolder> folder = Open(temp_.path());
  std::unique_ptr<InputFile> input;
  EXPECT_EQ(folder->OpenInput("Form1.frm", &input).reason(), "Quelldatei kann nicht gelesen werden (Zugriff verweigert)");
  std::unique_ptr<OutputFile> output;
  EXPECT_EQ(folder->CreateOutput("neu.frm", &output).reason(),
            "Zieldatei kann nicht angelegt werden (Kein Speicherplatz mehr auf dem Datenträger)");
  EXPECT_FALSE(folder->RemoveFile("Form1.frm").ok());
  EXPECT_FALSE(folder->MakeFolder("Neu").ok());
  EXPECT_FALSE(files_.RemoveFolder(alt).ok());
  EXPECT_FALSE(fs::exists(temp_.path() / "neu.frm"));
  EXPECT_TRUE(fs::exists(temp_.path() / "Form1.frm"));
  EXPECT_FALSE(fs::exists(temp_.path() / "Neu"));
  EXPECT_TRUE(fs::exists(alt));
}

TEST_F(FaultyFileServicesTest, BeforeReadRunsWithTheSourceBeforeItIsOpened) {
  const fs::path file = temp_.WriteFile("Form1.frm", "x");
  std::vector<fs::path> seen;
  files_.before_read = [&](const fs::path& path) {
    seen.push_back(path);
    fs::remove(path);
  };
  std::unique_ptr<InputFile> input;
  EXPECT_FALSE(Open(temp_.path())->OpenInput("Form1.frm", &input).ok());
  EXPECT_EQ(seen, std::vector<fs::path>{file});
}

}  // namespace
}  // namespace tavrin::testing
