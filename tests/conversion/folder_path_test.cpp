#include "conversion/folder_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion/conversion_pass.h"
#include "runtime/path_text.h"
#include "tests/support/platform_entries.h"

namespace tavrin {
namespace {

using testing::kWindows;

// Folder paths as this system writes them: "/" or "\", drive letters and network paths on
// Windows.
struct FolderCase {
  std::string shown;
  std::string folder_path;
};
std::vector<FolderCase> FolderCases() {
  if (kWindows) {
    return {
        {"C:\\Projekte\\Alt", "C:\\Projekte\\Alt\\"},
        {"C:\\Projekte\\Alt\\", "C:\\Projekte\\Alt\\"},
        {"C:\\", "C:\\"},
        {"C:", "C:\\"},
        {"\\\\server\\share", "\\\\server\\share\\"},
        {"", "\\"},
        {"C:\\p\\Gr\xc3\xb6\xc3\x9f" "e", "C:\\p\\Gr\xc3\xb6\xc3\x9f" "e\\"},
    };
  }
  return {
      {"/home/anna/Projekte/Alt", "/home/anna/Projekte/Alt/"},
      {"/home/anna/Projekte/Alt/", "/home/anna/Projekte/Alt/"},
      {"/", "/"},
      {"", "/"},
      {"/p/Gr\xfc\xdf" "e", "/p/Gr\xfc\xdf" "e/"},  // bytes that are not UTF-8 pass untouched
  };
}

TEST(FolderPathTest, AppendsOneSeparatorOnlyWhenMissing) {
  for (const FolderCase& c : FolderCases()) {
    EXPECT_EQ(PathText(FolderPath(PathFromText(c.shown))), c.folder_path) << c.shown;
  }
}

TEST(FolderPathTest, FileNameFromPathCutsAfterTheLastSeparator) {
  const std::string s = kWindows ? "\\" : "/";
  const struct {
    std::string file;
    std::string name;
  } cases[] = {
      {"Form1.frm", "Form1.frm"},
      {s + "home" + s + "anna" + s + "Projekte" + s + "Form1.frm", "Form1.frm"},
      {s + "home" + s + "anna" + s + "Projekte" + s, ""},
      {"", ""},
      {s, ""},
      {"a" + s + "b" + s + "c", "c"},
      {"Version.1" + s + "Form1.frm", "Form1.frm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PathText(FileNameFromPath(PathFromText(c.file).native())), c.name) << c.file;
  }
}

TEST(FolderPathTest, GetSuffixCutsAfterTheFirstDot) {
  const struct {
    const char* file;
    const char* suffix;
  } cases[] = {
      {"Form1.frm", "frm"},         {"Projekt1.VBP", "VBP"}, {"Form1.alt.frm", "alt.frm"},
      {"Liesmich", ""},             {"Name.", ""},           {".frm", "frm"},
      {"", ""},                     {"/p/Version.1/Form1.frm", "1/Form1.frm"},
  };
  for (const auto& c : cases) EXPECT_EQ(PathText(GetSuffix(PathFromText(c.file).native())), c.suffix) << c.file;
}

TEST(FolderPathTest, ProjectTextIsExactlyOneOfTheNineSuffixes) {
  const struct {
    const char* name;
    bool text;
  } cases[] = {
      // The nine, in any letter case.
      {"Projekt1.vbp", true}, {"Gruppe.vbg", true},  {"Form1.frm", true},      {"Form1.FRM", true},
      {"Klasse.cls", true},   {"Steuer.ctl", true},  {"Modul1.bas", true},     {"Dok.dob", true},
      {"Seite.pag", true},    {"Web.wct", true},     {"Klasse.CLS", true},     {"x.Frm", true},
      {".frm", true},
      // No suffix, or a piece of the list of suffixes: copied byte for byte.
      {"Liesmich", false},    {"Name.", false},      {"x.c", false},           {"x.s", false},
      {"x.bp", false},        {"x.vb", false},       {"x.frm cls", false},     {"x.vbp ", false},
      {"x.vbp vbg", false},   {"x.b", false},        {"x. frm", false},        {"x.wct ", false},
      // Other suffixes, and the suffix after the first dot.
      {"Form1.frx", false},   {"Projekt1.vbw", false}, {"Bild.bmp", false},    {"Form1.alt.frm", false},
      {"Steuer.ctx", false},  {"Seite.pgx", false},  {"a.frmx", false},        {"a.xfrm", false},
      // Letters beyond ASCII never pass for the suffix letters that their low byte would give
      // ("\u0166\u0172\u016D" would be "frm"), nor do bytes beyond ASCII.
      {"Form1.\xc5\xa6\xc5\xb2\xc5\xad", false}, {"Form1.\xe6\xf2\xed", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsProjectText(PathFromText(c.name).native()), c.text) << c.name;
}

}  // namespace
}  // namespace tavrin
