#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "runtime/file_services.h"

namespace tavrin::testing {

// File services that forward to real ones (the disk by default) and fail on demand. Faults are
// keyed by the last component of the path they hit ("Form1.frm"), so a test need not know the
// folder. Every call, also those on the folders it opens, is recorded in `calls` as
// "<Operation> <full path>". A copy is an OpenInput and a CreateOutput, so open, read, create,
// write and close faults hit copies as well.
class FaultyFileServices : public FileServices {
 public:
  explicit FaultyFileServices(FileServices& real = DiskFileServices()) : real_(real) {}

  // Listing a folder whose last component is `folder_name` fails with `error_number` (an empty
  // name matches every listing).
  void FailList(const std::string& folder_name, int error_number) { list_faults_[folder_name] = error_number; }
  // Opening a folder of this name fails.
  void FailOpenFolder(const std::string& folder_name, int error_number) {
    open_folder_faults_[folder_name] = error_number;
  }
  // Opening the folder above a folder of this name (OpenParent) fails.
  void FailOpenParent(const std::string& folder_name, int error_number) {
    open_parent_faults_[folder_name] = error_number;
  }
  void FailOpenInput(const std::string& name, int error_number) { open_faults_[name] = error_number; }
  void FailCreateOutput(const std::string& name, int error_number) { create_faults_[name] = error_number; }
  // Reads of `name` succeed for the first `after_bytes` bytes, then fail.
  void FailReadAfter(const std::string& name, std::size_t after_bytes, int error_number) {
    read_faults_[name] = {after_bytes, error_number};
  }
  // Writes to `name` succeed for the first `after_bytes` bytes (the write that crosses the
  // limit still writes its bytes up to it, as a full disk would), then fail.
  void FailWriteAfter(const std::string& name, std::size_t after_bytes, int error_number) {
    write_faults_[name] = {after_bytes, error_number};
  }
  // Reads of `name` throw std::bad_alloc, as an allocation that fails inside one file would.
  void ThrowOnRead(const std::string& name) { throw_on_read_.insert(name); }
  // Listing shows an ordinary file of this name as an entry that could not be examined.
  void FailExamine(const std::string& name, int error_number) { examine_faults_[name] = error_number; }
  // Close of an output file of this name fails; the real file is dropped unfinished, as after a
  // failed close on disk.
  void FailClose(const std::string& name, int error_number) { close_faults_[name] = error_number; }
  void FailRemoveFile(const std::string& name, int error_number) { remove_faults_[name] = error_number; }
  void FailMakeFolder(const std::string& name, int error_number) { make_folder_faults_[name] = error_number; }
  void FailRemoveFolder(const std::string& name, int error_number) { remove_folder_faults_[name] = error_number; }

  // A folder of this name, however opened, reports the id of the folder at `like` (as a mount
  // of that folder would).
  // False when that folder cannot be opened.
  [[nodiscard]] bool FakeId(const std::string& folder_name, const std::filesystem::path& like);
  // Going up from a folder of this name opens the folder at `other` instead of its parent.
  void ReplaceParent(const std::string& folder_name, const std::filesystem::path& other) {
    parent_replacements_[folder_name] = other;
  }
  // The folder at a path of this last name, when only its id is asked for (IdOf), is the one
  // at `other`: as if another folder had taken its place. Folders opened keep their own ids.
  // False when that folder cannot be opened.
  [[nodiscard]] bool ReplaceAt(const std::string& folder_name, const std::filesystem::path& other);
  // An entry of this name is a link to `target` (LinkTarget), as a junction would be.
  void FakeLink(const std::string& name, const std::filesystem::path& target) { link_targets_[name] = target; }
  // A folder of this name is, to the volumes, `kind` (a drive root, a mounted folder).
  void FakeMount(const std::string& folder_name, MountKind kind) { mount_kinds_[folder_name] = kind; }
  // Runs after every folder made, with its path.
  std::function<void(const std::filesystem::path&)> after_make_folder;

  // Runs before every OpenInput with the source path, so a test can change the disk in the
  // middle of a pass (remove the file, put a folder in its place, ...).
  std::function<void(const std::filesystem::path&)> before_read;

  std::vector<std::string> calls;

  Status OpenFolder(const std::filesystem::path& folder, std::unique_ptr<OpenedFolder>* out) override;
  FolderListing List(const std::filesystem::path& pattern) override;
  bool Missing(const std::filesystem::path& path) override;
  bool LinkTarget(const std::filesystem::path& path, std::filesystem::path* target) override;
  Status RemoveFile(const std::filesystem::path& file) override;
  Status MakeFolder(const std::filesystem::path& folder) override;
  Status RemoveFolder(const std::filesystem::path& folder) override;
  Status IdOf(const std::filesystem::path& folder, FolderId* id) override;
  MountKind Mounted(const std::filesystem::path& folder) override;

 private:
  friend class FaultyFolder;

  struct ByteFault {
    std::size_t after_bytes;
    int error_number;
  };
  // Wraps a real opened folder, so that what happens in it is faulted and recorded too.
  std::unique_ptr<OpenedFolder> Wrap(std::unique_ptr<OpenedFolder> real, const std::filesystem::path& path);

  FileServices& real_;
  std::map<std::string, int> list_faults_, open_folder_faults_, open_faults_, create_faults_, close_faults_,
      remove_faults_, make_folder_faults_, remove_folder_faults_, examine_faults_, open_parent_faults_;
  std::set<std::string> throw_on_read_;
  std::map<std::string, FolderId> fake_ids_, replaced_ids_;
  std::map<std::string, MountKind> mount_kinds_;
  std::map<std::string, std::filesystem::path> parent_replacements_, link_targets_;
  std::map<std::string, ByteFault> read_faults_, write_faults_;
};

}  // namespace tavrin::testing
