#include "conversion/folder_tests.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "runtime/path_text.h"
#include "tests/support/platform_entries.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

using testing::TempFolder;

TEST(FolderTestsTest, ProjectExistLooksForAnyVbpWhateverItsCase) {
  TempFolder folder;
  EXPECT_FALSE(ProjectExist(DiskFileServices(), folder.folder_path()).yes);
  folder.WriteFile("Form1.frm", "");
  folder.WriteFile("Projekt.vbp.alt", "");
  folder.MakeFolder("Ordner.vbp");
  testing::Hide(folder.WriteFile(".Versteckt.vbp", ""));
  EXPECT_FALSE(ProjectExist(DiskFileServices(), folder.folder_path()).yes);
  folder.WriteFile("PROJEKT1.VBP", "");
  const FolderAnswer answer = ProjectExist(DiskFileServices(), folder.folder_path());
  EXPECT_TRUE(answer.yes);
  EXPECT_TRUE(answer.listed);
}

TEST(FolderTestsTest, ProjectCreatableIgnoresFoldersHiddenEntriesAndSpecialFiles) {
  TempFolder folder;
  EXPECT_TRUE(ProjectCreatable(DiskFileServices(), folder.folder_path()).yes);
  folder.MakeFolder("Unterordner");
  testing::Hide(folder.WriteFile(".versteckt", "x"));
#ifndef _WIN32  // a pipe in a folder exists only on POSIX systems
  ASSERT_EQ(mkfifo((folder.path() / "fifo").c_str(), 0600), 0);
#endif
  testing::MakeLink(folder.path() / "fehlt", folder.path() / "kaputt");
  EXPECT_TRUE(ProjectCreatable(DiskFileServices(), folder.folder_path()).yes);
  folder.WriteFile("Liesmich", "x");  // a name without a dot is a file too
  EXPECT_FALSE(ProjectCreatable(DiskFileServices(), folder.folder_path()).yes);
}

TEST(FolderTestsTest, AFolderThatCannotBeListedSaysSoInsteadOfAnswering) {
  TempFolder folder;
  const auto file = folder.WriteFile("datei", "x");
  for (const std::filesystem::path& bad : {testing::Joined(folder.path() / "weg", ""), testing::Joined(file, "")}) {
    const FolderAnswer created = ProjectCreatable(DiskFileServices(), bad);
    EXPECT_FALSE(created.listed) << bad;
    EXPECT_FALSE(created.yes) << bad;  // never "free" when it could not be looked at
    EXPECT_FALSE(created.status.ok());
    EXPECT_NE(created.status.reason().find(PathText(bad.parent_path())), std::string::npos)
        << created.status.reason();
    EXPECT_FALSE(ProjectExist(DiskFileServices(), bad).listed) << bad;
  }
}

}  // namespace
}  // namespace tavrin
