#include "window/presenter/folder_commands.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "conversion/folder_path.h"
#include "runtime/shown_text.h"
#include "window/presenter/mount_table.h"
#include "window/presenter/path_display.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

enum class TopFolder { kNone, kDriveRoot, kMountPoint };

// Whether `folder` is the top folder of a drive (a root, also through a link, or the top of a
// volume: a user file system mounted from its own top) or of anything else mounted (bind mounts too, which the device
// test below cannot see, since they stay on their device; or the top folder of another file
// system). None can be removed, but its files would be deleted first.
TopFolder TopFolderKind(FileServices& files, const fs::path& folder, [[maybe_unused]] std::string_view mountinfo) {
  const fs::path text = LexicalFolder(folder);
  if (!text.has_relative_path()) return TopFolder::kDriveRoot;
  // Volumes as the system tells them (Windows: drive roots, volumes mounted at folders).
  switch (files.Mounted(text)) {
    case MountKind::kVolumeRoot:
      return TopFolder::kDriveRoot;
    case MountKind::kMountedFolder:
      return TopFolder::kMountPoint;
    case MountKind::kNone:
      break;
  }
#ifndef _WIN32
  std::error_code error;
  const fs::path real = fs::canonical(text, error);
  if (!error) {
    if (!real.has_relative_path()) return TopFolder::kDriveRoot;
    const std::vector<fs::path> volumes = VolumeRoots(mountinfo);
    if (std::find(volumes.begin(), volumes.end(), real) != volumes.end()) return TopFolder::kDriveRoot;
    const std::vector<fs::path> mounted = AllMountPoints(mountinfo);
    if (std::find(mounted.begin(), mounted.end(), real) != mounted.end()) return TopFolder::kMountPoint;
  }
  struct stat here {};
  struct stat above {};
  if (stat(text.c_str(), &here) == 0 && stat((text / "..").c_str(), &above) == 0) {
    if (here.st_dev == above.st_dev && here.st_ino == above.st_ino) return TopFolder::kDriveRoot;
    if (here.st_dev != above.st_dev) return TopFolder::kMountPoint;
  }
#endif
  return TopFolder::kNone;
}

// True when `outer` is `inner` or one of the folders above it, compared component by component.
bool IsOrHolds(const fs::path& outer, const fs::path& inner) {
  auto in = inner.begin();
  for (auto out = outer.begin(); out != outer.end(); ++out, ++in) {
    if (in == inner.end() || *out != *in) return false;
  }
  return true;
}

enum class Relation { kNone, kSame, kHolds };

// How `folder` stands to `source` by identity: the source folder and every folder above it,
// as the system finds them going up, compared by id with `folder`.
Relation RelationById(FileServices& files, const fs::path& folder, const fs::path& source) {
  FolderId id;
  if (!files.IdOf(LexicalFolder(folder), &id).ok()) return Relation::kNone;
  std::unique_ptr<OpenedFolder> above;
  if (!files.OpenFolder(LexicalFolder(source), &above).ok()) return Relation::kNone;
  // Bounded: a folder tree cannot be deeper than the longest path allows.
  for (int level = 0; level < 32768; ++level) {
    if (above->id() == id) return level == 0 ? Relation::kSame : Relation::kHolds;
    std::unique_ptr<OpenedFolder> next;
    if (!above->OpenParent(&next).ok() || next->id() == above->id()) break;  // the top
    above = std::move(next);
  }
  return Relation::kNone;
}

// How `folder` stands to `source`, by their text and by what they lead to on the disk.
Relation RelationTo(FileServices& files, const fs::path& folder, const fs::path& source) {
  const fs::path folder_text = LexicalFolder(folder);
  const fs::path source_text = LexicalFolder(source);
  if (folder_text == source_text) return Relation::kSame;
  if (IsOrHolds(folder_text, source_text)) return Relation::kHolds;
  // Links and other spellings: compare the folder with the source's real folder and with every
  // folder above it.
  if (const Relation by_id = RelationById(files, folder, source); by_id != Relation::kNone) return by_id;
  std::error_code error;
  fs::path above = fs::canonical(source, error);
  if (error) return Relation::kNone;  // the source is gone: nothing of it left to protect
  for (bool first = true;; first = false) {
    std::error_code same_error;
    if (fs::equivalent(folder, above, same_error) && !same_error)
      return first ? Relation::kSame : Relation::kHolds;
    if (!above.has_relative_path()) break;
    above = above.parent_path();
  }
  return Relation::kNone;
}

// Opens the folder that `folder` names, itself, so that it can remove itself: the folder above
// it is opened (links in its path resolved), then the last name inside it, which is never
// followed when it is a link.
Status OpenFolderToRemove(FileServices& files, const fs::path& folder, std::unique_ptr<OpenedFolder>* out) {
  const fs::path text = LexicalFolder(folder);
  std::unique_ptr<OpenedFolder> above;
  const Status status = files.OpenFolder(text.parent_path(), &above);
  if (!status.ok()) return status;
  return above->OpenFolderToRemove(text.filename(), out);
}

// Why `folder` is refused when it is itself a link; empty when it is none.
std::string LinkRefusal(FileServices& files, const fs::path& folder) {
  const fs::path link = LexicalFolder(folder);
  fs::path target;
  if (!files.LinkTarget(link, &target)) return {};
  // A relative target counts from the folder that holds the link.
  const fs::path points_to = LexicalFolder(target.is_absolute() ? target : link.parent_path() / target);
  return "Das Verzeichnis [" + ShownPath(folder) + "] ist eine symbolische Verknüpfung auf [" +
         ShownPath(FolderPath(points_to)) + "] und kann nicht gelöscht werden.";
}

}  // namespace

std::string DeleteConfirmation(const fs::path& folder) {
  return "Wollen Sie das aktuelle Verzeichnis [" + ShownPath(folder) +
         "] wirklich löschen (Es werden keine Unterverzeichnisse entfernt!)?";
}

std::optional<fs::path> NewFolderPath(const fs::path& target, std::string_view name) {
  if (name.empty() || name == "." || name == "..") return std::nullopt;
#ifdef _WIN32
  constexpr std::string_view kNotInAName{"/\\:\0", 4};  // ':' would name a drive or a stream
#else
  constexpr std::string_view kNotInAName{"/\0", 2};
#endif
  if (name.find_first_of(kNotInAName) != std::string_view::npos) return std::nullopt;
  const fs::path entered(std::u8string(reinterpret_cast<const char8_t*>(name.data()), name.size()));
  return Append(target, entered.native());
}

DeletionCheck CheckDeletion(FileServices& files, const fs::path& folder, const fs::path& source) {
  return CheckDeletion(files, folder, source, ReadMountTable());
}

DeletionCheck CheckDeletion(FileServices& files, const fs::path& folder, const fs::path& source,
                            std::string_view mountinfo) {
  DeletionCheck check;
  check.refusal = LinkRefusal(files, folder);
  if (!check.refusal.empty()) return check;
  switch (TopFolderKind(files, folder, mountinfo)) {
    case TopFolder::kDriveRoot:
      check.refusal = "Das Verzeichnis [" + ShownPath(folder) +
                      "] ist ein Stammverzeichnis und kann nicht gelöscht werden.";
      return check;
    case TopFolder::kMountPoint:
      check.refusal = "Das Verzeichnis [" + ShownPath(folder) +
                      "] ist ein Einhängepunkt und kann nicht gelöscht werden.";
      return check;
    case TopFolder::kNone:
      break;
  }
  switch (RelationTo(files, folder, source)) {
    case Relation::kSame:
      check.refusal = "Das Verzeichnis [" + ShownPath(folder) +
                      "] ist das gewählte Quellverzeichnis und kann nicht gelöscht werden.";
      return check;
    case Relation::kHolds:
      check.refusal = "Das Verzeichnis [" + ShownPath(folder) +
                      "] enthält das gewählte Quellverzeichnis und kann nicht gelöscht werden.";
      return check;
    case Relation::kNone:
      break;
  }
  // The folder the question is about, as it is now: only this one may lose its files.
  const Status status = OpenFolderToRemove(files, folder, &check.confirmed);
  if (!status.ok()) check.refusal = ShownText(status.reason());
  return check;
}

std::string DeleteConfirmedFolder(FileServices& files, const fs::path& folder,
                                  std::unique_ptr<OpenedFolder>& confirmed) {
  std::unique_ptr<OpenedFolder> held = std::move(confirmed);  // closed on every way out
  FolderId now;
  if (!files.IdOf(LexicalFolder(folder), &now).ok()) {
    // Gone or unreadable: nothing to delete. A link in its place is no folder to act on.
    return LinkRefusal(files, folder);
  }
  if (now != held->id()) {
    return "Das Verzeichnis [" + ShownPath(folder) +
           "] wurde nach der Rückfrage durch ein anderes ersetzt und wird nicht gelöscht.";
  }
  // Listed and removed through the folder held: a path swapped now leads nowhere else.
  // The listing yields ordinary files only: no folders, no hidden entries.
  const FolderListing listing = held->List("*.*");
  for (const ListedFile& file : listing.files) held->RemoveFile(file.name);
  if (held->RemovesItself()) {
    held->RemoveItself();
    return {};
  }
  held.reset();
  files.RemoveFolder(LexicalFolder(folder));
  return {};
}

}  // namespace tavrin
