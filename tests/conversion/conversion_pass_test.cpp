#include "conversion/conversion_pass.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "conversion/folder_path.h"
#include "runtime/dialog_services.h"
#include "runtime/path_text.h"
#include "tests/support/faulty_file_services.h"
#include "tests/support/platform_entries.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

using testing::FaultyFileServices;
using testing::ReadFile;
using testing::RecordingHost;
using testing::TempFolder;

class ConversionPassTest : public ::testing::Test {
 protected:
  ConversionPassTest() : keys_(KeyTable::Build()) {
    source_ = root_.MakeFolder("Quelle");
    target_ = root_.MakeFolder("Ziel");
    host_.source = FolderPath(source_);
    host_.target = FolderPath(target_);
  }

  // Opens the folders the host shows through `files` and runs the pass on them.
  PassReport Run(FileServices& files) {
    std::unique_ptr<OpenedFolder> source;
    std::unique_ptr<OpenedFolder> target;
    EXPECT_TRUE(files.OpenFolder(host_.source, &source).ok());
    EXPECT_TRUE(files.OpenFolder(host_.target, &target).ok());
    if (source == nullptr || target == nullptr) return {};
    return FileConvert(host_, keys_, {host_.source, host_.target, *source, *target});
  }
  PassReport Run() { return Run(DiskFileServices()); }

  std::string Target(const std::string& name) { return ReadFile(target_ / name); }
  bool TargetHas(const std::string& name) {
    std::error_code ignored;
    return std::filesystem::symlink_status(target_ / name, ignored).type() != std::filesystem::file_type::not_found;
  }

  TempFolder root_;
  std::filesystem::path source_;
  std::filesystem::path target_;
  RecordingHost host_;
  KeyTable keys_;
};

TEST_F(ConversionPassTest, RewritesProjectTextAndCopiesEverythingElse) {
  const std::string binary("Comctl\0ComctlLib.\r\x80\n\r", 22);
  root_.WriteFile("Quelle/Projekt1.vbp", "Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX\r\n");
  root_.WriteFile("Quelle/Form1.FRM", "Begin ComctlLib.Toolbar Toolbar1\nEnd\rLast");
  root_.WriteFile("Quelle/Form1.frx", binary);
  root_.WriteFile("Quelle/Projekt1.vbw", "Form1 = 0, 0\n");
  root_.WriteFile("Quelle/Form1.alt.frm", "ComctlLib.\n");
  root_.WriteFile("Quelle/Liesmich", "a\nComctlLib.");
  root_.WriteFile("Quelle/Leer.bas", "");

  const PassReport report = Run();

  EXPECT_TRUE(report.ok());
  EXPECT_EQ(Target("Projekt1.vbp"), "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n");
  EXPECT_EQ(Target("Form1.FRM"), "Begin MSComctlLib.Toolbar Toolbar1\r\nEnd\r\nLast\r\n");
  EXPECT_EQ(Target("Form1.frx"), binary);
  EXPECT_EQ(Target("Projekt1.vbw"), "Form1 = 0, 0\n");
  EXPECT_EQ(Target("Form1.alt.frm"), "ComctlLib.\n");
  EXPECT_EQ(Target("Liesmich"), "a\nComctlLib.");  // no suffix: copied
  EXPECT_EQ(Target("Leer.bas"), "");
  EXPECT_EQ(report.files_rewritten, 3u);
  EXPECT_EQ(report.files_copied, 4u);
  EXPECT_EQ(report.lines_changed, 2u);
  EXPECT_EQ(report.replacements[1], 1u);
  EXPECT_EQ(report.replacements[6], 1u);
  EXPECT_EQ(report.replacements[7], 1u);
}

// Only the nine suffixes themselves mark project text. A program without a suffix, with LF
// bytes in it, must come out byte for byte, not with every LF made CR LF.
TEST_F(ConversionPassTest, CopiesEveryFileWithoutOneOfTheNineSuffixesByteForByte) {
  const std::string bytes("MZ\x90\0\nComctlLib.\r\n\n\r\xff COMCTL32.OCX\n", 34);
  const struct {
    const char* name;
    bool rewritten;
  } cases[] = {
      {"AllDay DJ", false}, {"COPYING", false},   {"Name.", false},     {"x.c", false},
      {"x.s", false},       {"x.bp", false},      {"x.vb", false},      {"x.frm cls", false},
      {"Form1.alt.frm", false}, {"x.FRM", true},  {"y.Frm", true},      {"x.wct", true},
  };
  for (const auto& c : cases) root_.WriteFile(std::string("Quelle/") + c.name, bytes);

  const PassReport report = Run();

  EXPECT_TRUE(report.ok());
  std::uint64_t rewritten = 0;
  for (const auto& c : cases) {
    if (c.rewritten) {
      EXPECT_EQ(Target(c.name), std::string("MZ\x90\0\r\nMSComctlLib.\r\n\r\n\r\n\xff MSCOMCTL.OCX\r\n", 40)) << c.name;
      ++rewritten;
    } else {
      EXPECT_EQ(Target(c.name), bytes) << c.name;
    }
  }
  EXPECT_EQ(report.files_rewritten, rewritten);
  EXPECT_EQ(report.files_copied, std::size(cases) - rewritten);
  std::uint64_t marked = 0;
  for (const TransferredFile& file : report.transferred) marked += file.rewritten ? 1 : 0;
  EXPECT_EQ(marked, rewritten);
}

TEST_F(ConversionPassTest, LeavesSubfoldersHiddenFilesAndTheSourceAlone) {
  root_.WriteFile("Quelle/Projekt1.vbp", "Type=Exe\n");
  testing::Hide(root_.WriteFile("Quelle/.versteckt.frm", "x\n"));
  root_.WriteFile("Quelle/Unterordner/Form2.frm", "x\n");
  const auto before = std::filesystem::last_write_time(source_ / "Projekt1.vbp");

  Run();

  EXPECT_TRUE(TargetHas("Projekt1.vbp"));
  EXPECT_FALSE(TargetHas(".versteckt.frm"));
  EXPECT_FALSE(TargetHas("Unterordner"));
  EXPECT_EQ(ReadFile(source_ / "Projekt1.vbp"), "Type=Exe\n");
  EXPECT_EQ(std::filesystem::last_write_time(source_ / "Projekt1.vbp"), before);
}

TEST_F(ConversionPassTest, TalksToTheHostInTheRightOrder) {
  root_.WriteFile("Quelle/A.frx", "bin");
  root_.WriteFile("Quelle/B.frm", "eins\r\nzwei\r\n");
  const std::string target_file = PathText(host_.target) + "B.frm";

  Run();

  const std::vector<std::string> expected = {
      "Pointer 11",
      "WriteInfo A.frx 0",
      "WriteInfo B.frm 0",
      "DoEvents",
      "WriteInfo " + target_file + " 1",
      "WriteInfo " + target_file + " 2",
      "WriteInfo Konvertierung abgeschlossen... 0",
      "Dir2_Change",
      "Pointer 0",
  };
  EXPECT_EQ(host_.events, expected);
}

TEST_F(ConversionPassTest, AHostWithoutLineCaptionsGetsOnlyTheFileAndClosingCaptions) {
  root_.WriteFile("Quelle/B.frm", "eins\r\nComctlLib.\r\n");
  host_.line_captions = false;

  const PassReport report = Run();

  EXPECT_EQ(host_.EventsStartingWith("WriteInfo"),
            (std::vector<std::string>{"WriteInfo B.frm 0", "WriteInfo Konvertierung abgeschlossen... 0"}));
  EXPECT_EQ(Target("B.frm"), "eins\r\nMSComctlLib.\r\n");
  EXPECT_EQ(report.lines_changed, 1u);
}

TEST_F(ConversionPassTest, WithOrWithoutLineCaptionsTheTextComesOutTheSame) {
  // Large enough for several reads, with clean stretches, replacements and stray line ends.
  std::string content;
  for (int i = 0; i < 40000; ++i) {
    content += "Zeile " + std::to_string(i);
    if (i % 997 == 0) content += " ComctlLib.X";
    if (i % 1999 == 0) content += " MSComCtl2.Y";
    content += i % 1501 == 0 ? "\n" : (i % 2003 == 0 ? "\r" : "\r\n");
  }
  root_.WriteFile("Quelle/Gross.frm", content);
  host_.record_lines = false;

  const PassReport with_captions = Run();
  const std::string expected = Target("Gross.frm");
  std::filesystem::remove(target_ / "Gross.frm");
  host_.line_captions = false;
  const PassReport without_captions = Run();

  EXPECT_EQ(Target("Gross.frm"), expected);
  EXPECT_EQ(without_captions.lines_changed, with_captions.lines_changed);
  EXPECT_EQ(without_captions.replacements, with_captions.replacements);
  EXPECT_EQ(with_captions.lines_changed, 41u);
  EXPECT_EQ(expected.find("\n\n"), std::string::npos);
  EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 40000);
  EXPECT_EQ(std::count(expected.begin(), expected.end(), '\r'), 40000);
}

TEST_F(ConversionPassTest, EmptyOrUnlistableSourceStillEndsCleanly) {
  Run();  // nothing to do
  EXPECT_EQ(host_.events.back(), "Pointer 0");
  EXPECT_EQ(host_.EventsStartingWith("WriteInfo Konvertierung abgeschlossen...").size(), 1u);

  host_.events.clear();
  root_.WriteFile("Quelle/Form1.frm", "x\n");
  FaultyFileServices files;
  files.FailList("Quelle", EIO);
  const PassReport report = Run(files);
  EXPECT_TRUE(report.failures.empty()) << "a folder is not counted as a file";
  ASSERT_EQ(report.folder_failures.size(), 1u);
  EXPECT_EQ(report.folder_failures[0].name, host_.source);
  EXPECT_NE(report.folder_failures[0].reason.find("Quelle" + testing::Separator() + "] kann nicht gelesen werden"),
            std::string::npos)
      << report.folder_failures[0].reason;
  EXPECT_FALSE(TargetHas("Form1.frm"));
  EXPECT_EQ(host_.EventsStartingWith("WriteInfo Konvertierung mit Fehlern abgeschlossen...").size(), 1u);
  EXPECT_EQ(host_.EventsStartingWith("Dir2_Change").size(), 1u);
  EXPECT_EQ(host_.events.back(), "Pointer 0");
}

TEST_F(ConversionPassTest, NeverWritesThroughAnExistingEntry) {
  root_.WriteFile("Quelle/Form1.frm", "neu\n");
  root_.WriteFile("Quelle/Form1.frx", "neu");
  root_.WriteFile("Quelle/Modul1.bas", "neu\n");
  root_.WriteFile("Quelle/Klasse1.cls", "neu\n");
  const auto outside = root_.WriteFile("draussen.txt", "alt");
  testing::MakeLink(outside, target_ / "Form1.frm");
  testing::MakeLink(outside, target_ / "Form1.frx");
  testing::MakeLink(root_.path() / "fehlt", target_ / "Modul1.bas");  // dangling
  std::filesystem::create_directory(target_ / "Klasse1.cls");

  const PassReport report = Run();

  EXPECT_EQ(ReadFile(outside), "alt");
  EXPECT_FALSE(std::filesystem::exists(root_.path() / "fehlt"));
  EXPECT_TRUE(std::filesystem::is_directory(target_ / "Klasse1.cls"));
  EXPECT_TRUE(std::filesystem::is_empty(target_ / "Klasse1.cls"));
  ASSERT_EQ(report.failures.size(), 4u);
  for (const FileFailure& failure : report.failures) EXPECT_FALSE(failure.reason.empty()) << failure.name;
  // The entries that were there are left as they were.
  EXPECT_EQ(ReadFile(target_ / "Form1.frm"), "alt");
  EXPECT_TRUE(TargetHas("Modul1.bas") || testing::kWindows) << "Wine shows no dangling link";
}

TEST_F(ConversionPassTest, ASourceThatFailsWhileReadingLeavesNoPartialFile) {
  FaultyFileServices files;
  root_.WriteFile("Quelle/Form1.frm", std::string(200000, 'x') + "\n");
  root_.WriteFile("Quelle/Form2.frm", "gut\n");
  files.FailReadAfter("Form1.frm", 70000, EIO);

  const PassReport report = Run(files);

  ASSERT_EQ(report.failures.size(), 1u);
  EXPECT_EQ(report.failures[0].name, "Form1.frm");
  EXPECT_NE(report.failures[0].reason.find("Ein-/Ausgabefehler"), std::string::npos) << report.failures[0].reason;
  EXPECT_FALSE(TargetHas("Form1.frm"));
  EXPECT_EQ(Target("Form2.frm"), "gut\r\n");
  EXPECT_EQ(host_.EventsStartingWith("WriteInfo Konvertierung mit Fehlern abgeschlossen...").size(), 1u);
}

TEST_F(ConversionPassTest, ATargetThatCannotBeCreatedMeansTheSourceIsNotRead) {
  FaultyFileServices files;
  root_.WriteFile("Quelle/Form1.frm", "a\nb\n");
  files.FailCreateOutput("Form1.frm", ENOSPC);
  host_.record_lines = true;

  const PassReport report = Run(files);

  ASSERT_EQ(report.failures.size(), 1u);
  EXPECT_TRUE(host_.EventsStartingWith("WriteInfo " + PathText(host_.target) + "Form1.frm").empty());
  EXPECT_FALSE(TargetHas("Form1.frm"));
}

TEST_F(ConversionPassTest, FailedWritesClosesAndCopiesAreRecordedAndCleanedUp) {
  FaultyFileServices files;
  root_.WriteFile("Quelle/Voll.frm", std::string(300000, 'y') + "\n");
  root_.WriteFile("Quelle/Zu.bas", "x\n");
  root_.WriteFile("Quelle/Bild.frx", std::string(5000, 'z'));
  root_.WriteFile("Quelle/Gut.cls", "gut\n");
  files.FailWriteAfter("Voll.frm", 100000, ENOSPC);
  files.FailClose("Zu.bas", EIO);
  files.FailWriteAfter("Bild.frx", 1000, ENOSPC);

  const PassReport report = Run(files);

  ASSERT_EQ(report.failures.size(), 3u);
  EXPECT_EQ(report.failures[0].name, "Bild.frx");
  EXPECT_EQ(report.failures[1].name, "Voll.frm");
  EXPECT_EQ(report.failures[2].name, "Zu.bas");
  EXPECT_FALSE(TargetHas("Voll.frm"));
  EXPECT_FALSE(TargetHas("Zu.bas"));
  EXPECT_FALSE(TargetHas("Bild.frx"));
  EXPECT_EQ(Target("Gut.cls"), "gut\r\n");
  EXPECT_EQ(report.files_rewritten, 1u);
  EXPECT_EQ(report.files_copied, 0u);
}

// A stop asked of the pass ends it at the next piece of the file at hand: the files before it
// are complete, that file leaves nothing (not even its temporary), no later file is touched,
// and nothing counts as failed.
TEST_F(ConversionPassTest, AStopEndsThePassWithOnlyCompleteFilesInTheTarget) {
  root_.WriteFile("Quelle/A.frm", "Begin ComctlLib.Toolbar T\n");
  const std::string big_text(1024 * 1024, 'x');
  root_.WriteFile("Quelle/B.frm", big_text);
  root_.WriteFile("Quelle/C.frx", std::string(3 * 1024 * 1024, 'c'));
  root_.WriteFile("Quelle/D.frm", "d\n");
  // True once the progress names `name` with at least `least_bytes` done in all.
  const auto at = [this](const char* name, std::uint64_t least_bytes) {
    return [this, name, least_bytes] {
      return !host_.progress.empty() && host_.progress.back().current == PathFromText(name).native() &&
             host_.progress.back().bytes_done >= least_bytes;
    };
  };
  const struct {
    const char* label;
    std::function<bool()> stop;
    std::vector<std::string> complete;  // the files in the target afterwards
  } cases[] = {
      {"before the first file", [] { return true; }, {}},
      {"in the middle of a text file", at("B.frm", 64 * 1024), {"A.frm"}},
      {"at the start of a copy", at("C.frx", 0), {"A.frm", "B.frm"}},
      {"never", nullptr, {"A.frm", "B.frm", "C.frx", "D.frm"}},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.label);
    for (const std::string& name : testing::EntryNames(target_)) std::filesystem::remove(target_ / name);
    host_.progress.clear();
    host_.stop = test.stop;
    bool stopped_mid_file = false;
    if (std::string_view(test.label) == "in the middle of a text file") {
      host_.stop = [&, inner = test.stop] {
        if (!inner()) return false;
        // The pass must be inside B.frm with its temporary already written to.
        for (const std::string& name : testing::EntryNames(target_)) {
          if (testing::IsTemporaryName(name)) stopped_mid_file = std::filesystem::file_size(target_ / name) > 0;
        }
        return true;
      };
    }

    const PassReport report = Run();

    EXPECT_EQ(report.stopped, test.stop != nullptr);
    EXPECT_TRUE(report.failures.empty());
    EXPECT_EQ(testing::EntryNames(target_), test.complete);
    ASSERT_EQ(report.transferred.size(), test.complete.size());
    for (std::size_t i = 0; i < test.complete.size(); ++i) {
      EXPECT_EQ(PathText(report.transferred[i].relative), test.complete[i]);
    }
    if (!test.complete.empty()) {
      EXPECT_EQ(Target("A.frm"), "Begin MSComctlLib.Toolbar T\r\n");
    }
    if (test.complete.size() >= 2) {
      EXPECT_EQ(Target("B.frm"), big_text + "\r\n");
    }
    if (std::string_view(test.label) == "in the middle of a text file") {
      EXPECT_TRUE(stopped_mid_file);
    }
  }
}

TEST_F(ConversionPassTest, FilesThatVanishOrChangeKindMidPassFailAlone) {
  FaultyFileServices files;
  root_.WriteFile("Quelle/A.frm", "a\n");
  root_.WriteFile("Quelle/B.frm", "b\n");
  root_.WriteFile("Quelle/C.frx", "c");
  root_.WriteFile("Quelle/D.frm", "d\n");
  files.before_read = [&](const std::filesystem::path& from) {
    if (from.filename() == "B.frm") std::filesystem::remove(from);
    if (from.filename() == "C.frx") {
      std::filesystem::remove(from);
      std::filesystem::create_directory(from);  // a folder where a file was
    }
  };

  const PassReport report = Run(files);

  ASSERT_EQ(report.failures.size(), 2u);
  EXPECT_EQ(report.failures[0].name, "B.frm");
  EXPECT_EQ(report.failures[1].name, "C.frx");
  EXPECT_EQ(Target("A.frm"), "a\r\n");
  EXPECT_EQ(Target("D.frm"), "d\r\n");
  EXPECT_FALSE(TargetHas("B.frm"));
  EXPECT_FALSE(TargetHas("C.frx"));
}

TEST_F(ConversionPassTest, NamesWithOddBytesKeepTheirBytes) {
  // Windows-1252 bytes and a tab where names are bytes; where they are UTF-16, letters of
  // other scripts (a tab is no letter of a Windows name).
  const std::vector<std::string> names =
      testing::kWindows
          ? std::vector<std::string>{"Gr\xc3\xbc\xc3\x9f" "e.frm", "\xc3\x84nderung.frx", "Leer zeichen.bas",
                                     "\xd0\x9a\xd0\xbb\xd0\xb0\xd1\x81\xd1\x81.cls"}
          : std::vector<std::string>{"Gr\xfc\xdf" "e.frm", "\xe4nderung.frx", "Leer zeichen.bas", "Tab\tName.cls"};
  for (const std::string& name : names) root_.WriteFile(source_ / PathFromText(name), "ComctlLib.\n");

  const PassReport report = Run();

  EXPECT_TRUE(report.ok());
  EXPECT_EQ(ReadFile(target_ / PathFromText(names[0])), "MSComctlLib.\r\n");
  EXPECT_EQ(ReadFile(target_ / PathFromText(names[1])), "ComctlLib.\n");
  EXPECT_EQ(ReadFile(target_ / PathFromText(names[2])), "MSComctlLib.\r\n");
  EXPECT_EQ(ReadFile(target_ / PathFromText(names[3])), "MSComctlLib.\r\n");
}

TEST_F(ConversionPassTest, EventsDuringThePassCannotRedirectIt) {
  TempFolder other;
  other.WriteFile("Fremd.frm", "fremd\n");
  root_.WriteFile("Quelle/A.frm", "a\n");
  root_.WriteFile("Quelle/B.frm", "b\n");
  int nested = 0;
  host_.on_do_events = [&] {
    ++nested;
    // A nested event picks other folders and adds a file to the source.
    host_.source = other.folder_path();
    host_.target = other.folder_path();
    root_.WriteFile("Quelle/Neu.frm", "neu\n");
  };

  Run();

  EXPECT_EQ(nested, 2);
  EXPECT_EQ(Target("A.frm"), "a\r\n");
  EXPECT_EQ(Target("B.frm"), "b\r\n");
  EXPECT_FALSE(TargetHas("Neu.frm"));  // the listing was taken before the first file
  EXPECT_FALSE(std::filesystem::exists(other.path() / "A.frm"));
}

TEST_F(ConversionPassTest, LongLinesAndAllLineEndsSurvive) {
  std::string content;
  std::string expected;
  for (int i = 0; i < 2000; ++i) {
    const std::string line = std::string(static_cast<std::size_t>(i % 97), 'a') + "ComCtl2.x" + std::to_string(i);
    const char* ends[] = {"\r\n", "\n", "\r"};
    content += line + ends[i % 3];
    expected += std::string(static_cast<std::size_t>(i % 97), 'a') + "MSComCtl2.x" + std::to_string(i) + "\r\n";
  }
  const std::string long_line(3 * 1024 * 1024, 'L');
  content += long_line;  // last line without line end, longer than any buffer
  expected += long_line + "\r\n";
  root_.WriteFile("Quelle/Gross.frm", content);
  host_.record_lines = false;

  const PassReport report = Run();

  EXPECT_TRUE(report.ok());
  EXPECT_EQ(Target("Gross.frm"), expected);
  EXPECT_EQ(report.lines_changed, 2000u);
  EXPECT_EQ(report.replacements[14], 2000u);
}


#ifndef _WIN32  // pseudo-files of /proc exist only on Linux
TEST_F(ConversionPassTest, HostileEntriesFailAloneAndEverythingElseIsTransferred) {
  root_.WriteFile("Quelle/A.frm", "a\n");
  root_.WriteFile("Quelle/Z.frx", "z");
  const struct {
    const char* name;
    std::string pointee;
    const char* reason;  // empty: skipped like a dangling link, no failure
  } entries[] = {
      {"endlos.frx", "/proc/self/pagemap", "Quelldatei hat sich während des Lesens verändert"},
      {"endlos.frm", "/proc/self/pagemap", "Quelldatei hat sich während des Lesens verändert"},
      {"speicher.frx", "/proc/self/mem", "Quelldatei kann nicht gelesen werden (Ein-/Ausgabefehler)"},
      {"kmsg.frx", "/proc/kmsg", nullptr},  // fails one way or another, but never blocks
      {"zulang.vbp", std::string(300, 'n'), ""},
      {"schleife.frm", "schleife.frm", ""},
  };
  for (const auto& entry : entries) std::filesystem::create_symlink(entry.pointee, source_ / entry.name);
  FaultyFileServices files;
  files.FailExamine("Z.frx", EIO);
  files.ThrowOnRead("A.frm");
  root_.WriteFile("Quelle/B.frm", "b\n");
  alarm(60);  // a read that blocks ends the test instead of hanging the suite

  const PassReport report = Run(files);

  alarm(0);
  std::map<std::string, std::string> failed;
  for (const FileFailure& failure : report.failures) failed[PathText(failure.name)] = failure.reason;
  for (const auto& entry : entries) {
    SCOPED_TRACE(entry.name);
    EXPECT_FALSE(TargetHas(entry.name));
    if (entry.reason == nullptr) {
      EXPECT_EQ(failed.count(entry.name), 1u);
    } else if (*entry.reason == '\0') {
      EXPECT_EQ(failed.count(entry.name), 0u);
    } else {
      EXPECT_EQ(failed[entry.name], entry.reason);
    }
  }
  EXPECT_EQ(failed["Z.frx"], "Quelldatei kann nicht gelesen werden (Ein-/Ausgabefehler)");
  EXPECT_EQ(failed["A.frm"], "Nicht genügend Hauptspeicher");
  EXPECT_FALSE(TargetHas("A.frm")) << "the partial target of a file that ran out of memory";
  EXPECT_EQ(Target("B.frm"), "b\r\n");
  EXPECT_EQ(report.failures.size(), 6u);
  EXPECT_TRUE(report.folder_failures.empty());
}
#endif

// A read that would have to wait fails at once and says so, wherever in the file it comes.
TEST_F(ConversionPassTest, AReadThatWouldWaitFailsWithItsOwnReason) {
  root_.WriteFile("Quelle/Warten.frm", std::string(100000, 'w') + "\n");
  root_.WriteFile("Quelle/Warten.frx", std::string(100000, 'w'));
  root_.WriteFile("Quelle/Sofort.frm", "s\n");
  root_.WriteFile("Quelle/Danach.bas", "d\n");
  FaultyFileServices files;
  files.FailReadAfter("Warten.frm", 70000, EAGAIN);
  files.FailReadAfter("Warten.frx", 0, EAGAIN);
  files.FailReadAfter("Sofort.frm", 0, EAGAIN);

  const PassReport report = Run(files);

  ASSERT_EQ(report.failures.size(), 3u);
  for (const FileFailure& failure : report.failures) {
    EXPECT_EQ(failure.reason, "Quelldatei kann nicht gelesen werden (Ressource vorübergehend nicht verfügbar)")
        << PathText(failure.name);
    EXPECT_FALSE(TargetHas(PathText(failure.name)));
  }
  EXPECT_EQ(Target("Danach.bas"), "d\r\n");
}

TEST_F(ConversionPassTest, ATargetSwappedForALinkMidPassDoesNotRedirectWrites) {
  root_.WriteFile("Quelle/A.frm", "a\n");
  root_.WriteFile("Quelle/B.frm", std::string(100000, 'b') + "\n");
  root_.WriteFile("Quelle/C.frx", "c");
  const std::filesystem::path elsewhere = root_.MakeFolder("Anders");
  root_.WriteFile("Anders/B.frm", "fremd");
  FaultyFileServices files;
  files.FailReadAfter("B.frm", 70000, EIO);  // its partial target is removed: the right one
  bool swapped = false;
  bool renamed = false;
  host_.on_do_events = [&] {
    if (swapped) return;
    swapped = true;
    // Windows refuses to rename a folder that the pass holds open; elsewhere it is renamed
    // and a link put in its place.
    std::error_code error;
    std::filesystem::rename(target_, root_.path() / "Ziel.alt", error);
    renamed = !error;
    if (renamed) testing::MakeLink(elsewhere, target_, /*folder=*/true);
  };

  const PassReport report = Run(files);

  ASSERT_TRUE(swapped);
  EXPECT_EQ(renamed, !testing::kWindows);
  const std::filesystem::path written = renamed ? root_.path() / "Ziel.alt" : target_;
  ASSERT_EQ(report.failures.size(), 1u);
  EXPECT_EQ(ReadFile(written / "A.frm"), "a\r\n");
  EXPECT_EQ(ReadFile(written / "C.frx"), "c");
  EXPECT_FALSE(std::filesystem::exists(written / "B.frm"));
  EXPECT_EQ(ReadFile(elsewhere / "B.frm"), "fremd");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(elsewhere), {}), 1);
}

TEST_F(ConversionPassTest, ProgressAdvancesToTheTotalsAndFailedFilesCountForNothing) {
  root_.WriteFile("Quelle/Gross.frm", std::string(300000, 'g') + "\r\nComctlLib.\r\n");
  root_.WriteFile("Quelle/Halb.frm", "ComctlLib.\r\nCOMCTL32.OCX\r\n" + std::string(200000, 'h') + "\r\n");
  root_.WriteFile("Quelle/Klein.frx", "k");
  FaultyFileServices files;
  files.FailReadAfter("Halb.frm", 100000, EIO);  // fails after its replacements were made

  const PassReport report = Run(files);

  ASSERT_EQ(report.failures.size(), 1u);
  EXPECT_EQ(report.lines_changed, 1u);
  KeyTable::Counts expected{};
  expected[7] = 1;
  EXPECT_EQ(report.replacements, expected);
  const std::vector<PassProgress>& progress = host_.progress;
  ASSERT_GT(progress.size(), 5u) << "a large file reports while it is read";
  for (std::size_t i = 1; i < progress.size(); ++i) {
    EXPECT_GE(progress[i].files_done, progress[i - 1].files_done);
    EXPECT_GE(progress[i].bytes_done, progress[i - 1].bytes_done);
  }
  EXPECT_EQ(progress.back().files_done, 3u);
  EXPECT_EQ(progress.back().files_total, 3u);
  EXPECT_EQ(progress.back().bytes_done, progress.back().bytes_total);
  EXPECT_EQ(progress.back().bytes_total, 300014u + 200028u + 1u);
  EXPECT_GT(progress[2].bytes_done, 0u);
  EXPECT_LT(progress[2].bytes_done, 300014u);
}

}  // namespace
}  // namespace tavrin
