#include "conversion/folder_tree_walk.h"

#include <utility>

#include "conversion/folder_path.h"
#include "runtime/path_text.h"

namespace tavrin {
namespace {

// One folder on the way down, on every side.
struct Frame {
  FolderTreeWalk::Relative relative;
  std::vector<FolderId> ids;
  std::vector<std::unique_ptr<OpenedFolder>> owned;  // empty for the top folders and while below
  std::vector<OpenedFolder*> open;                   // the folders at hand; null while below
  std::vector<bool> absent;                          // a following side that could not be entered
  std::vector<FolderTreeWalk::Path> subfolders;
  std::size_t next = 0;
};

Status Moved(const FolderTreeWalk::Relative& relative) {
  return Status::Error("Das Verzeichnis [" + PathText(relative) +
                       "] wurde während der Konvertierung verschoben oder ersetzt");
}

Status Skipped(const FolderTreeWalk::Relative& relative, const char* why) {
  return Status::Error("Das Verzeichnis [" + PathText(relative) + "] " + why);
}

// Opens the folders of `frame` again from those of the child just left, and makes sure they
// are the folders left before.
Status Return(Frame& frame, Frame& child) {
  for (std::size_t side = 0; side < frame.ids.size(); ++side) {
    if (frame.open[side] != nullptr || frame.absent[side]) continue;  // kept open, or none
    std::unique_ptr<OpenedFolder> parent;
    const Status status = child.open[side]->OpenParent(&parent);
    if (!status.ok()) return status;
    if (parent->id() != frame.ids[side]) return Moved(frame.relative);
    frame.open[side] = parent.get();
    frame.owned[side] = std::move(parent);
  }
  return Status::Ok();
}

}  // namespace

void FolderTreeWalk::Run(const Visit& visit, const Failure& failure, const EnterFollower& enter_follower) const {
  FolderIdSet leading;              // every folder the first side entered
  FolderIdSet following = avoided_;  // every folder of the other sides, and those to avoid
  std::vector<Frame> stack;
  // Lists the folder of a new top frame and visits it; false ends the walk.
  auto arrive = [&](Frame& frame) {
    FolderListing listing = frame.open[0]->List(wildcard_);
    if (!listing.status.ok()) {
      failure(frame.relative, listing.status, 0);
      return true;
    }
    if (recursive_) frame.subfolders = std::move(listing.folders);
    listing.folders.clear();
    return visit(frame.relative, frame.open, listing);
  };

  Frame top;
  top.open = tops_;
  top.owned.resize(tops_.size());
  top.absent.assign(tops_.size(), false);
  for (OpenedFolder* folder : tops_) top.ids.push_back(folder->id());
  for (std::size_t side = 1; side < top.ids.size(); ++side) following.insert(top.ids[side]);
  if (following.contains(top.ids[0])) {
    failure(top.relative, Skipped(top.relative, "ist zugleich das Zielverzeichnis"), 0);
    return;
  }
  leading.insert(top.ids[0]);
  stack.push_back(std::move(top));
  if (!arrive(stack.back())) return;

  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next == frame.subfolders.size()) {
      Frame child = std::move(stack.back());
      stack.pop_back();
      if (stack.empty()) break;
      const Status status = Return(stack.back(), child);
      if (!status.ok()) {
        failure(stack.back().relative, status, 0);
        return;  // nothing above can be reached safely any more
      }
      continue;
    }
    const Path& name = frame.subfolders[frame.next++];
    Frame child;
    child.relative = Join(frame.relative, name.native());
    child.owned.resize(frame.open.size());
    child.open.resize(frame.open.size());
    child.absent = frame.absent;
    Status status = frame.open[0]->OpenFolder(name, &child.owned[0]);
    if (!status.ok()) {
      failure(child.relative, status, 0);
      continue;
    }
    // Reached by a mount or a junction: the target, or a folder on the way already.
    const FolderId id = child.owned[0]->id();
    if (following.contains(id)) {
      failure(child.relative,
              Skipped(child.relative, "ist zugleich ein Verzeichnis des Ziels und wird übergangen"), 0);
      continue;
    }
    if (!leading.insert(id).second) {
      failure(child.relative,
              Skipped(child.relative, "wurde schon unter einem anderen Namen betreten und wird übergangen"), 0);
      continue;
    }
    for (std::size_t side = 1; side < frame.open.size(); ++side) {
      if (child.absent[side]) continue;
      status = enter_follower(side, *frame.open[side], name, &child.owned[side]);
      if (status.ok() && leading.contains(child.owned[side]->id())) {
        status = Status::Error("ist zugleich ein Verzeichnis der Quelle");
      }
      if (!status.ok()) {
        child.owned[side].reset();
        child.absent[side] = true;
        failure(child.relative, status, side);
        continue;
      }
      following.insert(child.owned[side]->id());
    }
    for (std::size_t side = 0; side < frame.open.size(); ++side) {
      child.open[side] = child.owned[side].get();
      child.ids.push_back(child.open[side] != nullptr ? child.open[side]->id() : FolderId{});
    }
    // The folders above are let go: the way back is through the child's parent. A side the
    // child has no folder of keeps its folder here.
    if (stack.size() > 1) {
      for (std::size_t side = 0; side < frame.open.size(); ++side) {
        if (child.open[side] == nullptr) continue;
        frame.open[side] = nullptr;
        frame.owned[side].reset();
      }
    }
    stack.push_back(std::move(child));
    if (!arrive(stack.back())) return;
  }
}

}  // namespace tavrin
