#include "conversion/folder_tests.h"

#include "conversion/folder_path.h"

namespace tavrin {
namespace {

constexpr const char* kProjectWildcard = "*.vbp";
constexpr const char* kAnyWildcard = "*.*";

FolderAnswer Unlisted(const FolderListing& listing) {
  FolderAnswer answer;
  answer.listed = false;
  answer.status = listing.status;
  return answer;
}

FolderAnswer HoldsProject(const FolderListing& listing) {
  if (!listing.status.ok()) return Unlisted(listing);
  FolderAnswer answer;
  answer.yes = !listing.files.empty();
  return answer;
}

FolderAnswer HoldsNoFile(const FolderListing& listing) {
  if (!listing.status.ok()) return Unlisted(listing);
  FolderAnswer answer;
  answer.yes = listing.files.empty() && listing.unexamined.empty();
  return answer;
}

}  // namespace

FolderAnswer ProjectExist(FileServices& files, const std::filesystem::path& folder) {
  return HoldsProject(files.List(Append(folder, std::filesystem::path(kProjectWildcard).native())));
}

FolderAnswer ProjectExist(OpenedFolder& folder) { return HoldsProject(folder.List(kProjectWildcard)); }

FolderAnswer ProjectCreatable(FileServices& files, const std::filesystem::path& folder) {
  return HoldsNoFile(files.List(Append(folder, std::filesystem::path(kAnyWildcard).native())));
}

FolderAnswer ProjectCreatable(OpenedFolder& folder) { return HoldsNoFile(folder.List(kAnyWildcard)); }

}  // namespace tavrin
