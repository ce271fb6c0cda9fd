// tavrin-convert on trees whose paths are longer than 260 characters: converted whole, and a
// target inside the source refused however deep it lies.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "conversion/conversion_request.h"
#include "runtime/file_services.h"
#include "runtime/path_text.h"
#include "tests/cli/tool_run.h"
#include "tests/support/service_files.h"
#include "tests/support/temp_folder.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

// The value of the summary line "label: value".
std::string Item(const std::string& out, const std::string& label) {
  const std::size_t at = out.find(label + ":");
  if (at == std::string::npos) return "(none)";
  const std::size_t start = out.find_first_not_of(' ', at + label.size() + 1);
  const std::size_t end = out.find_first_of("\r\n", start);
  return out.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

class LongPathsTest : public ::testing::Test {
 protected:
  // A project in <temp>/quelle with a form three folders of 100 characters deep; returns that
  // deepest folder.
  fs::path MakeDeepProject() {
    WriteFileThrough(disk_, temp_.path() / "quelle", "Projekt1.vbp", "Type=Exe\r\nForm=Form1.frm\r\n");
    const fs::path deep = Chain(temp_.path() / "quelle", 3, 100);
    WriteFileThrough(disk_, deep, "Form1.frm", "Begin ComctlLib.Toolbar Toolbar1\r\n");
    WriteFileThrough(disk_, temp_.path() / "quelle" / "zz", "Modul1.bas", "x\r\n");
    EXPECT_GT(deep.native().size(), 300u);
    return deep;
  }

  FileServices& disk_ = DiskFileServices();
  TempFolder temp_;
};

TEST_F(LongPathsTest, ADeepTreeConvertsWithoutFailures) {
  MakeDeepProject();

  const ToolRun run = RunTool({"-r", PathText(temp_.path() / "quelle"), PathText(temp_.path() / "ziel")});

  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Item(run.out, "Dateien nicht übertragen"), "0") << run.out;
  EXPECT_EQ(ReadFileThrough(disk_, Chain(temp_.path() / "ziel", 3, 100), "Form1.frm"),
            "Begin MSComctlLib.Toolbar Toolbar1\r\n");
  EXPECT_EQ(ReadFileThrough(disk_, temp_.path() / "ziel" / "zz", "Modul1.bas"), "x\r\n");
}

TEST_F(LongPathsTest, ATargetDeepInsideTheSourceIsRefused) {
  const fs::path deep = MakeDeepProject();
  for (const fs::path& target : {deep / "neu", deep}) {
    SCOPED_TRACE(PathText(target));
    const ToolRun run = RunTool({"-r", PathText(temp_.path() / "quelle"), PathText(target)});

    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.err, std::string(kRefusalTitle) + ": " + std::string(kRefusalTargetInSource) + "\n");
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(disk_.Missing(deep / "neu"));
    EXPECT_TRUE(disk_.Missing(deep / std::string(100, 'd'))) << "nothing converted into the source";
  }
}

}  // namespace
}  // namespace tavrin::testing
