#include "cli/folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/temp_folder.h"

namespace tavrin::cli {
namespace {

using tavrin::testing::TempFolder;

// Runs the test body with `folder` as the current folder and restores the old one after.
class InFolder {
 public:
  explicit InFolder(const std::filesystem::path& folder) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

TEST(FoldersTest, DifferentSpellingsOfOneFolderBecomeOnePath) {
  TempFolder temp;
  const std::filesystem::path base = temp.path();
  InFolder in(base);
  const std::pair<const char*, std::filesystem::path> cases[] = {
      {"p", base / "p"},
      {"./p/", base / "p"},
      {"p//", base / "p"},
      {"q/../p", base / "p"},
      {".", base},
      {"./", base},
      {"/", "/"},
      {"//", "/"},
      {"/tmp/./a/../b/", "/tmp/b"},
  };
  for (const auto& [word, expected] : cases) {
    SCOPED_TRACE(word);
    std::filesystem::path folder;
    ASSERT_TRUE(NormalizeFolder(word, &folder).ok());
    EXPECT_EQ(folder.native(), expected.native());
  }
  std::filesystem::path folder;
  EXPECT_FALSE(NormalizeFolder("", &folder).ok());
}

TEST(FoldersTest, SourceMustBeAListableFolder) {
  TempFolder temp;
  EXPECT_TRUE(CheckSourceFolder(temp.path()).ok());

  const Status missing = CheckSourceFolder(temp.path() / "fehlt");
  EXPECT_EQ(missing.reason(), "Quellverzeichnis nicht gefunden: " + (temp.path() / "fehlt").native());

  const std::filesystem::path file = temp.WriteFile("Datei.vbp", "x");
  EXPECT_EQ(CheckSourceFolder(file).reason(), "Quellverzeichnis ist kein Verzeichnis: " + file.native());

  // Below a file, the path cannot even be looked at.
  const Status below_file = CheckSourceFolder(file / "p");
  EXPECT_FALSE(below_file.ok());
  EXPECT_NE(below_file.reason().find((file / "p").native()), std::string::npos) << below_file.reason();
}

}  // namespace
}  // namespace tavrin::cli
