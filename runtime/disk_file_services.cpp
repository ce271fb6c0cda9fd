#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string>

#include "runtime/file_service_reasons.h"
#include "runtime/file_services.h"
#include "runtime/listing_pattern.h"
#include "runtime/wildcard.h"

namespace tavrin {
namespace {

constexpr std::size_t kCopyBufferSize = 256 * 1024;

Status NotRegular(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return Status::FromErrno(EISDIR, kSourceUnreadable);
  return Status::Error(std::string(kSourceUnreadable) + " (ist keine gewöhnliche Datei)");
}

// Errors of writing that can only come from the target's side.
bool IsTargetError(int error_number) {
  return error_number == ENOSPC || error_number == EDQUOT || error_number == EFBIG || error_number == EROFS;
}

class DiskInputFile : public InputFile {
 public:
  explicit DiskInputFile(int fd) : fd_(fd) {}
  ~DiskInputFile() override { close(fd_); }
  DiskInputFile(const DiskInputFile&) = delete;
  DiskInputFile& operator=(const DiskInputFile&) = delete;

  Status Read(char* buffer, std::size_t capacity, std::size_t* got) override {
    *got = 0;
    for (;;) {
      const ssize_t n = read(fd_, buffer, capacity);
      if (n >= 0) {
        *got = static_cast<std::size_t>(n);
        return Status::Ok();
      }
      if (errno != EINTR) return Status::FromErrno(errno, kSourceUnreadable);
    }
  }

  int fd() const { return fd_; }

 private:
  int fd_;
};

class DiskOutputFile : public OutputFile {
 public:
  explicit DiskOutputFile(int fd) : fd_(fd) {}
  ~DiskOutputFile() override {
    if (fd_ >= 0) close(fd_);
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
    return close_status_;
  }

  int fd() const { return fd_; }

 private:
  int fd_;
  Status close_status_;
};

// Opens a regular file (or a link to one) for reading. A pipe would block in open() until a
// writer comes, so the file is opened without blocking, checked, and then set to blocking.
Status OpenDiskInput(const std::filesystem::path& file, std::unique_ptr<DiskInputFile>* out) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return Status::FromErrno(errno, kSourceUnreadable);
  auto input = std::make_unique<DiskInputFile>(fd);
  struct stat info;
  if (fstat(fd, &info) != 0) return Status::FromErrno(errno, kSourceUnreadable);
  if (!S_ISREG(info.st_mode)) return NotRegular(info);
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return Status::FromErrno(errno, kSourceUnreadable);
  }
  *out = std::move(input);
  return Status::Ok();
}

// Creates a new file; O_EXCL with O_CREAT never follows a link, also not a dangling one.
Status CreateDiskOutput(const std::filesystem::path& file, std::unique_ptr<DiskOutputFile>* out) {
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return Status::FromErrno(errno, kTargetNotCreatable);
  *out = std::make_unique<DiskOutputFile>(fd);
  return Status::Ok();
}

// Copies what is left of `from` with read and write. The buffer is not cleared first: after
// copy_file_range has done the work, this only reads the end, and no page of it is touched.
Status CopyByReadWrite(DiskInputFile& from, DiskOutputFile& to) {
  const auto buffer = std::make_unique_for_overwrite<char[]>(kCopyBufferSize);
  for (;;) {
    std::size_t got = 0;
    Status status = from.Read(buffer.get(), kCopyBufferSize, &got);
    if (!status.ok()) return status;
    if (got == 0) return Status::Ok();
    status = to.Write(std::string_view(buffer.get(), got));
    if (!status.ok()) return status;
  }
}

// Lets the kernel copy as far as it can, then finishes with read and write. The plain loop
// takes over where copy_file_range is not possible (other file system, old kernel), after an
// error whose side is unclear (it then fails again and names the side), and at the apparent
// end, because some files report a size of 0 and copy_file_range then copies nothing.
Status CopyContent(DiskInputFile& from, DiskOutputFile& to) {
  constexpr std::size_t kChunk = std::size_t{1} << 30;
  for (;;) {
    const ssize_t n = copy_file_range(from.fd(), nullptr, to.fd(), nullptr, kChunk, 0);
    if (n > 0) continue;
    if (n == 0) break;
    if (errno == EINTR) continue;
    if (IsTargetError(errno)) return Status::FromErrno(errno, kTargetUnwritable);
    break;
  }
  return CopyByReadWrite(from, to);
}

class DiskFileServicesImpl : public FileServices {
 public:
  FolderListing List(const std::filesystem::path& pattern) override {
    const ListingPattern split = SplitListingPattern(pattern);
    FolderListing listing;
    DIR* folder = opendir(split.folder.c_str());
    if (folder == nullptr) {
      listing.status = FolderUnreadable(split.folder, errno);
      return listing;
    }
    const int folder_fd = dirfd(folder);
    for (;;) {
      errno = 0;
      const dirent* entry = readdir(folder);
      if (entry == nullptr) {
        if (errno != 0) listing = {FolderUnreadable(split.folder, errno), {}};
        break;
      }
      const std::string_view name = entry->d_name;
      if (name.starts_with('.')) continue;
      // Folders, pipes, devices and sockets are known from the entry; links and entries of
      // unknown kind need a look at what they are.
      if (entry->d_type != DT_REG && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) continue;
      if (!MatchesWildcard(split.wildcard, name)) continue;
      struct stat info;
      if (fstatat(folder_fd, entry->d_name, &info, 0) != 0) {
        // Gone since readdir, a dangling or looping link, a link into a closed folder: not an
        // ordinary file.
        if (errno == ENOENT || errno == ELOOP || errno == ENOTDIR || errno == EACCES) continue;
        listing = {FolderUnreadable(split.folder, errno), {}};
        break;
      }
      if (!S_ISREG(info.st_mode)) continue;
      listing.files.push_back(
          {std::filesystem::path(std::string(name)), static_cast<std::uintmax_t>(info.st_size)});
    }
    closedir(folder);
    std::sort(listing.files.begin(), listing.files.end(),
              [](const ListedFile& a, const ListedFile& b) { return a.name.native() < b.name.native(); });
    return listing;
  }

  Status OpenInput(const std::filesystem::path& file, std::unique_ptr<InputFile>* out) override {
    std::unique_ptr<DiskInputFile> input;
    Status status = OpenDiskInput(file, &input);
    if (status.ok()) *out = std::move(input);
    return status;
  }

  Status CreateOutput(const std::filesystem::path& file, std::unique_ptr<OutputFile>* out) override {
    std::unique_ptr<DiskOutputFile> output;
    Status status = CreateDiskOutput(file, &output);
    if (status.ok()) *out = std::move(output);
    return status;
  }

  Status CopyToNew(const std::filesystem::path& from, const std::filesystem::path& to) override {
    std::unique_ptr<DiskInputFile> input;
    Status status = OpenDiskInput(from, &input);
    if (!status.ok()) return status;
    std::unique_ptr<DiskOutputFile> output;
    status = CreateDiskOutput(to, &output);
    if (!status.ok()) return status;  // nothing was created, so nothing is removed
    status = CopyContent(*input, *output);
    if (status.ok()) status = output->Close();
    if (!status.ok()) {
      output.reset();
      unlink(to.c_str());  // only ever the file made above
    }
    return status;
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

}  // namespace tavrin
