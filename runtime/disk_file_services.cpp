// The file services on POSIX systems: every file is reached relative to an opened folder.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "runtime/bounded_input_file.h"
#include "runtime/file_service_reasons.h"
#include "runtime/file_services.h"
#include "runtime/listing_pattern.h"
#include "runtime/wildcard.h"

namespace tavrin {
namespace {

Status NotRegular(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return Status::FromErrno(EISDIR, kSourceUnreadable);
  return Status::Error(std::string(kSourceUnreadable) + " (ist keine gewöhnliche Datei)");
}

// Errors of writing that can only come from the target's side.
bool IsTargetError(int error_number) {
  return error_number == ENOSPC || error_number == EDQUOT || error_number == EFBIG || error_number == EROFS;
}

// Errors that say an entry does not resolve to anything usable: it is skipped like a
// dangling link, not reported.
bool IsUnresolvable(int error_number) {
  return error_number == ENOENT || error_number == ELOOP || error_number == ENOTDIR || error_number == ENAMETOOLONG;
}

// A name handed to a folder must be one entry of it: not empty, no separator, not "." or "..".
bool IsSingleName(const std::filesystem::path& name) {
  const std::string& text = name.native();
  return !text.empty() && text != "." && text != ".." && text.find('/') == std::string::npos;
}

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// The descriptor stays non-blocking for every read: a read that would wait fails (EAGAIN).
class DiskInputFile : public BoundedInputFile {
 public:
  DiskInputFile(int fd, std::uint64_t size) : BoundedInputFile(size), fd_(fd) {}

  Status CopyTo(OutputFile& output) override;

 protected:
  Status ReadSome(char* buffer, std::size_t capacity, std::size_t* got) override {
    *got = 0;
    for (;;) {
      const ssize_t n = read(fd_.get(), buffer, capacity);
      if (n >= 0) {
        *got = static_cast<std::size_t>(n);
        return Status::Ok();
      }
      if (errno != EINTR) return Status::FromErrno(errno, kSourceUnreadable);
    }
  }

 private:
  Descriptor fd_;
};

// A target file is written under a hidden temporary name in its folder and gets its own name
// only once it is complete, so an interrupted or failed file never looks like a finished one.
// Close renames it without ever replacing an entry; a file that is not closed successfully
// takes its temporary with it.
class DiskOutputFile : public OutputFile {
 public:
  // `folder_fd` is a descriptor of its own (a dup) for the folder that holds both names.
  DiskOutputFile(int fd, int folder_fd, std::string temporary, std::string name)
      : fd_(fd), folder_fd_(folder_fd), temporary_(std::move(temporary)), name_(std::move(name)) {}
  ~DiskOutputFile() override {
    if (fd_ >= 0) close(fd_);
    if (!temporary_.empty()) unlinkat(folder_fd_.get(), temporary_.c_str(), 0);
  }
  DiskOutputFile(const DiskOutputFile&) = delete;
  DiskOutputFile& operator=(const DiskOutputFile&) = delete;

  Status Write(std::string_view bytes) override {
    if (fd_ < 0) return Status::FromErrno(EBADF, kTargetUnwritable);
    while (!bytes.empty()) {
      const ssize_t n = write(fd_, bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return Status::FromErrno(errno, kTargetUnwritable);
      }
      if (n == 0) return Status::FromErrno(EIO, kTargetUnwritable);  // no progress: give up
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return Status::Ok();
  }

  // Closes once; a second call repeats the first one's result. The descriptor is gone after
  // close() even when it reports an error, so it is never closed twice.
  Status Close() override {
    if (fd_ < 0) return close_status_;
    if (close(fd_) != 0 && errno != EINTR) close_status_ = Status::FromErrno(errno, kTargetUnwritable);
    fd_ = -1;
    if (close_status_.ok()) close_status_ = Publish();
    if (close_status_.ok()) temporary_.clear();  // it is the finished file now
    return close_status_;
  }

  int fd() const { return fd_; }

 private:
  // Gives the temporary its final name, which must still be free. Where the file system
  // cannot rename without replacing, a hard link does the same (it never replaces either).
  Status Publish() {
    const int folder = folder_fd_.get();
    if (renameat2(folder, temporary_.c_str(), folder, name_.c_str(), RENAME_NOREPLACE) == 0) return Status::Ok();
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
      return Status::FromErrno(errno, kTargetNotCreatable);
    }
    if (linkat(folder, temporary_.c_str(), folder, name_.c_str(), 0) != 0) {
      return Status::FromErrno(errno, kTargetNotCreatable);
    }
    unlinkat(folder, temporary_.c_str(), 0);  // a second, hidden name of the finished file at worst
    return Status::Ok();
  }

  int fd_;
  Descriptor folder_fd_;
  std::string temporary_;  // empty once the file has its own name
  std::string name_;
  Status close_status_;
};

// A hidden name for a file being written: ".tavrin-" and 16 random hex digits, ".tmp".
std::string TemporaryName() {
  static std::mt19937_64 numbers{(std::uint64_t{std::random_device{}()} << 32) ^ std::random_device{}() ^
                                 static_cast<std::uint64_t>(getpid())};
  char text[40];
  std::snprintf(text, sizeof text, ".tavrin-%016llx.tmp", static_cast<unsigned long long>(numbers()));
  return text;
}

// Lets the kernel copy up to the size at open, then checks the end with a plain read. The
// plain loop also takes over where copy_file_range is not possible (other file system, old
// kernel, pseudo-files that report no size) and after an error whose side is unclear: it
// then fails again and names the side.
Status DiskInputFile::CopyTo(OutputFile& output) {
  auto* disk = dynamic_cast<DiskOutputFile*>(&output);
  constexpr std::uint64_t kChunk = std::uint64_t{1} << 26;  // small enough to stop soon when asked
  while (disk != nullptr && left() > 0) {
    if (StopAsked()) return Status::FromErrno(ECANCELED);
    const ssize_t n = copy_file_range(fd_.get(), nullptr, disk->fd(), nullptr,
                                      static_cast<std::size_t>(std::min(left(), kChunk)), 0);
    if (n > 0) {
      Consumed(static_cast<std::uint64_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && IsTargetError(errno)) return Status::FromErrno(errno, kTargetUnwritable);
    break;
  }
  return InputFile::CopyTo(output);
}

class DiskOpenedFolder : public OpenedFolder {
 public:
  // `shown` names the folder in messages.
  DiskOpenedFolder(int fd, std::string shown, FolderId id)
      : fd_(fd), shown_(std::move(shown)), id_(id) {}

  FolderId id() const override { return id_; }

  FolderListing List(std::string_view wildcard) override {
    FolderListing listing = ListEntries(wildcard);
    SortByName(listing);
    return listing;
  }

  Status OpenInput(const std::filesystem::path& name, std::unique_ptr<InputFile>* out) override {
    if (!IsSingleName(name)) return Status::FromErrno(EINVAL, kSourceUnreadable);
    // Non-blocking from the start: a pipe would wait in openat() for a writer.
    Descriptor fd(openat(fd_.get(), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) return Status::FromErrno(errno, kSourceUnreadable);
    struct stat info;
    if (fstat(fd.get(), &info) != 0) return Status::FromErrno(errno, kSourceUnreadable);
    if (!S_ISREG(info.st_mode)) return NotRegular(info);
    *out = std::make_unique<DiskInputFile>(fd.release(), static_cast<std::uint64_t>(info.st_size));
    return Status::Ok();
  }

  // Fails when any entry of that name exists (also a dangling link); the file itself is made
  // under a temporary name (O_EXCL with O_CREAT never follows a link) and named on Close.
  Status CreateOutput(const std::filesystem::path& name, std::unique_ptr<OutputFile>* out) override {
    if (!IsSingleName(name)) return Status::FromErrno(EINVAL, kTargetNotCreatable);
    struct stat info;
    if (fstatat(fd_.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
      return Status::FromErrno(EEXIST, kTargetNotCreatable);
    }
    if (errno != ENOENT) return Status::FromErrno(errno, kTargetNotCreatable);
    Descriptor folder(fcntl(fd_.get(), F_DUPFD_CLOEXEC, 0));
    if (folder.get() < 0) return Status::FromErrno(errno, kTargetNotCreatable);
    for (int attempt = 0;; ++attempt) {
      std::string temporary = TemporaryName();
      const int fd = openat(fd_.get(), temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
      if (fd < 0 && errno == EEXIST && attempt < 100) continue;
      if (fd < 0) return Status::FromErrno(errno, kTargetNotCreatable);
      *out = std::make_unique<DiskOutputFile>(fd, folder.release(), std::move(temporary), name.native());
      return Status::Ok();
    }
  }

  Status RemoveFile(const std::filesystem::path& name) override {
    if (!IsSingleName(name)) return Status::FromErrno(EINVAL, kFileNotRemovable);
    if (unlinkat(fd_.get(), name.c_str(), 0) != 0) return Status::FromErrno(errno, kFileNotRemovable);
    return Status::Ok();
  }

  Status OpenFolder(const std::filesystem::path& name, std::unique_ptr<OpenedFolder>* out) override {
    // Joined as text: a path object would split the whole, ever longer path at every level.
    std::string shown = shown_;
    if (shown.empty() || shown.back() != '/') shown += '/';
    shown += name.native();
    if (!IsSingleName(name)) return FolderUnreadable(shown, EINVAL);
    const int fd = openat(fd_.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return FolderUnreadable(shown, errno);
    return Adopt(fd, std::move(shown), out);
  }

  Status OpenParent(std::unique_ptr<OpenedFolder>* out) override {
    std::string shown = shown_;
    while (shown.size() > 1 && shown.back() == '/') shown.pop_back();  // "/a/b/" is "/a/b"
    const std::size_t last = shown.rfind('/');
    shown = last == std::string::npos ? std::string(".") : shown.substr(0, std::max<std::size_t>(last, 1));
    const int fd = openat(fd_.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FolderUnreadable(shown, errno);
    return Adopt(fd, std::move(shown), out);
  }

  Status MakeFolder(const std::filesystem::path& name) override {
    if (!IsSingleName(name)) return Status::FromErrno(EINVAL, kFolderNotCreatable);
    if (mkdirat(fd_.get(), name.c_str(), 0777) != 0) return Status::FromErrno(errno, kFolderNotCreatable);
    return Status::Ok();
  }

  // Takes over `fd`, an opened folder, as a handle.
  static Status Adopt(int fd, std::string shown, std::unique_ptr<OpenedFolder>* out) {
    Descriptor owned(fd);
    struct stat info;
    if (fstat(fd, &info) != 0) return FolderUnreadable(shown, errno);
    const FolderId id{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
    *out = std::make_unique<DiskOpenedFolder>(owned.release(), std::move(shown), id);
    return Status::Ok();
  }

 private:
  FolderListing ListEntries(std::string_view wildcard) {
    FolderListing listing;
    // A fresh open of "." gives the listing its own position; a dup would share ours.
    const int list_fd = openat(fd_.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* folder = list_fd < 0 ? nullptr : fdopendir(list_fd);
    if (folder == nullptr) {
      listing.status = FolderUnreadable(shown_, errno);
      if (list_fd >= 0) close(list_fd);
      return listing;
    }
    for (;;) {
      errno = 0;
      const dirent* entry = readdir(folder);
      if (entry == nullptr) {
        if (errno != 0) listing = {FolderUnreadable(shown_, errno), {}, {}, {}};
        break;
      }
      const std::string_view name = entry->d_name;
      if (name.starts_with('.')) {
        if (name != "." && name != ".." && IsFolder(list_fd, entry)) listing.passed_folders.push_back({std::string(name)});
        continue;
      }
      Examine(list_fd, entry, wildcard, listing);
    }
    closedir(folder);
    return listing;
  }

  // True when the entry is a real folder (not a link to one).
  static bool IsFolder(int folder_fd, const dirent* entry) {
    if (entry->d_type != DT_UNKNOWN) return entry->d_type == DT_DIR;
    struct stat info;
    return fstatat(folder_fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
  }

  // Sorts one entry into the listing. Folders, pipes, devices and sockets are known from the
  // entry; links and entries of unknown kind need a look at what they are.
  static void Examine(int folder_fd, const dirent* entry, std::string_view wildcard, FolderListing& listing) {
    const std::string_view name = entry->d_name;
    if (entry->d_type == DT_DIR) {
      listing.folders.emplace_back(std::string(name));
      return;
    }
    if (entry->d_type != DT_REG && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) return;
    struct stat info;
    bool link = entry->d_type == DT_LNK;
    if (entry->d_type == DT_UNKNOWN) {
      if (fstatat(folder_fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (!IsUnresolvable(errno) && MatchesWildcard(wildcard, name)) {
          listing.unexamined.push_back({std::string(name), Status::FromErrno(errno, kSourceUnreadable)});
        }
        return;
      }
      if (S_ISDIR(info.st_mode)) {
        listing.folders.emplace_back(std::string(name));
        return;
      }
      if (!S_ISLNK(info.st_mode) && !S_ISREG(info.st_mode)) return;
      link = S_ISLNK(info.st_mode);
    }
    // A link is looked at whatever the wildcard, as it may lead to a folder.
    const bool matches = MatchesWildcard(wildcard, name);
    if (!matches && !link) return;
    if (fstatat(folder_fd, entry->d_name, &info, 0) != 0) {
      // Gone since readdir, a dangling or looping link, a link through a file or with too long
      // a name: no ordinary file. Anything else is a problem of this entry alone.
      if (matches && !IsUnresolvable(errno)) {
        listing.unexamined.push_back({std::string(name), Status::FromErrno(errno, kSourceUnreadable)});
      }
      return;
    }
    if (link && S_ISDIR(info.st_mode)) {
      listing.passed_folders.push_back({std::string(name), true});
      return;
    }
    if (!matches || !S_ISREG(info.st_mode)) return;
    listing.files.push_back({std::filesystem::path(std::string(name)), static_cast<std::uintmax_t>(info.st_size)});
  }

  Descriptor fd_;
  std::string shown_;  // text, not a path: a path object splits itself into its components
  FolderId id_;
};

class DiskFileServicesImpl : public FileServices {
 public:
  // The path is resolved once; the folder found is then opened without following a link, so
  // a link put in its place between the two steps is refused, not followed.
  Status OpenFolder(const std::filesystem::path& folder, std::unique_ptr<OpenedFolder>* out) override {
    std::unique_ptr<char, decltype(&std::free)> real(realpath(folder.c_str(), nullptr), &std::free);
    if (real == nullptr) return FolderUnreadable(folder, errno);
    const int fd = open(real.get(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return FolderUnreadable(folder, errno);
    return DiskOpenedFolder::Adopt(fd, folder.native(), out);
  }

  bool Missing(const std::filesystem::path& path) override {
    struct stat info;
    return lstat(path.c_str(), &info) != 0 && errno == ENOENT;
  }

  bool LinkTarget(const std::filesystem::path& path, std::filesystem::path* target) override {
    std::string entry = path.native();
    while (entry.size() > 1 && entry.back() == '/') entry.pop_back();  // "T2/" would name where T2 leads
    std::string text(256, '\0');
    for (;;) {
      const ssize_t n = readlink(entry.c_str(), text.data(), text.size());
      if (n < 0) return false;  // EINVAL: no link; ENOENT and the rest: nothing to tell
      if (static_cast<std::size_t>(n) < text.size()) {
        text.resize(static_cast<std::size_t>(n));
        *target = std::move(text);
        return true;
      }
      text.resize(text.size() * 2);  // it may not have fitted
    }
  }

  Status RemoveFile(const std::filesystem::path& file) override {
    if (unlink(file.c_str()) != 0) return Status::FromErrno(errno, kFileNotRemovable);
    return Status::Ok();
  }

  Status MakeFolder(const std::filesystem::path& folder) override {
    if (mkdir(folder.c_str(), 0777) != 0) return Status::FromErrno(errno, kFolderNotCreatable);
    return Status::Ok();
  }

  Status RemoveFolder(const std::filesystem::path& folder) override {
    if (rmdir(folder.c_str()) != 0) return Status::FromErrno(errno, kFolderNotRemovable);
    return Status::Ok();
  }
};

}  // namespace

FileServices& DiskFileServices() {
  static DiskFileServicesImpl services;
  return services;
}

bool SameFolderPath(const std::filesystem::path& a, const std::filesystem::path& b) { return a.native() == b.native(); }

}  // namespace tavrin
