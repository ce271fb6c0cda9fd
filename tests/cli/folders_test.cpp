#include "cli/folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/path_text.h"
#include "tests/support/platform_entries.h"
#include "tests/support/temp_folder.h"

namespace tavrin::cli {
namespace {

using tavrin::testing::kWindows;
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
  const std::string b = PathText(base);
  std::vector<std::pair<std::string, std::string>> cases = {
      {"p", PathText(base / "p")},
      {"./p/", PathText(base / "p")},
      {"p//", PathText(base / "p")},
      {"q/../p", PathText(base / "p")},
      {".", b},
      {"./", b},
  };
  if (kWindows) {
    // Drive letters, "\" and "/" alike, network paths; a drive's root keeps its separator.
    cases.insert(cases.end(), {
                                  {"C:\\", "C:\\"},
                                  {"C:/", "C:\\"},
                                  {"C:\\Projekte\\.\\a\\..\\b\\", "C:\\Projekte\\b"},
                                  {"C:/Projekte//Alt/", "C:\\Projekte\\Alt"},
                                  {"\\\\server\\share\\Alt\\", "\\\\server\\share\\Alt"},
                                  {"p\\..\\p\\", PathText(base / "p")},
                              });
  } else {
    cases.insert(cases.end(), {{"/", "/"}, {"//", "/"}, {"/tmp/./a/../b/", "/tmp/b"}});
  }
  for (const auto& [word, expected] : cases) {
    SCOPED_TRACE(word);
    std::filesystem::path folder;
    ASSERT_TRUE(NormalizeFolder(word, &folder).ok());
    EXPECT_EQ(PathText(folder), expected);
  }
  std::filesystem::path folder;
  EXPECT_FALSE(NormalizeFolder("", &folder).ok());
}

TEST(FoldersTest, SourceMustBeAListableFolder) {
  TempFolder temp;
  FileServices& disk = DiskFileServices();
  EXPECT_TRUE(CheckSourceFolder(disk, temp.path()).ok());

  const Status missing = CheckSourceFolder(disk, temp.path() / "fehlt");
  EXPECT_EQ(missing.reason(), "Quellverzeichnis nicht gefunden: " + PathText(temp.path() / "fehlt"));
  EXPECT_EQ(CheckSourceFolder(disk, temp.path() / "fehlt" / "auch").reason(),
            "Quellverzeichnis nicht gefunden: " + PathText(temp.path() / "fehlt" / "auch"));

  const std::filesystem::path file = temp.WriteFile("Datei.vbp", "x");
  EXPECT_EQ(CheckSourceFolder(disk, file).reason(), "Quellverzeichnis ist kein Verzeichnis: " + PathText(file));

  // Below a file, the path cannot even be looked at.
  const Status below_file = CheckSourceFolder(disk, file / "p");
  EXPECT_FALSE(below_file.ok());
  EXPECT_NE(below_file.reason().find(PathText(file / "p")), std::string::npos) << below_file.reason();
}

}  // namespace
}  // namespace tavrin::cli
