#include "conversion/folder_tests.h"

#include "conversion/folder_path.h"

namespace tavrin {
namespace {

// Lists `folder` with `wildcard`; `yes_when_found` decides what a match means.
FolderAnswer Test(FileServices& files, const std::filesystem::path& folder, const char* wildcard,
                  bool yes_when_found) {
  const FolderListing listing = files.List(Append(folder, wildcard));
  FolderAnswer answer;
  if (!listing.status.ok()) {
    answer.listed = false;
    answer.status = listing.status;
    return answer;
  }
  answer.yes = listing.files.empty() != yes_when_found;
  return answer;
}

}  // namespace

FolderAnswer ProjectExist(FileServices& files, const std::filesystem::path& folder) {
  return Test(files, folder, "*.vbp", /*yes_when_found=*/true);
}

FolderAnswer ProjectCreatable(FileServices& files, const std::filesystem::path& folder) {
  return Test(files, folder, "*.*", /*yes_when_found=*/false);
}

}  // namespace tavrin
