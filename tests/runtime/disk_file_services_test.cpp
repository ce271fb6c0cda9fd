#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else  // entries and limits that only POSIX systems have
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "runtime/file_services.h"
#include "runtime/listing_pattern.h"
#include "runtime/path_text.h"
#include "tests/support/platform_entries.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;
using testing::EntryNames;
using testing::Hide;
using testing::IsTemporaryName;
using testing::Joined;
using testing::LinksAreSeenAsLinks;
using testing::kWindows;
using testing::MakeLink;
using testing::OpenHandleCount;
using testing::ReadFile;
using testing::TempFolder;

std::vector<std::string> Names(const FolderListing& listing) {
  std::vector<std::string> names;
  for (const ListedFile& file : listing.files) names.push_back(PathText(file.name));
  return names;
}

// A folder path and a tail joined as text; the separator of the system as "/".
fs::path Concat(const fs::path& folder, std::string tail) {
  for (char& c : tail) c = c == '/' ? static_cast<char>(fs::path::preferred_separator) : c;
  return PathFromText(PathText(folder) + tail);
}
std::string Text(const fs::path& folder, const std::string& tail) { return PathText(Concat(folder, tail)); }

// "Größe.frm": on Windows in UTF-16, elsewhere in Windows-1252 bytes, which are no UTF-8.
const std::string kUmlautName = kWindows ? "Gr\xc3\xb6\xc3\x9f" "e.frm" : "Gr\xf6\xdf" "e.frm";

// Reads an input file to its end in small steps, so that several reads are needed.
Status ReadAll(InputFile& input, std::string* content) {
  char buffer[7];
  for (;;) {
    std::size_t got = 0;
    Status status = input.Read(buffer, sizeof buffer, &got);
    if (!status.ok() || got == 0) return status;
    content->append(buffer, got);
  }
}


std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xff);
  return bytes;
}

class DiskFileServicesTest : public ::testing::Test {
 protected:
  // `folder` opened; fails the test when it cannot be.
  std::unique_ptr<OpenedFolder> Open(const fs::path& folder) {
    std::unique_ptr<OpenedFolder> opened;
    const Status status = disk_.OpenFolder(folder, &opened);
    EXPECT_TRUE(status.ok()) << status.reason();
    return opened;
  }
  // Opens each file of the temporary folder and expects it refused with its reason, leaving
  // nothing open.
  struct Refusal {
    std::string file;
    std::string reason;
  };
  void ExpectOpenInputRefused(const std::vector<Refusal>& cases) {
    Temp();
    const std::size_t handles = OpenHandleCount();
    for (const Refusal& c : cases) {
      std::unique_ptr<InputFile> input;
      const Status status = Temp().OpenInput(PathFromText(c.file), &input);
      EXPECT_FALSE(status.ok()) << c.file;
      EXPECT_EQ(status.reason(), c.reason) << c.file;
      EXPECT_EQ(input, nullptr) << c.file;
    }
    EXPECT_EQ(OpenHandleCount(), handles) << "a refused file stays open";
  }
  // The temporary folder, opened once.
  OpenedFolder& Temp() {
    if (temp_folder_ == nullptr) temp_folder_ = Open(temp_.path());
    return *temp_folder_;
  }
  // Copies `name` of the temporary folder into `to` under the same name, as a pass does.
  Status Copy(const fs::path& name, OpenedFolder& to) {
    std::unique_ptr<InputFile> input;
    Status status = Temp().OpenInput(name, &input);
    if (!status.ok()) return status;
    std::unique_ptr<OutputFile> output;
    status = to.CreateOutput(name, &output);
    if (!status.ok()) return status;
    status = input->CopyTo(*output);
    const Status closed = output->Close();
    return status.ok() ? closed : status;
  }

  FileServices& disk_ = DiskFileServices();
  TempFolder temp_;
  std::unique_ptr<OpenedFolder> temp_folder_;
};

// ---- Listing --------------------------------------------------------------------------------

TEST_F(DiskFileServicesTest, ListsOrdinaryFilesOnlySortedByBytes) {
  // "ärger.frm" in Windows-1252 bytes, on Windows in UTF-16: after ASCII either way.
  const std::string umlaut = kWindows ? "\xc3\xa4rger.frm" : "\xe4rger.frm";
  temp_.WriteFile("b.frm", "abc");
  temp_.WriteFile("Z.cls", "");
  temp_.WriteFile("a.bas", "1");
  temp_.WriteFile("A.vbp", "12");
  temp_.WriteFile("Liesmich", "ohne Punkt");
  temp_.WriteFile(PathFromText(umlaut), "high first byte");
  Hide(temp_.WriteFile(".hidden.frm", "hidden"));
  temp_.MakeFolder("Sub.frm");
  Hide(temp_.MakeFolder(".git"));
  MakeLink("b.frm", temp_.path() / "link.frm");
  MakeLink("nowhere.frm", temp_.path() / "dangling.frm");
  MakeLink("Sub.frm", temp_.path() / "folderlink.frm", /*folder=*/true);
  MakeLink("loop.frm", temp_.path() / "loop.frm");

  const FolderListing listing = disk_.List(Concat(temp_.folder_path(), "*.*"));
  ASSERT_TRUE(listing.status.ok()) << listing.status.reason();
  // Bytes >= 0x80 sort after ASCII letters: the order is by unsigned byte value.
  EXPECT_EQ(Names(listing), (std::vector<std::string>{"A.vbp", "Liesmich", "Z.cls", "a.bas", "b.frm",
                                                      "link.frm", umlaut}));
  ASSERT_EQ(listing.files.size(), 7u);
  EXPECT_EQ(listing.files[0].size, 2u);
  EXPECT_EQ(listing.files[4].size, 3u);
  EXPECT_EQ(listing.files[5].size, 3u) << "a link counts with the size of the file it leads to";
  EXPECT_EQ(listing.files[6].size, 15u);
}

TEST_F(DiskFileServicesTest, EntriesThatResolveToNoFileAreSkippedAndTheRestListed) {
  temp_.WriteFile("Projekt1.vbp", "x");
  temp_.WriteFile("datei", "x");
  temp_.MakeFolder("Unterordner");
  const std::pair<const char*, std::string> links[] = {
      {"zulang.frm", std::string(300, 'n')},     // a name over 255 bytes: ENAMETOOLONG
      {"schleife.frm", "schleife.frm"},          // ELOOP
      {"durchdatei.frm", "datei/x"},             // ENOTDIR
      {"fehlt.frm", "nirgends"},                 // ENOENT
      {"ordnerverweis", "Unterordner"},          // a link to a folder is no subfolder
  };
  for (const auto& [name, pointee] : links) {
    MakeLink(pointee, temp_.path() / name, /*folder=*/pointee == "Unterordner");
  }

  const FolderListing listing = Temp().List("*.*");
  ASSERT_TRUE(listing.status.ok()) << listing.status.reason();
  EXPECT_EQ(Names(listing), (std::vector<std::string>{"Projekt1.vbp", "datei"}));
  EXPECT_TRUE(listing.unexamined.empty());
  EXPECT_EQ(listing.folders, std::vector<fs::path>{"Unterordner"});
  EXPECT_EQ(Names(disk_.List(Concat(temp_.folder_path(), "*.frm"))), std::vector<std::string>{});
}

// Hidden folders and links to folders are no subfolders, but the listing names them apart, so
// that a message can say why a file in one was not transferred; whatever the wildcard.
TEST_F(DiskFileServicesTest, HiddenFoldersAndLinksToFoldersAreNamedApart) {
  temp_.MakeFolder("Unterordner");
  Hide(temp_.MakeFolder(".versteckt"));
  Hide(temp_.WriteFile(".versteckt.frm", "x"));
  temp_.WriteFile("datei.frm", "x");
  MakeLink("Unterordner", temp_.path() / "ordnerverweis", /*folder=*/true);
  MakeLink("datei.frm", temp_.path() / "dateiverweis.frm");
  MakeLink("nirgends", temp_.path() / "fehlt", /*folder=*/true);
  for (const char* wildcard : {"*.*", "*.vbp"}) {
    SCOPED_TRACE(wildcard);
    const FolderListing listing = Temp().List(wildcard);
    ASSERT_TRUE(listing.status.ok()) << listing.status.reason();
    EXPECT_EQ(listing.folders, std::vector<fs::path>{"Unterordner"});
    std::vector<std::string> passed;
    for (const PassedFolder& folder : listing.passed_folders) {
      passed.push_back(PathText(folder.name) + (folder.link ? " (Verknüpfung)" : " (versteckt)"));
    }
    std::sort(passed.begin(), passed.end());
    // Wine, too, lists the Unix link beneath as a link.
    EXPECT_EQ(passed, (std::vector<std::string>{".versteckt (versteckt)", "ordnerverweis (Verknüpfung)"}));
  }
}

TEST_F(DiskFileServicesTest, ListingMatchesTheWildcardWithoutRegardToCase) {
  temp_.WriteFile("PROJEKT1.VBP", "");
  temp_.WriteFile("projekt2.vbp", "");
  temp_.WriteFile("Projekt3.Vbp", "");
  temp_.WriteFile("Form1.frm", "");
  temp_.WriteFile("alt.vbp.bak", "");
  temp_.MakeFolder("Ordner.vbp");

  const FolderListing listing = disk_.List(Concat(temp_.folder_path(), "*.vbp"));
  ASSERT_TRUE(listing.status.ok());
  EXPECT_EQ(Names(listing), (std::vector<std::string>{"PROJEKT1.VBP", "Projekt3.Vbp", "projekt2.vbp"}));
}

TEST_F(DiskFileServicesTest, DoubledSeparatorCountsAsOne) {
  temp_.WriteFile("Form1.frm", "x");
  const FolderListing single = disk_.List(Concat(temp_.folder_path(), "*.*"));
  const FolderListing doubled = disk_.List(Concat(temp_.folder_path(), "/*.*"));
  const FolderListing mixed = disk_.List(PathFromText(PathText(temp_.folder_path()) + "/*.*"));
  EXPECT_EQ(Names(mixed), Names(single)) << "\"/\" is a separator everywhere";
  ASSERT_TRUE(doubled.status.ok()) << doubled.status.reason();
  EXPECT_EQ(Names(doubled), std::vector<std::string>{"Form1.frm"});
  EXPECT_EQ(Names(doubled), Names(single));
}

TEST_F(DiskFileServicesTest, EmptyFolderAndFolderOfFoldersListNothing) {
  EXPECT_TRUE(disk_.List(Concat(temp_.folder_path(), "*.*")).status.ok());
  EXPECT_TRUE(disk_.List(Concat(temp_.folder_path(), "*.*")).files.empty());
  temp_.MakeFolder("Unterordner");
  Hide(temp_.WriteFile(".versteckt", "x"));
  const FolderListing listing = disk_.List(Concat(temp_.folder_path(), "*.*"));
  EXPECT_TRUE(listing.status.ok());
  EXPECT_TRUE(listing.files.empty());
}

TEST_F(DiskFileServicesTest, NamesOfAnyScriptAreListedReadAndWrittenExactly) {
  const std::string content = "VERSION 5.00\r\n\xe4\xf6\xfc\r\n";
  const std::string names[] = {
      kUmlautName,
      "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.frm",                              // Japanese
      "\xd0\x9a\xd0\xb8\xd1\x80\xd0\xb8\xd0\xbb\xd0\xbb\xd0\xb8\xd1\x86\xd0\xb0.frm",  // Cyrillic
      "\xf0\x9d\x84\x9e.frm",  // beyond 16 bits: a surrogate pair in UTF-16
  };
  const std::unique_ptr<OpenedFolder> target = Open(temp_.MakeFolder("Ziel"));
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    temp_.WriteFile(PathFromText(name), content);
    const FolderListing listing = Temp().List("*.FRM");
    ASSERT_TRUE(listing.status.ok());
    ASSERT_EQ(Names(listing), std::vector<std::string>{name});

    std::unique_ptr<InputFile> input;
    ASSERT_TRUE(Temp().OpenInput(listing.files[0].name, &input).ok());
    std::string read;
    ASSERT_TRUE(ReadAll(*input, &read).ok());
    EXPECT_EQ(read, content);
    ASSERT_TRUE(Copy(PathFromText(name), *target).ok());
    EXPECT_EQ(Names(target->List("*.*")), std::vector<std::string>{name});
    EXPECT_EQ(ReadFile(temp_.path() / "Ziel" / PathFromText(name)), content);
    ASSERT_TRUE(target->RemoveFile(PathFromText(name)).ok());
    fs::remove(temp_.path() / PathFromText(name));
  }
}

TEST_F(DiskFileServicesTest, FolderThatCannotBeListedGivesAReasonNamingIt) {
  const FolderListing missing = disk_.List(Concat(temp_.folder_path(), "fehlt//*.vbp"));
  EXPECT_FALSE(missing.status.ok());
  EXPECT_TRUE(missing.files.empty());
  EXPECT_EQ(missing.status.reason(),
            "Das Verzeichnis [" + Text(temp_.folder_path(), "fehlt/") +
                "] kann nicht gelesen werden (Datei oder Verzeichnis nicht gefunden)");

  temp_.WriteFile("datei", "x");
  const FolderListing file = disk_.List(Concat(temp_.folder_path(), "datei/*.*"));
  EXPECT_FALSE(file.status.ok());
  EXPECT_EQ(file.status.reason(), "Das Verzeichnis [" + Text(temp_.folder_path(), "datei/") +
                                      "] kann nicht gelesen werden (ist kein Verzeichnis)");
}

// ---- Reading --------------------------------------------------------------------------------

TEST_F(DiskFileServicesTest, OpenInputReadsFilesAndLinksToThem) {
  const std::string content = RandomBytes(1000, 1);
  temp_.WriteFile("daten.bin", content);
  MakeLink("daten.bin", temp_.path() / "verweis.bin");
  for (const char* name : {"daten.bin", "verweis.bin"}) {
    std::unique_ptr<InputFile> input;
    ASSERT_TRUE(Temp().OpenInput(name, &input).ok()) << name;
    std::string read;
    ASSERT_TRUE(ReadAll(*input, &read).ok());
    EXPECT_EQ(read, content) << name;
  }
}

TEST_F(DiskFileServicesTest, OpenInputRefusesWhatIsNoRegularFileWithoutBlocking) {
  temp_.MakeFolder("Ordner");
  temp_.WriteFile("datei.frm", "x");
  MakeLink("fehlt", temp_.path() / "dangling");
  ExpectOpenInputRefused({
      {"Ordner", "Quelldatei kann nicht gelesen werden (ist ein Verzeichnis)"},
      {"dangling", "Quelldatei kann nicht gelesen werden (Datei oder Verzeichnis nicht gefunden)"},
      {"fehlt", "Quelldatei kann nicht gelesen werden (Datei oder Verzeichnis nicht gefunden)"},
      // A name is one entry of the folder: nothing outside it is reached.
      {"../fremd", "Quelldatei kann nicht gelesen werden (Ungültiges Argument)"},
      {"..", "Quelldatei kann nicht gelesen werden (Ungültiges Argument)"},
      // On Windows "\\" separates too, and ":" names a hidden stream of the file before it.
      {"..\\fremd", kWindows ? "Quelldatei kann nicht gelesen werden (Ungültiges Argument)"
                              : "Quelldatei kann nicht gelesen werden (Datei oder Verzeichnis nicht gefunden)"},
      {"datei.frm:strom", kWindows ? "Quelldatei kann nicht gelesen werden (Ungültiges Argument)"
                                   : "Quelldatei kann nicht gelesen werden (Datei oder Verzeichnis nicht gefunden)"},
  });
  EXPECT_EQ(ReadFile(temp_.path() / "datei.frm"), "x");
}

TEST_F(DiskFileServicesTest, ReadsEndAtTheSizeTheFileHadWhenOpened) {
  // Read to the end by Read and by CopyTo; a change after the open must fail either way.
  const struct {
    const char* what;
    std::function<void(const fs::path&)> change;
    bool ok;
  } cases[] = {
      {"unchanged", [](const fs::path&) {}, true},
      {"grown", [](const fs::path& file) { std::ofstream(file, std::ios::app) << "mehr"; }, false},
      {"shrunk", [](const fs::path& file) { fs::resize_file(file, 1000); }, false},
  };
  const std::unique_ptr<OpenedFolder> target = Open(temp_.MakeFolder("Ziel"));
  for (const auto& c : cases) {
    for (const bool by_copy : {false, true}) {
      const std::string name = std::string(c.what) + (by_copy ? ".frx" : ".frm");
      const std::string content = RandomBytes(300000, 4);
      const fs::path file = temp_.WriteFile(name, content);
      std::unique_ptr<InputFile> input;
      ASSERT_TRUE(Temp().OpenInput(name, &input).ok());
      EXPECT_EQ(input->size(), content.size());
      c.change(file);
      Status status;
      if (by_copy) {
        std::unique_ptr<OutputFile> output;
        ASSERT_TRUE(target->CreateOutput(name, &output).ok());
        status = input->CopyTo(*output);
      } else {
        std::string read;
        status = ReadAll(*input, &read);
        if (status.ok()) {
          EXPECT_EQ(read, content);
        }
      }
      EXPECT_EQ(status.ok(), c.ok) << name << ": " << status.reason();
      if (!c.ok) {
        EXPECT_EQ(status.reason(), "Quelldatei hat sich während des Lesens verändert") << name;
      }
    }
  }
}


// ---- Writing --------------------------------------------------------------------------------

TEST_F(DiskFileServicesTest, CreateOutputWritesANewFile) {
  const fs::path file = temp_.path() / "neu.frm";
  std::unique_ptr<OutputFile> output;
  ASSERT_TRUE(Temp().CreateOutput("neu.frm", &output).ok());
  ASSERT_TRUE(output->Write("Zeile 1\r\n").ok());
  ASSERT_TRUE(output->Write("").ok());
  ASSERT_TRUE(output->Write(std::string("\0\xff", 2)).ok());
  ASSERT_TRUE(output->Close().ok());
  EXPECT_EQ(ReadFile(file), std::string("Zeile 1\r\n\0\xff", 11));
}

// An output that is dropped before a successful Close closes its handles and leaves nothing:
// while it is written it stands under a hidden temporary name only.
TEST_F(DiskFileServicesTest, OutputFileDroppedUnclosedLeavesNothing) {
  Temp();
  const std::size_t descriptors = OpenHandleCount();
  {
    std::unique_ptr<OutputFile> output;
    ASSERT_TRUE(Temp().CreateOutput("offen.txt", &output).ok());
    ASSERT_TRUE(output->Write("halb").ok());
    EXPECT_GT(OpenHandleCount(), descriptors);
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp_.path() / "offen.txt")));
    const std::vector<std::string> names = EntryNames(temp_.path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(IsTemporaryName(names[0])) << names[0];
    // Windows lets no one else open it while it is written (its handle may delete it).
    if (!kWindows) {
      EXPECT_EQ(ReadFile(temp_.path() / names[0]), "halb");
    }
    EXPECT_TRUE(Temp().List("*.*").files.empty()) << "a listing shows the temporary";
  }
  EXPECT_EQ(OpenHandleCount(), descriptors);
  EXPECT_TRUE(EntryNames(temp_.path()).empty());
}

// An entry that appears under the name while the file is written stays as it is: Close fails
// instead of replacing it, and the unfinished file leaves nothing.
TEST_F(DiskFileServicesTest, CloseNeverReplacesAnEntryMadeMeanwhile) {
  temp_.WriteFile("ziel.txt", "Ziel des Verweises");
  const struct {
    const char* name;
    std::function<void(const fs::path&)> make;
  } cases[] = {
      {"datei.frm", [this](const fs::path& at) { temp_.WriteFile(at.filename(), "fremd"); }},
      {"ordner.frm", [](const fs::path& at) { fs::create_directory(at); }},
      {"verweis.frm", [](const fs::path& at) { MakeLink("ziel.txt", at); }},
      {"dangling.frm", [](const fs::path& at) { MakeLink("nicht-da.txt", at); }},
  };
  for (const auto& entry : cases) {
    const bool link = std::string_view(entry.name).find("verweis") != std::string_view::npos ||
                      std::string_view(entry.name).find("dangling") != std::string_view::npos;
    if (link && !testing::LinksAreSeenAsLinks()) continue;
    SCOPED_TRACE(entry.name);
    const fs::path at = temp_.path() / entry.name;
    std::unique_ptr<OutputFile> output;
    ASSERT_TRUE(Temp().CreateOutput(entry.name, &output).ok());
    ASSERT_TRUE(output->Write("neu").ok());
    entry.make(at);
    EXPECT_EQ(output->Close().reason(), "Zieldatei kann nicht angelegt werden (existiert bereits)");
    output.reset();
    if (fs::is_directory(fs::symlink_status(at))) {
      EXPECT_TRUE(fs::is_empty(at));
    } else if (!fs::is_symlink(fs::symlink_status(at))) {
      EXPECT_EQ(ReadFile(at), "fremd");
    }
    for (const std::string& name : EntryNames(temp_.path())) EXPECT_FALSE(IsTemporaryName(name)) << name;
  }
  EXPECT_EQ(ReadFile(temp_.path() / "ziel.txt"), "Ziel des Verweises");
  EXPECT_FALSE(fs::exists(temp_.path() / "nicht-da.txt")) << "written through a dangling link";
}

// A copy asks its stop query between its pieces; once it answers true the copy ends, and the
// output, dropped unclosed, leaves nothing.
TEST_F(DiskFileServicesTest, CopyToEndsWhenItsStopQueryAsks) {
  temp_.WriteFile("gross.frx", RandomBytes(3 * 1024 * 1024, 5));
  const std::unique_ptr<OpenedFolder> target = Open(temp_.MakeFolder("Ziel"));
  const struct {
    int stop_at_ask;  // 0: never
    bool copied;
  } cases[] = {{1, false}, {2, false}, {0, true}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.stop_at_ask);
    std::unique_ptr<InputFile> input;
    ASSERT_TRUE(Temp().OpenInput("gross.frx", &input).ok());
    std::unique_ptr<OutputFile> output;
    ASSERT_TRUE(target->CreateOutput("gross.frx", &output).ok());
    int asks = 0;
    input->StopWhen([&] { return ++asks == test.stop_at_ask || (test.stop_at_ask != 0 && asks > test.stop_at_ask); });
    const Status status = input->CopyTo(*output);
    EXPECT_EQ(status.ok(), test.copied) << status.reason();
    if (test.copied) {
      ASSERT_TRUE(output->Close().ok());
      EXPECT_EQ(fs::file_size(temp_.path() / "Ziel" / "gross.frx"), 3u * 1024 * 1024);
      ASSERT_TRUE(target->RemoveFile("gross.frx").ok());
    } else {
      EXPECT_EQ(status.reason(), "Vorgang abgebrochen");
      EXPECT_GE(asks, test.stop_at_ask);
    }
    output.reset();
    EXPECT_TRUE(EntryNames(temp_.path() / "Ziel").empty());
  }
}

TEST_F(DiskFileServicesTest, CreateOutputNeverTouchesAnExistingEntry) {
  temp_.WriteFile("datei.frm", "alt");
  temp_.MakeFolder("ordner.frm");
  temp_.WriteFile("ziel.txt", "Ziel des Verweises");
  MakeLink("ziel.txt", temp_.path() / "verweis.frm");
  MakeLink("nicht-da.txt", temp_.path() / "dangling.frm");

  for (const char* name : {"datei.frm", "ordner.frm", "verweis.frm", "dangling.frm"}) {
    std::unique_ptr<OutputFile> output;
    const Status status = Temp().CreateOutput(name, &output);
    EXPECT_FALSE(status.ok()) << name;
    EXPECT_EQ(status.reason(), "Zieldatei kann nicht angelegt werden (existiert bereits)") << name;
    EXPECT_EQ(output, nullptr) << name;
  }
  EXPECT_EQ(ReadFile(temp_.path() / "datei.frm"), "alt");
  EXPECT_TRUE(fs::is_directory(temp_.path() / "ordner.frm"));
  EXPECT_EQ(ReadFile(temp_.path() / "ziel.txt"), "Ziel des Verweises");
  EXPECT_EQ(ReadFile(temp_.path() / "verweis.frm"), "Ziel des Verweises") << "the link was replaced";
  EXPECT_FALSE(fs::exists(temp_.path() / "nicht-da.txt")) << "created through a dangling link";
}

TEST_F(DiskFileServicesTest, CreateOutputMakesOnlyEntriesOfItsFolder) {
  std::vector<std::string> names = {"../neu.frm", "fehlt/neu.frm", ".", ""};
  if (kWindows) names.insert(names.end(), {"..\\neu.frm", "neu.frm:strom", "C:neu.frm"});
  for (const std::string& name : names) {
    std::unique_ptr<OutputFile> output;
    EXPECT_EQ(Temp().CreateOutput(PathFromText(name), &output).reason(),
              "Zieldatei kann nicht angelegt werden (Ungültiges Argument)")
        << name;
  }
  EXPECT_FALSE(fs::exists(temp_.path().parent_path() / "neu.frm"));
  EXPECT_TRUE(fs::is_empty(temp_.path()));
}


// ---- Copying --------------------------------------------------------------------------------

TEST_F(DiskFileServicesTest, CopyToCopiesByteForByteAlsoThroughALink) {
  std::string every_byte;
  for (int i = 0; i < 256; ++i) every_byte += static_cast<char>(i);
  const struct {
    const char* name;
    std::string content;
  } cases[] = {
      {"leer.frx", ""},
      {"bytes.bin", every_byte},
      {kUmlautName.c_str(), "\r\n\r\r\n\x1a"},
      {"gross.bin", RandomBytes(3 * 1024 * 1024 + 17, 2)},
  };
  const std::unique_ptr<OpenedFolder> target = Open(temp_.MakeFolder("Ziel"));
  for (const auto& c : cases) {
    const fs::path from = temp_.WriteFile(PathFromText(c.name), c.content);
    const Status status = Copy(PathFromText(c.name), *target);
    ASSERT_TRUE(status.ok()) << c.name << ": " << status.reason();
    EXPECT_TRUE(ReadFile(temp_.path() / "Ziel" / PathFromText(c.name)) == c.content) << c.name;
    EXPECT_TRUE(ReadFile(from) == c.content) << c.name << " (source changed)";
  }
  temp_.WriteFile("echt.bas", "Attribute VB_Name\r\n");
  MakeLink("echt.bas", temp_.path() / "verweis.bas");
  ASSERT_TRUE(Copy("verweis.bas", *target).ok());
  EXPECT_FALSE(fs::is_symlink(temp_.path() / "Ziel" / "verweis.bas"));
  EXPECT_EQ(ReadFile(temp_.path() / "Ziel" / "verweis.bas"), "Attribute VB_Name\r\n");
}


// ---- Removing and making --------------------------------------------------------------------

TEST_F(DiskFileServicesTest, RemoveFileRemovesFilesAndLinksButNoFolder) {
  const fs::path file = temp_.WriteFile("weg.frm", "x");
  const fs::path pointee = temp_.WriteFile("bleibt.frm", "y");
  MakeLink(pointee, temp_.path() / "verweis.frm");
  const fs::path folder = temp_.MakeFolder("Ordner");

  EXPECT_TRUE(disk_.RemoveFile(file).ok());
  EXPECT_FALSE(fs::exists(file));
  if (testing::LinksAreSeenAsLinks()) {
    EXPECT_TRUE(disk_.RemoveFile(temp_.path() / "verweis.frm").ok());
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp_.path() / "verweis.frm")));
    EXPECT_EQ(ReadFile(pointee), "y");
  }

  EXPECT_EQ(disk_.RemoveFile(folder).reason(), "Datei kann nicht gelöscht werden (ist ein Verzeichnis)");
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(disk_.RemoveFile(file).reason(),
            "Datei kann nicht gelöscht werden (Datei oder Verzeichnis nicht gefunden)");
}

TEST_F(DiskFileServicesTest, MakeFolderMakesExactlyOneFolder) {
  const fs::path folder = temp_.path() / "Neu";
  EXPECT_TRUE(disk_.MakeFolder(folder).ok());
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(disk_.MakeFolder(folder).reason(), "Verzeichnis kann nicht angelegt werden (existiert bereits)");
  EXPECT_EQ(disk_.MakeFolder(temp_.path() / "a" / "b").reason(),
            "Verzeichnis kann nicht angelegt werden (Datei oder Verzeichnis nicht gefunden)");
  EXPECT_FALSE(fs::exists(temp_.path() / "a"));
}

TEST_F(DiskFileServicesTest, RemoveFolderRemovesOnlyAnEmptyFolder) {
  const fs::path empty = temp_.MakeFolder("Leer");
  const fs::path full = temp_.MakeFolder("Voll");
  temp_.WriteFile("Voll/datei.txt", "x");
  const fs::path file = temp_.WriteFile("datei.txt", "x");

  EXPECT_TRUE(disk_.RemoveFolder(empty).ok());
  EXPECT_FALSE(fs::exists(empty));
  EXPECT_EQ(disk_.RemoveFolder(full).reason(),
            "Verzeichnis kann nicht entfernt werden (Verzeichnis ist nicht leer)");
  EXPECT_EQ(ReadFile(full / "datei.txt"), "x");
  EXPECT_EQ(disk_.RemoveFolder(file).reason(),
            "Verzeichnis kann nicht entfernt werden (ist kein Verzeichnis)");
  EXPECT_TRUE(fs::exists(file));
}

// ---- What only Windows has: attributes, folders pinned by their handle, long paths ----------

#ifdef _WIN32
TEST_F(DiskFileServicesTest, HiddenAndSystemAttributesHideEntriesALeadingDotDoesNot) {
  temp_.WriteFile(".punkt.frm", "x");
  const fs::path hidden = temp_.WriteFile("versteckt.frm", "x");
  const fs::path system = temp_.WriteFile("system.frm", "x");
  const fs::path folder = temp_.MakeFolder("Versteckt");
  temp_.MakeFolder(".Punktordner");
  ASSERT_TRUE(SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN));

  const FolderListing listing = Temp().List("*.*");
  ASSERT_TRUE(listing.status.ok()) << listing.status.reason();
  EXPECT_EQ(Names(listing), std::vector<std::string>{".punkt.frm"});
  EXPECT_EQ(listing.folders, std::vector<fs::path>{".Punktordner"});
}

TEST_F(DiskFileServicesTest, AnOpenedFolderCannotBeRenamedRemovedOrReplaced) {
  const fs::path target = temp_.MakeFolder("Ziel");
  const fs::path moved = temp_.path() / "Ziel2";
  {
    const std::unique_ptr<OpenedFolder> opened = Open(target);
    EXPECT_FALSE(MoveFileW(target.c_str(), moved.c_str()));
    EXPECT_FALSE(RemoveDirectoryW(target.c_str()));
    std::unique_ptr<OutputFile> output;
    ASSERT_TRUE(opened->CreateOutput("neu.frm", &output).ok());
    ASSERT_TRUE(output->Write("bleibt im Ziel").ok());
    ASSERT_TRUE(output->Close().ok());
  }
  EXPECT_EQ(ReadFile(target / "neu.frm"), "bleibt im Ziel");
  EXPECT_TRUE(MoveFileW(target.c_str(), moved.c_str())) << "once closed, the folder is free again";
}

TEST_F(DiskFileServicesTest, PathsLongerThan260CharactersWork) {
  fs::path deep = temp_.path();
  for (int level = 0; level < 5; ++level) {
    deep /= std::string(60, static_cast<char>('a' + level));
    ASSERT_TRUE(disk_.MakeFolder(deep).ok()) << level;
  }
  ASSERT_GT(deep.native().size(), 300u);
  ASSERT_TRUE(disk_.Missing(deep / "Ziel"));
  ASSERT_TRUE(disk_.MakeFolder(deep / "Ziel").ok());
  std::unique_ptr<OpenedFolder> folder = Open(deep);
  ASSERT_NE(folder, nullptr);
  std::unique_ptr<OutputFile> output;
  ASSERT_TRUE(folder->CreateOutput("Projekt1.vbp", &output).ok());
  ASSERT_TRUE(output->Write("Type=Exe\r\n").ok());
  ASSERT_TRUE(output->Close().ok());

  const FolderListing listing = disk_.List(Concat(Joined(deep, ""), "*.vbp"));
  ASSERT_TRUE(listing.status.ok()) << listing.status.reason();
  EXPECT_EQ(Names(listing), std::vector<std::string>{"Projekt1.vbp"});
  std::unique_ptr<OpenedFolder> target = Open(deep / "Ziel");
  ASSERT_NE(target, nullptr);
  std::unique_ptr<InputFile> input;
  ASSERT_TRUE(folder->OpenInput("Projekt1.vbp", &input).ok());
  std::unique_ptr<OutputFile> copy;
  ASSERT_TRUE(target->CreateOutput("Projekt1.vbp", &copy).ok());
  ASSERT_TRUE(input->CopyTo(*copy).ok());
  ASSERT_TRUE(copy->Close().ok());
  EXPECT_EQ(Names(target->List("*.*")), std::vector<std::string>{"Projekt1.vbp"});

  // Cleared away through the services as well, since not every tool takes such paths.
  input.reset();
  folder.reset();
  target.reset();
  EXPECT_TRUE(disk_.RemoveFile(deep / "Ziel" / "Projekt1.vbp").ok());
  EXPECT_TRUE(disk_.RemoveFile(deep / "Projekt1.vbp").ok());
  for (fs::path at = deep / "Ziel"; at != temp_.path(); at = at.parent_path()) {
    EXPECT_TRUE(disk_.RemoveFolder(at).ok()) << PathText(at);
  }
}
#endif

// ---- What only POSIX systems have: pipes, sockets, /proc, limits on file size ---------------

#ifndef _WIN32
// A listening-free socket bound to a path in the folder.
void MakeSocket(const fs::path& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.native().size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, path.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(fd);
}


// Lowers the largest file size this process may write, and raises it again at scope end. A
// write beyond it fails with EFBIG, even for root: a real write failure on the real disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_handler_ = signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit lowered = old_;
    lowered.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  sighandler_t old_handler_;
};

TEST_F(DiskFileServicesTest, PipesAndSocketsAreNotListed) {
  temp_.WriteFile("b.frm", "abc");
  ASSERT_EQ(mkfifo((temp_.path() / "pipe.frm").c_str(), 0666), 0);
  MakeSocket(temp_.path() / "sock.frm");
  const FolderListing listing = Temp().List("*.*");
  ASSERT_TRUE(listing.status.ok()) << listing.status.reason();
  EXPECT_EQ(Names(listing), std::vector<std::string>{"b.frm"});
  EXPECT_TRUE(listing.unexamined.empty());
}

TEST_F(DiskFileServicesTest, OpenInputRefusesPipesSocketsAndDevicesWithoutBlocking) {
  ASSERT_EQ(mkfifo((temp_.path() / "pipe").c_str(), 0666), 0);
  MakeSocket(temp_.path() / "sock");
  MakeLink("/dev/null", temp_.path() / "null");
  ExpectOpenInputRefused({
      // Nobody writes to the pipe: a blocking open would never return.
      {"pipe", "Quelldatei kann nicht gelesen werden (ist keine gewöhnliche Datei)"},
      {"null", "Quelldatei kann nicht gelesen werden (ist keine gewöhnliche Datei)"},
      {"sock", "Quelldatei kann nicht gelesen werden (Gerät oder Adresse nicht vorhanden)"},
  });
}

TEST_F(DiskFileServicesTest, PseudoFilesThatReadWithoutEndOrBlockFailAtOnce) {
  // Size 0 but endless (pagemap), failing at the first read (mem), and, for root, one whose
  // read waits for the kernel's next message (kmsg). None may hang or copy without end.
  fs::create_symlink("/proc/self/pagemap", temp_.path() / "endlos.frx");
  fs::create_symlink("/proc/self/mem", temp_.path() / "speicher.frx");
  fs::create_symlink("/proc/kmsg", temp_.path() / "kmsg.frx");
  const std::unique_ptr<OpenedFolder> target = Open(temp_.MakeFolder("Ziel"));
  alarm(60);  // a read that blocks ends the test instead of hanging the suite
  for (const char* name : {"endlos.frx", "speicher.frx", "kmsg.frx"}) {
    for (const bool by_copy : {false, true}) {
      std::unique_ptr<InputFile> input;
      Status status = Temp().OpenInput(name, &input);
      if (status.ok() && by_copy) {
        std::unique_ptr<OutputFile> output;
        const std::string copy = std::string(name) + ".kopie";
        ASSERT_TRUE(target->CreateOutput(copy, &output).ok());
        status = input->CopyTo(*output);
        std::uintmax_t written = 0;
        for (const fs::directory_entry& entry : fs::directory_iterator(temp_.path() / "Ziel")) {
          written += entry.file_size();
        }
        EXPECT_LT(written, 1024u) << name;
      } else if (status.ok()) {
        std::string read;
        status = ReadAll(*input, &read);
      }
      EXPECT_FALSE(status.ok()) << name;
      if (std::string_view(name) == "endlos.frx") {
        EXPECT_EQ(status.reason(), "Quelldatei hat sich während des Lesens verändert");
      }
      if (std::string_view(name) == "speicher.frx") {
        EXPECT_EQ(status.reason(), "Quelldatei kann nicht gelesen werden (Ein-/Ausgabefehler)");
      }
      // kmsg (size 0) either would wait, no message being there, or has messages beyond its
      // size; each is named as it is. Without the right to read it, the open says so.
      if (std::string_view(name) == "kmsg.frx") {
        EXPECT_TRUE(status.reason() == "Quelldatei kann nicht gelesen werden (Ressource vorübergehend nicht verfügbar)" ||
                    status.reason() == "Quelldatei hat sich während des Lesens verändert" ||
                    status.reason() == "Quelldatei kann nicht gelesen werden (Vorgang nicht zulässig)" ||
                    status.reason() == "Quelldatei kann nicht gelesen werden (Keine Berechtigung)")
            << status.reason();
      }
    }
  }
  alarm(0);
}

TEST_F(DiskFileServicesTest, WriteBeyondTheFileSizeLimitFails) {
  std::unique_ptr<OutputFile> output;
  ASSERT_TRUE(Temp().CreateOutput("gross.bin", &output).ok());
  FileSizeLimit limit(4096);
  EXPECT_TRUE(output->Write(std::string(4000, 'a')).ok());
  const Status status = output->Write(std::string(200, 'b'));
  EXPECT_EQ(status.reason(), "Zieldatei kann nicht geschrieben werden (Datei ist zu groß)");
}

TEST_F(DiskFileServicesTest, CopyToFailsWhenWritingFails) {
  temp_.WriteFile("gross.frx", RandomBytes(3 * 1024 * 1024, 3));
  const std::unique_ptr<OpenedFolder> target = Open(temp_.MakeFolder("Ziel"));
  Status status;
  {
    FileSizeLimit limit(1024 * 1024);
    status = Copy("gross.frx", *target);
  }
  EXPECT_EQ(status.reason(), "Zieldatei kann nicht geschrieben werden (Datei ist zu groß)");
  EXPECT_EQ(fs::file_size(temp_.path() / "gross.frx"), 3u * 1024 * 1024);
}
#endif

// ---- Links ----------------------------------------------------------------------------------

#ifndef _WIN32  // Wine, where the Windows build is tested, tells no link targets (its links are Linux links)
TEST_F(DiskFileServicesTest, LinkTargetTellsWhetherTheEntryItselfIsALinkAndWhereItPoints) {
  temp_.MakeFolder("Ordner/Unter");
  temp_.WriteFile("datei.txt", "x");
  const fs::path root = temp_.path();
  fs::create_symlink(root / "Ordner", root / "absolut");
  fs::create_symlink("Ordner/Unter", root / "relativ");
  fs::create_symlink(".", root / "Ordner/hier");
  fs::create_symlink("fehlt", root / "ins-leere");
  fs::create_symlink(std::string(300, 'l'), root / "lang");  // longer than a first guess of the size
  const struct {
    std::string path;  // below the temporary folder
    bool link;
    std::string target;
  } cases[] = {
      {"absolut", true, (root / "Ordner").native()},
      {"absolut/", true, (root / "Ordner").native()},  // the separator does not lead through it
      {"relativ", true, "Ordner/Unter"},
      {"Ordner/hier", true, "."},
      {"ins-leere", true, "fehlt"},
      {"lang", true, std::string(300, 'l')},
      {"Ordner", false, ""},
      {"absolut/Unter", false, ""},  // a link above the entry does not count
      {"datei.txt", false, ""},
      {"gibt-es-nicht", false, ""},
  };
  for (const auto& c : cases) {
    fs::path target = "unberührt";
    EXPECT_EQ(disk_.LinkTarget(root / c.path, &target), c.link) << c.path;
    EXPECT_EQ(target.native(), c.link ? c.target : "unberührt") << c.path;
  }
}
#endif

}  // namespace
}  // namespace tavrin
