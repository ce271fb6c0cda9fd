#include "runtime/file_services.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include "runtime/file_service_reasons.h"
#include "runtime/listing_pattern.h"

namespace tavrin {

Status InputFile::CopyTo(OutputFile& output) {
  constexpr std::size_t kBufferSize = 256 * 1024;
  // Not cleared first: only the bytes read are written.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
  for (;;) {
    if (StopAsked()) return Status::FromErrno(ECANCELED);
    std::size_t got = 0;
    Status status = Read(buffer.get(), kBufferSize, &got);
    if (!status.ok() || got == 0) return status;
    status = output.Write(std::string_view(buffer.get(), got));
    if (!status.ok()) return status;
  }
}

void SortByName(FolderListing& listing) {
  const auto by_name = [](const auto& a, const auto& b) { return a.name.native() < b.name.native(); };
  std::sort(listing.files.begin(), listing.files.end(), by_name);
  std::sort(listing.unexamined.begin(), listing.unexamined.end(), by_name);
  std::sort(listing.folders.begin(), listing.folders.end(),
            [](const auto& a, const auto& b) { return a.native() < b.native(); });
}

FolderListing FileServices::List(const std::filesystem::path& pattern) {
  const ListingPattern split = SplitListingPattern(pattern);
  std::unique_ptr<OpenedFolder> folder;
  const Status status = OpenFolder(split.folder, &folder);
  if (!status.ok()) return {status, {}, {}, {}};
  FolderListing listing = folder->List(split.wildcard);
  listing.folders.clear();
  listing.passed_folders.clear();
  return listing;
}

Status OpenedFolder::RemoveItself() { return Status::FromErrno(ENOTSUP, kFolderNotRemovable); }

Status FileServices::IdOf(const std::filesystem::path& folder, FolderId* id) {
  std::unique_ptr<OpenedFolder> above;
  Status status = OpenFolder(folder.parent_path(), &above);
  if (!status.ok()) return status;
  std::unique_ptr<OpenedFolder> opened;
  status = above->OpenFolder(folder.filename(), &opened);
  if (status.ok()) *id = opened->id();
  return status;
}

MountKind FileServices::Mounted(const std::filesystem::path&) { return MountKind::kNone; }

}  // namespace tavrin
