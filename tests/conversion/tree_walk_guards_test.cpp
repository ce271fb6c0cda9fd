// The guards of a tree conversion: folders told apart by their ids (mounts, junctions), a
// target folder that cannot be made, and the checks that keep the walk where it belongs.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/mount.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "conversion/conversion_request.h"
#include "conversion/folder_path.h"
#include "runtime/path_text.h"
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

#ifndef _WIN32
// A bind mount of `from` at `at`, undone when the object goes (before the temporary folder is
// removed, so that the removal never reaches through it).
class BindMount {
 public:
  BindMount(const fs::path& from, const fs::path& at) : at_(at) {
    mounted_ = mount(from.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) == 0;
    if (!mounted_) error_ = std::strerror(errno);
  }
  ~BindMount() { Undo(); }
  void Undo() {
    if (mounted_) umount2(at_.c_str(), MNT_DETACH);
    mounted_ = false;
  }
  BindMount(const BindMount&) = delete;
  BindMount& operator=(const BindMount&) = delete;
  bool mounted() const { return mounted_; }
  const std::string& error() const { return error_; }

 private:
  fs::path at_;
  bool mounted_ = false;
  std::string error_;
};
#endif

class TreeWalkGuardsTest : public ::testing::Test {
 protected:
#ifndef _WIN32
  // Bounds a walk that would run in circles through `bound`: once it has rewritten far more
  // files than there are, the mount is undone, so that the walk ends and the test fails by
  // itself.
  void Bound(BindMount& bound) {
    host_.on_do_events = [this, &bound, rewritten = 0]() mutable {
      if (++rewritten > 200) bound.Undo();
    };
  }
#endif

  TreeWalkGuardsTest() {
    host_.source = FolderPath(root_.path() / "Quelle");
    host_.target = FolderPath(root_.path() / "Ziel");
    host_.record_lines = false;
  }

  RequestResult Convert(FileServices& files = DiskFileServices()) {
    ConversionRequest request(host_, files, {.make_missing_target = true, .recursive = true, .hints_box = false});
    return request.Tavrin();
  }
  // The pass alone, without the checks of the request, on the folders as they are.
  PassReport PassOnly(FileServices& files) {
    std::unique_ptr<OpenedFolder> source;
    std::unique_ptr<OpenedFolder> target;
    EXPECT_TRUE(files.OpenFolder(host_.source, &source).ok());
    EXPECT_TRUE(files.OpenFolder(host_.target, &target).ok());
    if (source == nullptr || target == nullptr) return {};
    return FileConvert(host_, KeyTable::Build(false), {host_.source, host_.target, *source, *target},
                       {.recursive = true});
  }
  bool Has(const fs::path& relative) const {
    std::error_code ignored;
    return fs::symlink_status(root_.path() / relative, ignored).type() != fs::file_type::not_found;
  }
  static std::vector<std::string> Names(const std::vector<FileFailure>& failures) {
    std::vector<std::string> names;
    for (const FileFailure& failure : failures) names.push_back(PathText(failure.name));
    return names;
  }
  static std::string Rel(const std::string& slashed) {
    return PathText(fs::path(slashed).make_preferred());
  }

  TempFolder root_;
  RecordingHost host_;
};

// The target where the walk of the source comes upon it again: the request refuses, and the
// pass on its own never enters it, so it ends by itself and converts nothing twice.
TEST_F(TreeWalkGuardsTest, TheTargetIsNeverEnteredHoweverItIsReached) {
  struct Case {
    const char* what;
    bool real_mount;  // else the folder's id is faked through the file services
  };
  std::vector<Case> cases = {{"a folder of the source that reports the target's id", false}};
#ifndef _WIN32
  cases.push_back({"the target bind-mounted onto an empty folder of the source", true});
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host_.on_do_events = nullptr;
    testing::RemoveTree(root_.path());
    root_.WriteFile("Quelle/P.vbp", "Object=COMCTL32.OCX\n");
    root_.WriteFile("Quelle/Unter/Form1.frm", "Begin ComctlLib.Toolbar\n");
    root_.MakeFolder("Quelle/Unter/Leer");
    root_.MakeFolder("Ziel");
    FaultyFileServices files;
#ifndef _WIN32
    std::unique_ptr<BindMount> bound;
    if (c.real_mount) {
      bound = std::make_unique<BindMount>(root_.path() / "Ziel", root_.path() / "Quelle/Unter/Leer");
      ASSERT_TRUE(bound->mounted()) << "mount --bind: " << bound->error();
      Bound(*bound);
    }
#endif
    if (!c.real_mount) {
      ASSERT_TRUE(files.FakeId("Leer", root_.path() / "Ziel"));
    }
    const auto before = testing::FolderSnapshot(root_.path());

    const RequestResult refused = Convert(files);

    EXPECT_EQ(refused.outcome, Outcome::kRefused);
    EXPECT_EQ(refused.refusal, kRefusalTargetInSource);
    EXPECT_EQ(testing::FolderSnapshot(root_.path()), before) << "nothing may be written";

    // A missing target that would be made in there is refused as well.
    host_.target = FolderPath(root_.path() / "Ziel/Neu");
    const RequestResult missing = Convert(files);
    EXPECT_EQ(missing.refusal, kRefusalTargetInSource);
    EXPECT_FALSE(Has("Ziel/Neu"));
    host_.target = FolderPath(root_.path() / "Ziel");

    // Without the checks, the walk passes the target by.
    const PassReport report = PassOnly(files);
    EXPECT_EQ(report.files_rewritten, 2u);
    EXPECT_EQ(report.folders, 2u) << "the top and Unter, not the target again";
    ASSERT_EQ(report.folder_failures.size(), 1u);
    EXPECT_EQ(PathText(report.folder_failures[0].name), Rel("Unter/Leer"));
    EXPECT_NE(report.folder_failures[0].reason.find("ist zugleich ein Verzeichnis des Ziels"), std::string::npos)
        << report.folder_failures[0].reason;
    EXPECT_EQ(ReadFile(root_.path() / "Ziel/Unter/Form1.frm"), "Begin MSComctlLib.Toolbar\r\n");
  }
}

// A mount of a folder inside itself: the walk never enters a folder twice.
TEST_F(TreeWalkGuardsTest, AFolderReachedASecondTimeIsPassedBy) {
  struct Case {
    const char* what;
    bool real_mount;
  };
  std::vector<Case> cases = {{"a folder that reports the id of a folder above it", false}};
#ifndef _WIN32
  cases.push_back({"the source bind-mounted into itself", true});
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host_.on_do_events = nullptr;
    testing::RemoveTree(root_.path());
    root_.WriteFile("Quelle/P.vbp", "x\n");
    root_.WriteFile("Quelle/Unter/Form1.frm", "x\n");
    root_.MakeFolder("Quelle/Unter/Schleife");
    FaultyFileServices files;
#ifndef _WIN32
    std::unique_ptr<BindMount> bound;
    if (c.real_mount) {
      bound = std::make_unique<BindMount>(root_.path() / "Quelle", root_.path() / "Quelle/Unter/Schleife");
      ASSERT_TRUE(bound->mounted()) << "mount --bind: " << bound->error();
      Bound(*bound);
    }
#endif
    if (!c.real_mount) {
      ASSERT_TRUE(files.FakeId("Schleife", root_.path() / "Quelle"));
    }

    const RequestResult result = Convert(files);

    // Each case runs to its end, so that the mount's case shows it ends by itself.
    EXPECT_EQ(result.outcome, Outcome::kConvertedWithFailures) << result.refusal;
    EXPECT_EQ(result.report.files_rewritten, 2u);
    EXPECT_EQ(result.report.folder_failures.size(), 1u);
    for (const FileFailure& failure : result.report.folder_failures) {
      EXPECT_EQ(PathText(failure.name), Rel("Unter/Schleife"));
      EXPECT_NE(failure.reason.find("schon unter einem anderen Namen"), std::string::npos);
    }
    EXPECT_FALSE(Has("Ziel/Unter/Schleife/Unter"));
  }
}

// A check of nesting that cannot decide refuses, naming why; nothing is made.
TEST_F(TreeWalkGuardsTest, ANestingCheckThatCannotDecideRefuses) {
  struct Case {
    const char* what;
    std::function<void(FaultyFileServices&)> arrange;
    std::string named;  // what the refusal names
  };
  const Case cases[] = {
      {"the way up from the target fails",
       [&](FaultyFileServices& files) { files.ReplaceParent("Ziel", root_.path() / "fehlt"); },
       "fehlt"},
      {"the folder above a missing target cannot be opened",
       [&](FaultyFileServices& files) {
         host_.target = FolderPath(root_.path() / "Oben/Neu");
         root_.MakeFolder("Oben");
         files.FailOpenFolder("Oben", EIO);
       },
       "Ein-/Ausgabefehler"},
      {"the source cannot be listed for its folders",
       [&](FaultyFileServices& files) { files.FailList("Quelle", EACCES); },
       "Zugriff verweigert"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::RemoveTree(root_.path());
    root_.WriteFile("Quelle/P.vbp", "x\n");
    root_.MakeFolder("Ziel");
    host_.target = FolderPath(root_.path() / "Ziel");
    FaultyFileServices files;
    c.arrange(files);
    const auto before = testing::FolderSnapshot(root_.path());

    const RequestResult result = Convert(files);

    EXPECT_EQ(result.outcome, Outcome::kRefused);
    const std::string kUndecided = std::string(kRefusalNestingUnknown) + ": ";
    EXPECT_EQ(result.refusal.rfind(kUndecided, 0), 0u)
        << result.refusal;
    EXPECT_NE(result.refusal.find(c.named), std::string::npos) << result.refusal;
    EXPECT_EQ(testing::FolderSnapshot(root_.path()), before);
  }
}

// A target folder that cannot be made is named by its path below the target and counted on
// its own; every file below it is listed as not transferred.
TEST_F(TreeWalkGuardsTest, ATargetFolderThatCannotBeMadeFailsItsFilesByName) {
  struct Case {
    const char* what;
    std::function<void(FaultyFileServices&)> arrange;
    std::string reason;
  };
  std::vector<Case> cases = {
      {"the target is read-only",
       [&](FaultyFileServices& files) { files.FailMakeFolder("Formulare", EROFS); },
       "Zielverzeichnis [Formulare] kann nicht angelegt werden (Dateisystem ist schreibgeschützt)"},
  };
  // Under Wine a link is seen as what it leads to; elsewhere a link stands in the target.
  if (testing::LinksAreSeenAsLinks()) {
    cases.insert(cases.end(), {
      {"a link to a folder outside stands in the target",
       [&](FaultyFileServices&) {
         testing::MakeLink(root_.path() / "Draussen", root_.path() / "Ziel/Formulare", /*folder=*/true);
       },
       "Zielverzeichnis [Formulare] kann nicht angelegt werden (existiert bereits)"},
      {"a dangling link stands in the target",
       [&](FaultyFileServices&) { testing::MakeLink("nirgends", root_.path() / "Ziel/Formulare"); },
       "Zielverzeichnis [Formulare] kann nicht angelegt werden (existiert bereits)"},
    });
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::RemoveTree(root_.path());
    root_.WriteFile("Quelle/P.vbp", "x\n");
    root_.WriteFile("Quelle/Formulare/Form1.frm", "Begin ComctlLib.Toolbar\n");
    root_.WriteFile("Quelle/Formulare/Bild.frx", "x");
    root_.WriteFile("Quelle/Formulare/Tief/Modul.bas", "x\n");
    root_.WriteFile("Quelle/Zuletzt/Z.bas", "x\n");
    root_.MakeFolder("Draussen");
    root_.MakeFolder("Ziel");
    FaultyFileServices files;
    c.arrange(files);

    const RequestResult result = Convert(files);

    ASSERT_EQ(result.outcome, Outcome::kConvertedWithFailures) << result.refusal;
    const PassReport& report = result.report;
    EXPECT_TRUE(report.folder_failures.empty()) << "not a problem of the source";
    ASSERT_EQ(report.target_folder_failures.size(), 1u);
    EXPECT_EQ(PathText(report.target_folder_failures[0].name), "Formulare");
    EXPECT_EQ(report.target_folder_failures[0].reason, c.reason);
    EXPECT_EQ(Names(report.failures),
              (std::vector<std::string>{Rel("Formulare/Bild.frx"), Rel("Formulare/Form1.frm"),
                                        Rel("Formulare/Tief/Modul.bas")}));
    for (const FileFailure& failure : report.failures) {
      EXPECT_EQ(failure.reason, "Zielverzeichnis [Formulare] konnte nicht angelegt werden");
    }
    EXPECT_EQ(report.files_rewritten, 2u) << "P.vbp and Zuletzt/Z.bas: the walk goes on";
    EXPECT_EQ(report.files_copied, 0u);
    EXPECT_EQ(report.folders, 2u) << "the top and Zuletzt";
    EXPECT_TRUE(fs::is_empty(root_.path() / "Draussen")) << "a link in the target is never followed";
    ASSERT_FALSE(host_.progress.empty());
    EXPECT_EQ(host_.progress.back().files_done, 5u);
    EXPECT_EQ(host_.progress.back().files_total, 5u);
    const std::vector<std::string> lines = FailureLines(report);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], c.reason);
    EXPECT_NE(FailureMessage(report).find(c.reason), std::string::npos);
  }
}

// A folder of the target that is a folder of the source (a mount): the request refuses, and
// the pass on its own writes nothing into it.
TEST_F(TreeWalkGuardsTest, ATargetFolderThatIsASourceFolderIsNeverWritten) {
  root_.WriteFile("Quelle/P.vbp", "x\n");
  root_.WriteFile("Quelle/Formulare/Form1.frm", "x\n");
  root_.MakeFolder("Ziel/Formulare");
  FaultyFileServices files;
  ASSERT_TRUE(files.FakeId("Formulare", root_.path() / "Quelle/Formulare"));  // both sides' Formulare

  const RequestResult result = Convert(files);
  EXPECT_EQ(result.refusal, kRefusalTargetInSource);

  const PassReport report = PassOnly(files);
  ASSERT_EQ(report.target_folder_failures.size(), 1u);
  EXPECT_EQ(report.target_folder_failures[0].reason,
            "Zielverzeichnis [Formulare] kann nicht angelegt werden (ist zugleich ein Verzeichnis der Quelle)");
  EXPECT_EQ(Names(report.failures), std::vector<std::string>{Rel("Formulare/Form1.frm")});
  EXPECT_FALSE(Has("Ziel/Formulare/Form1.frm"));
}

// The walk's own checks, each reached by a fault injected at the moment it guards against.
TEST_F(TreeWalkGuardsTest, TheWalkKeepsToTheFoldersItListed) {
  // A subfolder that cannot be listed is named and passed by; the walk goes on after it.
  {
    SCOPED_TRACE("a subfolder that cannot be listed");
    root_.WriteFile("Quelle/P.vbp", "x\n");
    root_.WriteFile("Quelle/A/a.bas", "x\n");
    root_.WriteFile("Quelle/Gesperrt/g.bas", "x\n");
    root_.WriteFile("Quelle/Z/z.bas", "x\n");
    FaultyFileServices files;
    files.FailList("Gesperrt", EACCES);

    const RequestResult result = Convert(files);

    ASSERT_EQ(result.outcome, Outcome::kConvertedWithFailures) << result.refusal;
    ASSERT_EQ(result.report.folder_failures.size(), 1u);
    EXPECT_EQ(PathText(result.report.folder_failures[0].name), "Gesperrt");
    EXPECT_NE(result.report.folder_failures[0].reason.find("Zugriff verweigert"), std::string::npos);
    EXPECT_EQ(result.report.files_rewritten, 3u);
    EXPECT_EQ(ReadFile(root_.path() / "Ziel/Z/z.bas"), "x\r\n");
    EXPECT_FALSE(Has("Ziel/Gesperrt/g.bas"));
  }
  // Going back up leads into another folder: the walk stops before it reads a thing there.
  {
    SCOPED_TRACE("the parent is another folder after climbing back");
    testing::RemoveTree(root_.path());
    root_.WriteFile("Quelle/P.vbp", "x\n");
    root_.WriteFile("Quelle/A/Unter/u.bas", "x\n");
    root_.WriteFile("Quelle/A/Z/z.bas", "x\n");
    root_.WriteFile("Draussen/Z/fremd.bas", "x\n");
    FaultyFileServices files;
    files.ReplaceParent("Unter", root_.path() / "Draussen");

    const RequestResult result = Convert(files);

    ASSERT_EQ(result.outcome, Outcome::kConvertedWithFailures) << result.refusal;
    ASSERT_EQ(result.report.folder_failures.size(), 1u);
    EXPECT_EQ(PathText(result.report.folder_failures[0].name), "A");
    EXPECT_NE(result.report.folder_failures[0].reason.find("verschoben oder ersetzt"), std::string::npos);
    EXPECT_FALSE(Has("Ziel/A/Z/fremd.bas")) << "nothing of another folder is read";
    EXPECT_EQ(ReadFile(root_.path() / "Ziel/A/Unter/u.bas"), "x\r\n");
  }
  // A folder swapped for a link between its listing and its opening is not followed (under
  // Wine a link is seen as what it leads to).
  if (testing::LinksAreSeenAsLinks()) {
    SCOPED_TRACE("a subfolder swapped for a link");
    testing::RemoveTree(root_.path());
    root_.WriteFile("Quelle/P.vbp", "x\n");
    root_.WriteFile("Quelle/Tausch/t.bas", "x\n");
    root_.WriteFile("Draussen/fremd.bas", "x\n");
    // The top folder's listing is taken before its first file, whose pause swaps the folder.
    const fs::path swapped = root_.path() / "Quelle/Tausch";
    host_.on_do_events = [&] {
      if (!fs::is_directory(fs::symlink_status(swapped))) return;
      fs::rename(swapped, root_.path() / "Beiseite");
      testing::MakeLink(root_.path() / "Draussen", swapped, /*folder=*/true);
    };

    const RequestResult result = Convert();
    host_.on_do_events = nullptr;

    ASSERT_EQ(result.outcome, Outcome::kConvertedWithFailures) << result.refusal;
    ASSERT_EQ(result.report.folder_failures.size(), 1u);
    EXPECT_EQ(PathText(result.report.folder_failures[0].name), "Tausch");
    EXPECT_FALSE(Has("Ziel/Tausch/fremd.bas")) << "the link was followed";
    EXPECT_EQ(result.report.files_rewritten, 1u);
  }
  // A target made for the pass that gains a file before the pass starts is refused.
  {
    SCOPED_TRACE("the freshly made target is no longer empty");
    testing::RemoveTree(root_.path());
    root_.WriteFile("Quelle/P.vbp", "x\n");
    host_.target = FolderPath(root_.path() / "Neu");
    FaultyFileServices files;
    const fs::path made = root_.path() / "Neu";
    files.after_make_folder = [&](const fs::path& folder) {
      if (PathText(folder).rfind(PathText(made), 0) == 0) root_.WriteFile("Neu/fremd.txt", "x");
    };

    const RequestResult result = Convert(files);

    EXPECT_EQ(result.outcome, Outcome::kRefused);
    EXPECT_EQ(result.refusal, kRefusalTargetNotEmpty);
    EXPECT_FALSE(Has("Neu/P.vbp"));
    host_.target = FolderPath(root_.path() / "Ziel");
  }
}

}  // namespace
}  // namespace tavrin
