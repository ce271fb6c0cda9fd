// Conversions of a whole tree: which folders go, the checks before anything is written, deep
// trees and long paths.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "conversion/conversion_request.h"
#include "conversion/folder_path.h"
#include "tests/cli/folder_snapshot.h"
#include "tests/support/faulty_file_services.h"
#include "tests/support/platform_entries.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;
using Outcome = RequestResult::Outcome;
using testing::FaultyFileServices;
using testing::ReadFile;
using testing::RecordingHost;
using testing::TempFolder;

class TreeConversionTest : public ::testing::Test {
 protected:
  TreeConversionTest() {
    host_.source = FolderPath(root_.path() / "Quelle");
    host_.target = FolderPath(root_.path() / "Ziel");
    host_.record_lines = false;
  }

  RequestResult Convert(FileServices& files = DiskFileServices()) {
    ConversionRequest request(host_, files, {.make_missing_target = true, .recursive = true});
    return request.Tavrin();
  }
  bool Has(const fs::path& relative) const {
    std::error_code ignored;
    return fs::symlink_status(root_.path() / relative, ignored).type() != fs::file_type::not_found;
  }

  TempFolder root_;
  RecordingHost host_;
};

TEST_F(TreeConversionTest, EveryRealSubfolderGoesAndNothingElse) {
  root_.WriteFile("Quelle/Gruppe.vbg", "Project=Programm\\Programm.vbp\r\n");
  root_.WriteFile("Quelle/Programm/Programm.vbp", "Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.4#0\r\n");
  root_.WriteFile("Quelle/Programm/Formulare/Form1.FRM", "Begin ComctlLib.Toolbar\n");
  root_.WriteFile("Quelle/Programm/Formulare/Form1.frx", "ComctlLib.\n");
  root_.WriteFile("Quelle/.git/config.frm", "ComctlLib.\n");
  root_.WriteFile("Quelle/Programm/.versteckt/x.bas", "x\n");
  testing::Hide(root_.path() / "Quelle/.git");
  testing::Hide(root_.path() / "Quelle/Programm/.versteckt");
  root_.MakeFolder("Quelle/Leer");
  root_.WriteFile("Draussen/Fremd.bas", "ComctlLib.\n");
  testing::MakeLink(root_.path() / "Draussen", root_.path() / "Quelle/Verweis", /*folder=*/true);
  testing::MakeLink("..", root_.path() / "Quelle/Programm/Schleife", /*folder=*/true);  // a loop

  const RequestResult result = Convert();

  ASSERT_EQ(result.outcome, Outcome::kConverted) << result.refusal;
  EXPECT_EQ(ReadFile(root_.path() / "Ziel/Programm/Programm.vbp"),
            "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\r\n");
  EXPECT_EQ(ReadFile(root_.path() / "Ziel/Programm/Formulare/Form1.FRM"), "Begin MSComctlLib.Toolbar\r\n");
  EXPECT_EQ(ReadFile(root_.path() / "Ziel/Programm/Formulare/Form1.frx"), "ComctlLib.\n");
  EXPECT_TRUE(fs::is_directory(root_.path() / "Ziel/Leer")) << "an empty folder is made too";
  for (const char* left_out : {"Ziel/.git", "Ziel/Programm/.versteckt", "Ziel/Verweis", "Ziel/Programm/Schleife"}) {
    EXPECT_FALSE(Has(left_out)) << left_out;
  }
  EXPECT_EQ(result.report.folders, 4u);  // the top, Programm, Formulare, Leer
  EXPECT_EQ(result.report.files_rewritten, 3u);
  EXPECT_EQ(result.report.files_copied, 1u);
  EXPECT_EQ(result.report.replacements[5], 1u) << "the version mend counts under its row";
  EXPECT_EQ(result.report.replacements[7], 1u);
  // Progress covers the whole tree.
  ASSERT_FALSE(host_.progress.empty());
  EXPECT_EQ(host_.progress.back().files_total, 4u);
  EXPECT_EQ(host_.progress.back().files_done, 4u);
}

TEST_F(TreeConversionTest, FailuresAreNamedByTheirPathBelowTheSource) {
  root_.WriteFile("Quelle/P.vbp", "x\n");
  root_.WriteFile("Quelle/Formulare/Form1.frm", "x\n");
  root_.WriteFile("Quelle/Gesperrt/Form2.frm", "x\n");
  FaultyFileServices files;
  files.FailOpenInput("Form1.frm", EIO);
  files.FailOpenFolder("Gesperrt", EACCES);

  const RequestResult result = Convert(files);

  ASSERT_EQ(result.outcome, Outcome::kConvertedWithFailures);
  ASSERT_EQ(result.report.failures.size(), 1u);
  EXPECT_EQ(result.report.failures[0].name, fs::path("Formulare/Form1.frm"));
  ASSERT_EQ(result.report.folder_failures.size(), 1u);
  EXPECT_EQ(result.report.folder_failures[0].name, fs::path("Gesperrt"));
  EXPECT_FALSE(Has("Ziel/Gesperrt")) << "a folder that cannot be read is not made";
  const std::vector<std::string> lines = FailureLines(result.report);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].rfind("Formulare" + testing::Separator() + "Form1.frm: Quelldatei kann nicht gelesen werden", 0),
            0u)
      << lines[1];
}

TEST_F(TreeConversionTest, ChecksCoverBothTreesBeforeAnythingIsWritten) {
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::string_view refusal;  // empty: converted
  };
  const Case cases[] = {
      {"a project only in a subfolder", [&] { root_.WriteFile("Quelle/Unter/P.vbp", "x\n"); }, {}},
      {"no project anywhere", [&] { root_.WriteFile("Quelle/Unter/Form1.frm", "x\n"); }, kRefusalNoProject},
      {"a file deep in the target",
       [&] {
         root_.WriteFile("Quelle/P.vbp", "x\n");
         root_.WriteFile("Ziel/a/b/alt.txt", "x");
       },
       kRefusalTargetNotEmpty},
      {"a file only in a hidden folder of the target",
       [&] {
         root_.WriteFile("Quelle/P.vbp", "x\n");
         root_.WriteFile("Ziel/.git/HEAD", "x");
         testing::Hide(root_.path() / "Ziel/.git");
       },
       {}},
      {"the target inside the source",
       [&] {
         root_.WriteFile("Quelle/P.vbp", "x\n");
         host_.target = FolderPath(root_.path() / "Quelle/Unter/Ziel");
         root_.MakeFolder("Quelle/Unter/Ziel");
       },
       kRefusalTargetInSource},
      {"a missing target inside the source",
       [&] {
         root_.WriteFile("Quelle/P.vbp", "x\n");
         host_.target = FolderPath(root_.path() / "Quelle/Neu/Ziel");
       },
       kRefusalTargetInSource},
      {"the target inside the source, through a link",
       [&] {
         root_.WriteFile("Quelle/P.vbp", "x\n");
         root_.MakeFolder("Quelle/Unter");
         testing::MakeLink(root_.path() / "Quelle/Unter", root_.path() / "Verweis", /*folder=*/true);
         host_.target = FolderPath(root_.path() / "Verweis");
       },
       kRefusalTargetInSource},
      {"the source inside the target",
       [&] {
         root_.WriteFile("Quelle/P.vbp", "x\n");
         host_.target = FolderPath(root_.path());
       },
       kRefusalSourceInTarget},
      {"the same folder, spelled through a link",
       [&] {
         root_.WriteFile("Quelle/P.vbp", "x\n");
         testing::MakeLink(root_.path() / "Quelle", root_.path() / "Verweis", /*folder=*/true);
         host_.target = FolderPath(root_.path() / "Verweis");
       },
       kRefusalSameFolder},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::RemoveTree(root_.path());
    fs::create_directories(root_.path() / "Quelle");
    host_.target = FolderPath(root_.path() / "Ziel");
    host_.events.clear();
    c.arrange();
    const auto before = testing::FolderSnapshot(root_.path());

    const RequestResult result = Convert();

    if (c.refusal.empty()) {
      EXPECT_EQ(result.outcome, Outcome::kConverted) << result.refusal;
      continue;
    }
    EXPECT_EQ(result.outcome, Outcome::kRefused);
    EXPECT_EQ(result.refusal, c.refusal);
    EXPECT_EQ(testing::FolderSnapshot(root_.path()), before) << "nothing may be written";
  }
}

#ifndef _WIN32  // made through descriptors; on Windows a long path is checked with the file services
// Makes a chain of `depth` folders named "d" below `top` through descriptors (the path is far
// longer than any path the system takes whole) with `file` at the bottom; or removes it again.
void MakeDeepChain(const fs::path& top, int depth, const std::string& file) {
  int fd = open(top.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  for (int i = 0; i < depth; ++i) {
    ASSERT_EQ(mkdirat(fd, "d", 0777), 0) << "level " << i;
    const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = next;
    ASSERT_GE(fd, 0);
  }
  const int out = openat(fd, file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  ASSERT_GE(out, 0);
  ASSERT_EQ(write(out, "ComctlLib.\n", 11), 11);
  close(out);
  close(fd);
}

// The content of `file` at the bottom of the chain, or "" when the chain is shorter.
std::string ReadDeepChain(const fs::path& top, int depth, const std::string& file) {
  int fd = open(top.c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < depth && fd >= 0; ++i) {
    const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    close(fd);
    fd = next;
  }
  if (fd < 0) return {};
  const int in = openat(fd, file.c_str(), O_RDONLY);
  close(fd);
  if (in < 0) return {};
  char buffer[64];
  const ssize_t got = read(in, buffer, sizeof buffer);
  close(in);
  return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
}

// Removes the chain from the bottom up, a level at a time through descriptors.
void RemoveDeepChain(const fs::path& top, int depth, const std::string& file) {
  std::vector<int> fds{open(top.c_str(), O_RDONLY | O_DIRECTORY)};
  for (int i = 0; i < depth && fds.back() >= 0; ++i) fds.push_back(openat(fds.back(), "d", O_RDONLY | O_DIRECTORY));
  if (fds.back() >= 0) unlinkat(fds.back(), file.c_str(), 0);
  for (std::size_t i = fds.size() - 1; i > 0; --i) {
    close(fds[i]);
    if (fds[i - 1] >= 0) unlinkat(fds[i - 1], "d", AT_REMOVEDIR);
  }
  close(fds[0]);
}

TEST_F(TreeConversionTest, ADeepTreeWithPathsBeyondAnyLimitConverts) {
  constexpr int kDepth = 10000;  // 20,000 bytes of path: far beyond PATH_MAX, and more
                                 // folders than a process may hold open at once
  root_.WriteFile("Quelle/P.vbp", "x\n");
  MakeDeepChain(root_.path() / "Quelle", kDepth, "Tief.bas");

  const RequestResult result = Convert();

  EXPECT_EQ(result.outcome, Outcome::kConverted) << result.refusal;
  EXPECT_EQ(result.report.folders, static_cast<std::uint64_t>(kDepth + 1));
  EXPECT_EQ(ReadDeepChain(root_.path() / "Ziel", kDepth, "Tief.bas"), "MSComctlLib.\r\n");
  RemoveDeepChain(root_.path() / "Quelle", kDepth, "Tief.bas");
  RemoveDeepChain(root_.path() / "Ziel", kDepth, "Tief.bas");
}
#endif

}  // namespace
}  // namespace tavrin
