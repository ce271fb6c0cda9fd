#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
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

// A folder listing as a value: all matching names at once, sorted by byte value.
// When the folder cannot be listed, `status` says why and `files` is empty.
struct FolderListing {
  Status status;
  std::vector<ListedFile> files;
};

// A file opened for reading.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `capacity` bytes into `buffer`; `*got` is 0 at the end of the file.
  virtual Status Read(char* buffer, std::size_t capacity, std::size_t* got) = 0;
};

// A new file opened for writing.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes all of `bytes` or fails.
  virtual Status Write(std::string_view bytes) = 0;
  // Completes the file on disk; a failed close means the file is not complete.
  virtual Status Close() = 0;
};

// The disk as the core sees it. The program uses DiskFileServices(); tests wrap it to fail
// on demand or to record what was touched.
class FileServices {
 public:
  virtual ~FileServices() = default;

  // Lists the ordinary files that match `pattern`: a folder followed by a wildcard such as
  // "*.*" or "*.vbp" ("/p/*.*"; a doubled separator counts as one). Ordinary files are
  // regular files and links that resolve to one; folders, dangling links, devices, pipes,
  // sockets and hidden entries (names starting with ".") are never listed.
  virtual FolderListing List(const std::filesystem::path& pattern) = 0;

  // Opens an existing regular file (or a link to one) for reading.
  virtual Status OpenInput(const std::filesystem::path& file, std::unique_ptr<InputFile>* out) = 0;

  // Creates `file` as a new file and opens it for writing. Fails, touching nothing, when any
  // entry of that name exists already (a file, a folder, a link, also a dangling one).
  virtual Status CreateOutput(const std::filesystem::path& file, std::unique_ptr<OutputFile>* out) = 0;

  // Copies `from` byte for byte into the new file `to` (created as by CreateOutput). On a
  // failure after `to` was created, `to` is removed again; an entry that existed before is
  // never touched.
  virtual Status CopyToNew(const std::filesystem::path& from, const std::filesystem::path& to) = 0;

  // Removes one directory entry that is not a folder; a link is removed as a link.
  virtual Status RemoveFile(const std::filesystem::path& file) = 0;

  // Makes one folder; its parent must exist. Fails when an entry of that name exists.
  virtual Status MakeFolder(const std::filesystem::path& folder) = 0;

  // Removes an empty folder.
  virtual Status RemoveFolder(const std::filesystem::path& folder) = 0;
};

// The real disk, through the operating system.
FileServices& DiskFileServices();

}  // namespace tavrin
