#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "runtime/status.h"

namespace tavrin {

// One ordinary file of a folder listing: its name without folder, and its size in bytes.
struct ListedFile {
  std::filesystem::path name;
  std::uintmax_t size = 0;
};

// An entry that exists but could not be examined (EIO, EACCES, ...), and why.
struct UnexaminedEntry {
  std::filesystem::path name;
  Status status;
};

// A subfolder that a listing names but that is never entered: a hidden one, or a link to a
// folder (a junction on Windows).
struct PassedFolder {
  std::filesystem::path name;
  bool link = false;  // else hidden
};

// A folder listing as a value: all matching names at once, sorted by byte value.
// When the folder cannot be listed, `status` says why and the lists are empty.
struct FolderListing {
  Status status;
  std::vector<ListedFile> files;
  // Matching entries that may be ordinary files but could not be examined; never in `files`.
  std::vector<UnexaminedEntry> unexamined;
  // Real subfolders (no links to folders, no hidden ones), whatever the wildcard; filled only
  // by OpenedFolder::List.
  std::vector<std::filesystem::path> folders;
  // The hidden subfolders and links to folders that `folders` leaves out, so that a message can
  // say why a file in one was not transferred; filled only by OpenedFolder::List, unsorted.
  std::vector<PassedFolder> passed_folders = {};
};

// Puts a listing in the order OpenedFolder::List promises: by the names' native units (bytes,
// or UTF-16 units on Windows).
void SortByName(FolderListing& listing);

// Identity of a folder on its device: two handles of one folder have equal ids.
struct FolderId {
  std::uint64_t device = 0;
  std::uint64_t node = 0;
  friend bool operator==(const FolderId&, const FolderId&) = default;
};

class OutputFile;

// A file opened for reading. Reads end at the size the file had when it was opened: a file
// that turns out longer or shorter fails ("Quelldatei hat sich während des Lesens verändert"),
// so an endless pseudo-file cannot fill the target's disk. No read waits for data that may
// never come: a read that would block fails.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `capacity` bytes into `buffer`; `*got` is 0 only at the checked end.
  virtual Status Read(char* buffer, std::size_t capacity, std::size_t* got) = 0;
  // The size when opened.
  virtual std::uint64_t size() const = 0;
  // Copies the rest of the file into `output`, bounded and checked as Read is. Disks may do
  // it without passing the bytes through the program.
  virtual Status CopyTo(OutputFile& output);

  // Asked between the pieces of CopyTo: once it answers true, the copy ends with ECANCELED
  // ("Vorgang abgebrochen"), so that a long copy can be interrupted.
  void StopWhen(std::function<bool()> stop) { stop_ = std::move(stop); }

 protected:
  bool StopAsked() const { return stop_ && stop_(); }

 private:
  std::function<bool()> stop_;
};

// A new file opened for writing. It appears under its name only when Close succeeds; a file
// that is dropped without a successful Close leaves nothing behind.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes all of `bytes` or fails.
  virtual Status Write(std::string_view bytes) = 0;
  // Completes the file on disk; a failed close means the file is not complete.
  virtual Status Close() = 0;
};

// A folder opened once. Every name given to it is a single name inside it, and every file or
// folder reached through it stays in it, whatever happens to the path it was opened by: a
// folder renamed or replaced by a link during a pass does not redirect what is written.
class OpenedFolder {
 public:
  virtual ~OpenedFolder() = default;

  virtual FolderId id() const = 0;

  // The ordinary files that match `wildcard` ("*.*", "*.vbp"; letter case ignored), and the
  // folder's real subfolders. Ordinary files are regular files and links that resolve to one.
  // An entry that cannot be resolved to an ordinary file (dangling or looping link, name too
  // long, ...) is left out like a folder; one that exists but cannot be examined is listed
  // in `unexamined`. Hidden entries (names starting with ".") are never listed.
  virtual FolderListing List(std::string_view wildcard) = 0;

  // Opens an ordinary file of the folder for reading (a link to one is followed).
  virtual Status OpenInput(const std::filesystem::path& name, std::unique_ptr<InputFile>* out) = 0;

  // Creates `name` as a new file and opens it for writing. Fails, touching nothing, when any
  // entry of that name exists already (a file, a folder, a link, also a dangling one). The
  // name is taken only by a successful Close, which fails rather than replace an entry that
  // appeared meanwhile.
  virtual Status CreateOutput(const std::filesystem::path& name, std::unique_ptr<OutputFile>* out) = 0;

  // Removes one entry that is not a folder; a link is removed as a link.
  virtual Status RemoveFile(const std::filesystem::path& name) = 0;

  // Opens a subfolder; never through a link.
  virtual Status OpenFolder(const std::filesystem::path& name, std::unique_ptr<OpenedFolder>* out) = 0;

  // Opens the folder this one stands in (the top folder of a drive gives itself). A walk
  // through a deep tree goes back up this way instead of keeping every folder above open;
  // it compares ids to be sure it is back where it came from.
  virtual Status OpenParent(std::unique_ptr<OpenedFolder>* out) = 0;

  // Makes one subfolder. Fails when an entry of that name exists.
  virtual Status MakeFolder(const std::filesystem::path& name) = 0;

  // Opens a subfolder as OpenFolder does, so that it can remove itself later (RemoveItself).
  // Where the system allows (Windows), nobody else can rename or remove it while it is open.
  virtual Status OpenFolderToRemove(const std::filesystem::path& name, std::unique_ptr<OpenedFolder>* out) {
    return OpenFolder(name, out);
  }
  // True when RemoveItself can remove this folder: it was opened by OpenFolderToRemove on a
  // system that removes folders through their handle.
  virtual bool RemovesItself() const { return false; }
  // Removes this folder, which must be empty, through its handle; the folder is closed then.
  virtual Status RemoveItself();
};

// What a folder is to the volumes of the system.
enum class MountKind {
  kNone,
  kVolumeRoot,     // the top folder of a volume: a drive root, or a share's top
  kMountedFolder,  // a folder where another volume is mounted
};

// The disk as the core sees it. The program uses DiskFileServices(); tests wrap it to fail
// on demand or to record what was touched.
class FileServices {
 public:
  virtual ~FileServices() = default;

  // Opens the folder at `folder`. Links in the path are resolved once, now; from then on the
  // handle stays with the folder found.
  virtual Status OpenFolder(const std::filesystem::path& folder, std::unique_ptr<OpenedFolder>* out) = 0;

  // Lists the ordinary files that match `pattern`: a folder followed by a wildcard such as
  // "*.*" or "*.vbp" ("/p/*.*"; a doubled separator counts as one). As OpenedFolder::List,
  // without subfolders.
  virtual FolderListing List(const std::filesystem::path& pattern);

  // True when nothing at all stands at `path`, not even a dangling link.
  virtual bool Missing(const std::filesystem::path& path) = 0;

  // True when the entry at `path` is itself a link (its last component; links above it do not
  // count, nor does a separator at its end); `*target` is then where it points, as the link
  // holds it (a relative target counts from the folder that holds the link). False when it is
  // no link or nothing stands there.
  virtual bool LinkTarget(const std::filesystem::path& path, std::filesystem::path* target) = 0;

  // Removes one directory entry that is not a folder; a link is removed as a link.
  virtual Status RemoveFile(const std::filesystem::path& file) = 0;

  // Makes one folder; its parent must exist. Fails when an entry of that name exists.
  virtual Status MakeFolder(const std::filesystem::path& folder) = 0;

  // Removes an empty folder.
  virtual Status RemoveFolder(const std::filesystem::path& folder) = 0;

  // The id of the folder at `folder` (a folder path without a separator at its end), its last
  // component never followed when it is a link. Asks only for the id: on Windows it opens
  // alongside a folder held without delete sharing.
  virtual Status IdOf(const std::filesystem::path& folder, FolderId* id);

  // What `folder` is to the volumes. Where the system's mounts are told otherwise (the mount
  // table of Linux), kNone.
  virtual MountKind Mounted(const std::filesystem::path& folder);
};

// The real disk, through the operating system.
FileServices& DiskFileServices();

// True when two folder paths are spelled alike as this system compares names: byte for byte on
// POSIX systems, without regard to letter case on Windows.
bool SameFolderPath(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace tavrin
