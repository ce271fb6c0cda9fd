#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "runtime/file_services.h"
#include "runtime/status.h"

namespace tavrin {

// Walks a folder tree depth first, subfolders in byte order, each folder's listing taken before
// it is visited. Several trees can be walked side by side: the first side is listed and leads,
// the others follow it folder for folder (a target tree that is made as the walk goes). Only
// the folders at hand are open, never those above them, and nothing recurses: neither the depth
// of a tree nor the length of its paths is limited. Subfolders are the real ones of a listing:
// hidden folders and links to folders are never entered.
class FolderTreeWalk {
 public:
  using Path = std::filesystem::path;
  // A path below the top folder. Kept as a string: a path object splits itself into its
  // components, which would make every step into a deep tree cost as much as its depth.
  using Relative = std::filesystem::path::string_type;
  // Opens, for a following side, the subfolder `name` of `parent` (making it first, for a target).
  using EnterFollower = std::function<Status(std::size_t side, OpenedFolder& parent, const Path& name,
                                             std::unique_ptr<OpenedFolder>* child)>;
  // Visits a folder: its path relative to the top ("" for the top folder itself), the open folder
  // of every side, and the listing of the first. Returns false to end the walk.
  using Visit = std::function<bool(const Relative& relative, const std::vector<OpenedFolder*>& folders,
                                   const FolderListing& listing)>;
  // A folder that could not be entered, listed or gone back to, and why. Its files and the
  // folders below it are left out.
  using Failure = std::function<void(const Relative& relative, const Status& status)>;

  // `tops` are the top folders of the sides, open; `wildcard` selects the files listed; without
  // `recursive` only the top folders are visited.
  FolderTreeWalk(std::vector<OpenedFolder*> tops, std::string_view wildcard, bool recursive)
      : tops_(std::move(tops)), wildcard_(wildcard), recursive_(recursive) {}

  void Run(const Visit& visit, const Failure& failure, const EnterFollower& enter_follower = {}) const;

 private:
  std::vector<OpenedFolder*> tops_;
  std::string_view wildcard_;
  bool recursive_;
};

}  // namespace tavrin
