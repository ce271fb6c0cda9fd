#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "runtime/file_services.h"
#include "runtime/status.h"

namespace tavrin {

struct FolderIdHash {
  std::size_t operator()(const FolderId& id) const {
    return std::hash<std::uint64_t>()(id.device * 0x9E3779B97F4A7C15ULL ^ id.node);
  }
};
using FolderIdSet = std::unordered_set<FolderId, FolderIdHash>;

// Walks a folder tree depth first, subfolders in byte order, each folder's listing taken before
// it is visited. Several trees can be walked side by side: the first side is listed and leads,
// the others follow it folder for folder (a target tree that is made as the walk goes). Only
// the folders at hand are open, never those above them, and nothing recurses: neither the depth
// of a tree nor the length of its paths is limited. Subfolders are the real ones of a listing:
// hidden folders and links to folders are never entered.
//
// Folders are told apart by their ids, not their names, so that no mount or junction can lead
// the walk in a circle or into its own output: the first side never enters a folder it has
// entered before, nor one of the following sides (their tops, every folder opened in them, and
// whatever Avoid names); a following side never takes a folder of the first.
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
  // of every side, and the listing of the first. A following side whose folder could not be
  // entered here or above is null: the first side's files are still visited, so that they can
  // be accounted for. Returns false to end the walk.
  using Visit = std::function<bool(const Relative& relative, const std::vector<OpenedFolder*>& folders,
                                   const FolderListing& listing)>;
  // A folder that could not be entered, listed or gone back to, and why; `side` is the side
  // whose folder it was. For the first side, its files and the folders below it are left out;
  // for a following side, that side is null from there down.
  using Failure = std::function<void(const Relative& relative, const Status& status, std::size_t side)>;

  // `tops` are the top folders of the sides, open; `wildcard` selects the files listed; without
  // `recursive` only the top folders are visited.
  FolderTreeWalk(std::vector<OpenedFolder*> tops, std::string_view wildcard, bool recursive)
      : tops_(std::move(tops)), wildcard_(wildcard), recursive_(recursive) {}

  // A folder the first side must never enter, as if it belonged to a following side.
  void Avoid(const FolderId& id) { avoided_.insert(id); }

  void Run(const Visit& visit, const Failure& failure, const EnterFollower& enter_follower = {}) const;

 private:
  std::vector<OpenedFolder*> tops_;
  std::string_view wildcard_;
  bool recursive_;
  FolderIdSet avoided_;
};

}  // namespace tavrin
