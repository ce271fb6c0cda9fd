#include "tests/support/faulty_file_services.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <optional>
#include <string_view>
#include <utility>

#include "runtime/file_service_reasons.h"
#include "runtime/listing_pattern.h"
#include "runtime/path_text.h"

namespace tavrin::testing {
namespace {

// The last component of a path; "/p/q/" gives "q".
std::string LastName(std::filesystem::path path) {
  if (!path.has_filename() && path.has_relative_path()) path = path.parent_path();
  return PathText(path.filename());
}

template <typename Value>
const Value* FindFault(const std::map<std::string, Value>& faults, const std::filesystem::path& path) {
  const auto found = faults.find(LastName(path));
  return found == faults.end() ? nullptr : &found->second;
}

// Throws std::bad_alloc on every read.
class ThrowingInputFile : public InputFile {
 public:
  explicit ThrowingInputFile(std::unique_ptr<InputFile> real) : real_(std::move(real)) {}
  Status Read(char*, std::size_t, std::size_t*) override { throw std::bad_alloc(); }
  std::uint64_t size() const override { return real_->size(); }

 private:
  std::unique_ptr<InputFile> real_;
};

// Passes the first `after_bytes` bytes through, then fails every read.
class FaultyInputFile : public InputFile {
 public:
  FaultyInputFile(std::unique_ptr<InputFile> real, std::size_t after_bytes, int error_number)
      : real_(std::move(real)), left_(after_bytes), error_number_(error_number) {}

  Status Read(char* buffer, std::size_t capacity, std::size_t* got) override {
    *got = 0;
    if (left_ == 0) return Status::FromErrno(error_number_, kSourceUnreadable);
    Status status = real_->Read(buffer, std::min(capacity, left_), got);
    if (status.ok()) left_ -= *got;
    return status;
  }
  std::uint64_t size() const override { return real_->size(); }

 private:
  std::unique_ptr<InputFile> real_;
  std::size_t left_;
  int error_number_;
};

// Passes the first `*write_limit` bytes through, then fails every write (no limit: all pass);
// fails Close with `close_error` unless it is 0.
class FaultyOutputFile : public OutputFile {
 public:
  FaultyOutputFile(std::unique_ptr<OutputFile> real, std::optional<std::size_t> write_limit, int write_error,
                   int close_error)
      : real_(std::move(real)), left_(write_limit), write_error_(write_error), close_error_(close_error) {}

  Status Write(std::string_view bytes) override {
    if (real_ == nullptr) return Status::FromErrno(EBADF, kTargetUnwritable);
    if (left_ && bytes.size() > *left_) {
      // Write what still fits, like a disk that fills up in the middle of a write.
      const Status written = real_->Write(bytes.substr(0, *left_));
      *left_ = 0;
      if (!written.ok()) return written;
      return Status::FromErrno(write_error_, kTargetUnwritable);
    }
    if (left_) *left_ -= bytes.size();
    return real_->Write(bytes);
  }

  // A failed close leaves what a real one leaves: the real file dropped unfinished, so it
  // never gets its name.
  Status Close() override {
    if (close_error_ != 0) {
      real_.reset();
      return Status::FromErrno(close_error_, kTargetUnwritable);
    }
    return real_->Close();
  }

 private:
  std::unique_ptr<OutputFile> real_;
  std::optional<std::size_t> left_;
  int write_error_;
  int close_error_;
};

}  // namespace

class FaultyFolder : public OpenedFolder {
 public:
  FaultyFolder(FaultyFileServices& owner, std::unique_ptr<OpenedFolder> real, std::filesystem::path path)
      : owner_(owner), real_(std::move(real)), path_(std::move(path)) {}

  FolderId id() const override {
    const FolderId* fake = FindFault(owner_.fake_ids_, path_);
    return fake != nullptr ? *fake : real_->id();
  }

  FolderListing List(std::string_view wildcard) override {
    owner_.calls.push_back("List " + PathText(path_ / PathFromText(wildcard)));
    if (const FolderListing failed = ListFault(path_); !failed.status.ok()) return failed;
    FolderListing listing = real_->List(wildcard);
    std::erase_if(listing.files, [&](const ListedFile& file) {
      const int* error_number = FindFault(owner_.examine_faults_, file.name);
      if (error_number != nullptr) {
        listing.unexamined.push_back({file.name, Status::FromErrno(*error_number, kSourceUnreadable)});
      }
      return error_number != nullptr;
    });
    return listing;
  }

  Status OpenInput(const std::filesystem::path& name, std::unique_ptr<InputFile>* out) override {
    const std::filesystem::path full = path_ / name;
    owner_.calls.push_back("OpenInput " + PathText(full));
    if (owner_.before_read) owner_.before_read(full);
    if (const int* error_number = FindFault(owner_.open_faults_, name)) {
      return Status::FromErrno(*error_number, kSourceUnreadable);
    }
    std::unique_ptr<InputFile> real;
    Status status = real_->OpenInput(name, &real);
    if (!status.ok()) return status;
    if (const auto* fault = FindFault(owner_.read_faults_, name)) {
      real = std::make_unique<FaultyInputFile>(std::move(real), fault->after_bytes, fault->error_number);
    }
    if (owner_.throw_on_read_.count(PathText(name)) != 0) real = std::make_unique<ThrowingInputFile>(std::move(real));
    *out = std::move(real);
    return Status::Ok();
  }

  Status CreateOutput(const std::filesystem::path& name, std::unique_ptr<OutputFile>* out) override {
    owner_.calls.push_back("CreateOutput " + PathText(path_ / name));
    if (const int* error_number = FindFault(owner_.create_faults_, name)) {
      return Status::FromErrno(*error_number, kTargetNotCreatable);
    }
    std::unique_ptr<OutputFile> real;
    Status status = real_->CreateOutput(name, &real);
    if (!status.ok()) return status;
    const auto* write_fault = FindFault(owner_.write_faults_, name);
    const int* close_error = FindFault(owner_.close_faults_, name);
    if (write_fault || close_error) {
      real = std::make_unique<FaultyOutputFile>(
          std::move(real), write_fault ? std::optional<std::size_t>(write_fault->after_bytes) : std::nullopt,
          write_fault ? write_fault->error_number : 0, close_error ? *close_error : 0);
    }
    *out = std::move(real);
    return Status::Ok();
  }

  Status RemoveFile(const std::filesystem::path& name) override {
    owner_.calls.push_back("RemoveFile " + PathText(path_ / name));
    if (const int* error_number = FindFault(owner_.remove_faults_, name)) {
      return Status::FromErrno(*error_number, kFileNotRemovable);
    }
    return real_->RemoveFile(name);
  }

  Status OpenFolder(const std::filesystem::path& name, std::unique_ptr<OpenedFolder>* out) override {
    const std::filesystem::path full = path_ / name;
    owner_.calls.push_back("OpenFolder " + PathText(full));
    if (const int* error_number = FindFault(owner_.open_folder_faults_, name)) {
      return FolderUnreadable(full, *error_number);
    }
    std::unique_ptr<OpenedFolder> real;
    Status status = real_->OpenFolder(name, &real);
    if (status.ok()) *out = owner_.Wrap(std::move(real), full);
    return status;
  }

  Status OpenFolderToRemove(const std::filesystem::path& name, std::unique_ptr<OpenedFolder>* out) override {
    const std::filesystem::path full = path_ / name;
    owner_.calls.push_back("OpenFolderToRemove " + PathText(full));
    if (const int* error_number = FindFault(owner_.open_folder_faults_, name)) {
      return FolderUnreadable(full, *error_number);
    }
    std::unique_ptr<OpenedFolder> real;
    Status status = real_->OpenFolderToRemove(name, &real);
    if (status.ok()) *out = owner_.Wrap(std::move(real), full);
    return status;
  }

  bool RemovesItself() const override { return real_->RemovesItself(); }

  Status RemoveItself() override {
    owner_.calls.push_back("RemoveItself " + PathText(path_));
    if (const int* error_number = FindFault(owner_.remove_folder_faults_, path_)) {
      return Status::FromErrno(*error_number, kFolderNotRemovable);
    }
    return real_->RemoveItself();
  }

  Status OpenParent(std::unique_ptr<OpenedFolder>* out) override {
    std::filesystem::path above = path_;
    if (!above.has_filename() && above.has_relative_path()) above = above.parent_path();
    above = above.parent_path();
    owner_.calls.push_back("OpenParent " + PathText(above));
    if (const int* error_number = FindFault(owner_.open_parent_faults_, path_)) {
      return FolderUnreadable(above, *error_number);
    }
    std::unique_ptr<OpenedFolder> real;
    const std::filesystem::path* other = FindFault(owner_.parent_replacements_, path_);
    Status status = other != nullptr ? owner_.real_.OpenFolder(*other, &real) : real_->OpenParent(&real);
    if (status.ok()) *out = owner_.Wrap(std::move(real), above);
    return status;
  }

  Status MakeFolder(const std::filesystem::path& name) override {
    owner_.calls.push_back("MakeFolder " + PathText(path_ / name));
    if (const int* error_number = FindFault(owner_.make_folder_faults_, name)) {
      return Status::FromErrno(*error_number, kFolderNotCreatable);
    }
    const Status status = real_->MakeFolder(name);
    if (status.ok() && owner_.after_make_folder) owner_.after_make_folder(path_ / name);
    return status;
  }

 private:
  FolderListing ListFault(const std::filesystem::path& folder) const {
    for (const auto& [folder_name, error_number] : owner_.list_faults_) {
      if (folder_name.empty() || folder_name == LastName(folder)) {
        return {FolderUnreadable(folder, error_number), {}, {}, {}};
      }
    }
    return {};
  }

  FaultyFileServices& owner_;
  std::unique_ptr<OpenedFolder> real_;
  std::filesystem::path path_;
};

std::unique_ptr<OpenedFolder> FaultyFileServices::Wrap(std::unique_ptr<OpenedFolder> real,
                                                       const std::filesystem::path& path) {
  return std::make_unique<FaultyFolder>(*this, std::move(real), path);
}

Status FaultyFileServices::OpenFolder(const std::filesystem::path& folder, std::unique_ptr<OpenedFolder>* out) {
  calls.push_back("OpenFolder " + PathText(folder));
  if (const int* error_number = FindFault(open_folder_faults_, folder)) {
    return FolderUnreadable(folder, *error_number);
  }
  std::unique_ptr<OpenedFolder> real;
  Status status = real_.OpenFolder(folder, &real);
  if (status.ok()) *out = Wrap(std::move(real), folder);
  return status;
}

FolderListing FaultyFileServices::List(const std::filesystem::path& pattern) {
  calls.push_back("List " + PathText(pattern));
  const ListingPattern split = SplitListingPattern(pattern);
  for (const auto& [folder_name, error_number] : list_faults_) {
    if (folder_name.empty() || folder_name == PathText(split.folder.filename())) {
      return {FolderUnreadable(split.folder, error_number), {}, {}, {}};
    }
  }
  return real_.List(pattern);
}

bool FaultyFileServices::FakeId(const std::string& folder_name, const std::filesystem::path& like) {
  std::unique_ptr<OpenedFolder> folder;
  if (!real_.OpenFolder(like, &folder).ok()) return false;
  fake_ids_[folder_name] = folder->id();
  return true;
}

bool FaultyFileServices::Missing(const std::filesystem::path& path) { return real_.Missing(path); }

bool FaultyFileServices::LinkTarget(const std::filesystem::path& path, std::filesystem::path* target) {
  calls.push_back("LinkTarget " + path.string());
  if (const std::filesystem::path* fake = FindFault(link_targets_, path)) {
    *target = *fake;
    return true;
  }
  return real_.LinkTarget(path, target);
}

Status FaultyFileServices::RemoveFile(const std::filesystem::path& file) {
  calls.push_back("RemoveFile " + PathText(file));
  if (const int* error_number = FindFault(remove_faults_, file)) {
    return Status::FromErrno(*error_number, kFileNotRemovable);
  }
  return real_.RemoveFile(file);
}

Status FaultyFileServices::MakeFolder(const std::filesystem::path& folder) {
  calls.push_back("MakeFolder " + PathText(folder));
  if (const int* error_number = FindFault(make_folder_faults_, folder)) {
    return Status::FromErrno(*error_number, kFolderNotCreatable);
  }
  const Status status = real_.MakeFolder(folder);
  if (status.ok() && after_make_folder) after_make_folder(folder);
  return status;
}

Status FaultyFileServices::RemoveFolder(const std::filesystem::path& folder) {
  calls.push_back("RemoveFolder " + PathText(folder));
  if (const int* error_number = FindFault(remove_folder_faults_, folder)) {
    return Status::FromErrno(*error_number, kFolderNotRemovable);
  }
  return real_.RemoveFolder(folder);
}

bool FaultyFileServices::ReplaceAt(const std::string& folder_name, const std::filesystem::path& other) {
  std::unique_ptr<OpenedFolder> folder;
  if (!real_.OpenFolder(other, &folder).ok()) return false;
  replaced_ids_[folder_name] = folder->id();
  return true;
}

Status FaultyFileServices::IdOf(const std::filesystem::path& folder, FolderId* id) {
  calls.push_back("IdOf " + PathText(folder));
  if (const int* error_number = FindFault(open_folder_faults_, folder)) {
    return FolderUnreadable(folder, *error_number);
  }
  const Status status = real_.IdOf(folder, id);
  if (!status.ok()) return status;
  if (const FolderId* replaced = FindFault(replaced_ids_, folder)) {
    *id = *replaced;
  } else if (const FolderId* fake = FindFault(fake_ids_, folder)) {
    *id = *fake;
  }
  return status;
}

MountKind FaultyFileServices::Mounted(const std::filesystem::path& folder) {
  calls.push_back("Mounted " + PathText(folder));
  if (const MountKind* kind = FindFault(mount_kinds_, folder)) return *kind;
  return real_.Mounted(folder);
}

}  // namespace tavrin::testing
