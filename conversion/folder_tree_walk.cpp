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
  std::vector<FolderTreeWalk::Path> subfolders;
  std::size_t next = 0;
};

Status Moved(const FolderTreeWalk::Relative& relative) {
  return Status::Error("Das Verzeichnis [" + PathText(relative) +
                       "] wurde während der Konvertierung verschoben oder ersetzt");
}

// Opens the folders of `frame` again from those of the child just left, and makes sure they
// are the folders left before.
Status Return(Frame& frame, Frame& child) {
  for (std::size_t side = 0; side < frame.ids.size(); ++side) {
    if (frame.open[side] != nullptr) continue;  // a top folder stays open
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
  std::vector<Frame> stack;
  // Lists the folder of a new top frame and visits it; false ends the walk.
  auto arrive = [&](Frame& frame) {
    FolderListing listing = frame.open[0]->List(wildcard_);
    if (!listing.status.ok()) {
      failure(frame.relative, listing.status);
      return true;
    }
    if (recursive_) frame.subfolders = std::move(listing.folders);
    listing.folders.clear();
    return visit(frame.relative, frame.open, listing);
  };

  Frame top;
  top.open = tops_;
  top.owned.resize(tops_.size());
  for (OpenedFolder* folder : tops_) top.ids.push_back(folder->id());
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
        failure(stack.back().relative, status);
        return;  // nothing above can be reached safely any more
      }
      continue;
    }
    const Path& name = frame.subfolders[frame.next++];
    Frame child;
    child.relative = Join(frame.relative, name.native());
    child.owned.resize(frame.open.size());
    child.open.resize(frame.open.size());
    Status status = frame.open[0]->OpenFolder(name, &child.owned[0]);
    for (std::size_t side = 1; status.ok() && side < frame.open.size(); ++side) {
      status = enter_follower(side, *frame.open[side], name, &child.owned[side]);
    }
    if (!status.ok()) {
      failure(child.relative, status);
      continue;
    }
    for (std::size_t side = 0; side < frame.open.size(); ++side) {
      child.open[side] = child.owned[side].get();
      child.ids.push_back(child.open[side]->id());
    }
    // The folders above are let go: the way back is through the child's parent.
    if (stack.size() > 1) {
      for (std::size_t side = 0; side < frame.open.size(); ++side) {
        frame.open[side] = nullptr;
        frame.owned[side].reset();
      }
    }
    stack.push_back(std::move(child));
    if (!arrive(stack.back())) return;
  }
}

}  // namespace tavrin
