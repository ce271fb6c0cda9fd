#include "conversion/folder_path.h"

#include <gtest/gtest.h>

#include "conversion/conversion_pass.h"

namespace tavrin {
namespace {

TEST(FolderPathTest, AppendsOneSeparatorOnlyWhenMissing) {
  EXPECT_EQ(FolderPath("/home/anna/Projekte/Alt").native(), "/home/anna/Projekte/Alt/");
  EXPECT_EQ(FolderPath("/home/anna/Projekte/Alt/").native(), "/home/anna/Projekte/Alt/");
  EXPECT_EQ(FolderPath("/").native(), "/");
  EXPECT_EQ(FolderPath("").native(), "/");
  // Bytes that are not UTF-8 pass through untouched.
  EXPECT_EQ(FolderPath("/p/Gr\xfc\xdf" "e").native(), "/p/Gr\xfc\xdf" "e/");
}

TEST(FolderPathTest, FileNameFromPathCutsAfterTheLastSeparator) {
  const struct {
    const char* file;
    const char* name;
  } cases[] = {
      {"Form1.frm", "Form1.frm"},
      {"/home/anna/Projekte/Form1.frm", "Form1.frm"},
      {"/home/anna/Projekte/", ""},
      {"", ""},
      {"/", ""},
      {"a/b/c", "c"},
      {"Version.1/Form1.frm", "Form1.frm"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileNameFromPath(c.file), c.name) << c.file;
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
  for (const auto& c : cases) EXPECT_EQ(GetSuffix(c.file), c.suffix) << c.file;
}

TEST(FolderPathTest, ProjectTextIsASuffixFoundInTheSuffixList) {
  const struct {
    const char* name;
    bool text;
  } cases[] = {
      {"Projekt1.vbp", true}, {"Gruppe.vbg", true},  {"Form1.frm", true},      {"Form1.FRM", true},
      {"Klasse.cls", true},   {"Steuer.ctl", true},  {"Modul1.bas", true},     {"Dok.dob", true},
      {"Seite.pag", true},    {"Web.wct", true},     {"Form1.frx", false},     {"Projekt1.vbw", false},
      {"Bild.bmp", false},    {"Liesmich", true},    {"Name.", true},          {"a.c", true},
      {"a.s", true},          {"a.bp", true},        {"a.frm cls", true},      {"Form1.alt.frm", false},
      {"Steuer.ctx", false},  {"Seite.pgx", false},  {"Klasse.CLS", true},     {"a.frmx", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsProjectText(c.name), c.text) << c.name;
}

}  // namespace
}  // namespace tavrin
