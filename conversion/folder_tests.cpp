#include "conversion/folder_tests.h"

#include <functional>
#include <vector>

#include "conversion/folder_path.h"
#include "conversion/folder_tree_walk.h"

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

// Looks through the tree below `top` until `found` says yes of a listing. A folder that cannot
// be listed ends the search unanswered when it is the top one or `unreadable_ends` is set.
FolderAnswer SearchTree(OpenedFolder& top, const char* wildcard, bool unreadable_ends,
                        const std::function<bool(const FolderListing&)>& found) {
  FolderAnswer answer;
  const FolderTreeWalk walk({&top}, wildcard, /*recursive=*/true);
  walk.Run(
      [&](const NativeString&, const std::vector<OpenedFolder*>&, const FolderListing& listing) {
        answer.yes = answer.listed && found(listing);
        return answer.listed && !answer.yes;
      },
      [&](const NativeString& relative, const Status& status, std::size_t) {
        if (answer.listed && (relative.empty() || unreadable_ends)) {
          answer.listed = false;
          answer.status = status;
        }
      });
  if (!answer.listed) answer.yes = false;
  return answer;
}

}  // namespace

FolderAnswer ProjectExist(FileServices& files, const std::filesystem::path& folder) {
  return HoldsProject(files.List(Append(folder, std::filesystem::path(kProjectWildcard).native())));
}

FolderAnswer ProjectExist(OpenedFolder& folder, bool tree) {
  if (!tree) return HoldsProject(folder.List(kProjectWildcard));
  return SearchTree(folder, kProjectWildcard, false, [](const FolderListing& listing) { return !listing.files.empty(); });
}

FolderAnswer ProjectCreatable(FileServices& files, const std::filesystem::path& folder) {
  return HoldsNoFile(files.List(Append(folder, std::filesystem::path(kAnyWildcard).native())));
}

FolderAnswer ProjectCreatable(OpenedFolder& folder, bool tree) {
  if (!tree) return HoldsNoFile(folder.List(kAnyWildcard));
  FolderAnswer answer = SearchTree(folder, kAnyWildcard, true, [](const FolderListing& listing) {
    return !listing.files.empty() || !listing.unexamined.empty();
  });
  if (answer.listed) answer.yes = !answer.yes;  // found a file: not free
  return answer;
}

}  // namespace tavrin
