#include "tests/support/faulty_file_services.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

class FaultyFileServicesTest : public ::testing::Test {
 protected:
  TempFolder temp_;
  FaultyFileServices files_;
};

TEST_F(FaultyFileServicesTest, RecordsEveryCallWithItsPaths) {
  const fs::path from = temp_.WriteFile("Quelle/Form1.frm", "x");
  const fs::path target = temp_.MakeFolder("Ziel");
  std::unique_ptr<InputFile> input;
  std::unique_ptr<OutputFile> output;

  files_.List(temp_.path() / "Quelle" / "*.*");
  files_.OpenInput(from, &input);
  files_.CreateOutput(target / "neu.frm", &output);
  files_.CopyToNew(from, target / "Form1.frm");
  files_.RemoveFile(target / "Form1.frm");
  files_.MakeFolder(target / "Neu");
  files_.RemoveFolder(target / "Neu");

  const std::string t = temp_.path().native();
  EXPECT_EQ(files_.calls, (std::vector<std::string>{
                              "List " + t + "/Quelle/*.*",
                              "OpenInput " + t + "/Quelle/Form1.frm",
                              "CreateOutput " + t + "/Ziel/neu.frm",
                              "CopyToNew " + t + "/Quelle/Form1.frm -> " + t + "/Ziel/Form1.frm",
                              "RemoveFile " + t + "/Ziel/Form1.frm",
                              "MakeFolder " + t + "/Ziel/Neu",
                              "RemoveFolder " + t + "/Ziel/Neu",
                          }));
}

TEST_F(FaultyFileServicesTest, ListFaultsHitTheFolderByItsLastName) {
  temp_.WriteFile("Quelle/Form1.frm", "x");
  temp_.WriteFile("Andere/Form1.frm", "x");
  files_.FailList("Quelle", EIO);

  const FolderListing failed = files_.List(temp_.path().native() + "/Quelle//*.*");
  EXPECT_EQ(failed.status.reason(), "Das Verzeichnis [" + temp_.path().native() +
                                        "/Quelle/] kann nicht gelesen werden (Ein-/Ausgabefehler)");
  EXPECT_TRUE(failed.files.empty());
  const FolderListing other = files_.List(temp_.path() / "Andere" / "*.*");
  EXPECT_TRUE(other.status.ok());
  EXPECT_EQ(other.files.size(), 1u);

  files_.FailList("", EACCES);
  EXPECT_FALSE(files_.List(temp_.path() / "Andere" / "*.*").status.ok());
}

TEST_F(FaultyFileServicesTest, ReadFaultPassesTheFirstBytesExactly) {
  const fs::path file = temp_.WriteFile("Modul1.bas", "0123456789");
  files_.FailReadAfter("Modul1.bas", 6, EIO);
  std::unique_ptr<InputFile> input;
  ASSERT_TRUE(files_.OpenInput(file, &input).ok());
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
}

TEST_F(FaultyFileServicesTest, OpenAndCreateFaultsTouchNothing) {
  const fs::path file = temp_.WriteFile("Form1.frm", "x");
  files_.FailOpenInput("Form1.frm", EACCES);
  files_.FailCreateOutput("neu.frm", ENOSPC);
  std::unique_ptr<InputFile> input;
  EXPECT_EQ(files_.OpenInput(file, &input).reason(),
            "Quelldatei kann nicht gelesen werden (Zugriff verweigert)");
  std::unique_ptr<OutputFile> output;
  EXPECT_EQ(files_.CreateOutput(temp_.path() / "neu.frm", &output).reason(),
            "Zieldatei kann nicht angelegt werden (Kein Speicherplatz mehr auf dem Datenträger)");
  EXPECT_FALSE(fs::exists(temp_.path() / "neu.frm"));
}

TEST_F(FaultyFileServicesTest, CopyWithAWriteFaultRemovesThePartialTarget) {
  const fs::path from = temp_.WriteFile("Quelle/Bild.frx", std::string(200000, 'b'));
  const fs::path to = temp_.MakeFolder("Ziel") / "Bild.frx";
  files_.FailWriteAfter("Bild.frx", 70000, ENOSPC);
  const Status status = files_.CopyToNew(from, to);
  EXPECT_EQ(status.reason(),
            "Zieldatei kann nicht geschrieben werden (Kein Speicherplatz mehr auf dem Datenträger)");
  EXPECT_FALSE(fs::exists(fs::symlink_status(to)));
  EXPECT_EQ(fs::file_size(from), 200000u);
}

TEST_F(FaultyFileServicesTest, CopyWithAReadOrCloseFaultRemovesTheTarget) {
  const fs::path from = temp_.WriteFile("Quelle/Form1.frm", std::string(5000, 'f'));
  const fs::path target = temp_.MakeFolder("Ziel");
  files_.FailReadAfter("Form1.frm", 100, EIO);
  EXPECT_EQ(files_.CopyToNew(from, target / "Form1.frm").reason(),
            "Quelldatei kann nicht gelesen werden (Ein-/Ausgabefehler)");
  EXPECT_TRUE(fs::is_empty(target));

  const fs::path other = temp_.WriteFile("Quelle/Form2.frm", "kurz");
  files_.FailClose("Form2.frm", EIO);
  EXPECT_EQ(files_.CopyToNew(other, target / "Form2.frm").reason(),
            "Zieldatei kann nicht geschrieben werden (Ein-/Ausgabefehler)");
  EXPECT_TRUE(fs::is_empty(target));
}

TEST_F(FaultyFileServicesTest, CopyFaultCreatesNothingAndCopiesWithoutFaultsAreReal) {
  const fs::path from = temp_.WriteFile("Quelle/Form1.frm", "Inhalt");
  const fs::path target = temp_.MakeFolder("Ziel");
  files_.FailCopy("Form1.frm", EIO);
  EXPECT_FALSE(files_.CopyToNew(from, target / "Form1.frm").ok());
  EXPECT_TRUE(fs::is_empty(target));

  const fs::path other = temp_.WriteFile("Quelle/Form2.frm", "Inhalt 2");
  ASSERT_TRUE(files_.CopyToNew(other, target / "Form2.frm").ok());
  EXPECT_EQ(ReadFile(target / "Form2.frm"), "Inhalt 2");
}

TEST_F(FaultyFileServicesTest, BeforeReadRunsWithTheSourceBeforeItIsOpened) {
  const fs::path file = temp_.WriteFile("Form1.frm", "x");
  std::vector<fs::path> seen;
  files_.before_read = [&](const fs::path& path) {
    seen.push_back(path);
    fs::remove(path);
  };
  std::unique_ptr<InputFile> input;
  EXPECT_FALSE(files_.OpenInput(file, &input).ok());
  EXPECT_FALSE(files_.CopyToNew(file, temp_.path() / "Kopie.frm").ok());
  EXPECT_EQ(seen, (std::vector<fs::path>{file, file}));
}

TEST_F(FaultyFileServicesTest, RemoveAndFolderFaults) {
  const fs::path file = temp_.WriteFile("Form1.frm", "x");
  const fs::path folder = temp_.MakeFolder("Alt");
  files_.FailRemoveFile("Form1.frm", EBUSY);
  files_.FailMakeFolder("Neu", EROFS);
  files_.FailRemoveFolder("Alt", EBUSY);
  EXPECT_FALSE(files_.RemoveFile(file).ok());
  EXPECT_TRUE(fs::exists(file));
  EXPECT_FALSE(files_.MakeFolder(temp_.path() / "Neu").ok());
  EXPECT_FALSE(fs::exists(temp_.path() / "Neu"));
  EXPECT_FALSE(files_.RemoveFolder(folder).ok());
  EXPECT_TRUE(fs::exists(folder));
}

}  // namespace
}  // namespace tavrin::testing
