#include "window/folder_commands.h"

#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "conversion/folder_path.h"
#include "window/lists/path_text.h"
#include "window/ui_text.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// The root of a drive: "/" (also through a link), or the top folder of a file system mounted
// below it. Neither can be removed, but its files would be deleted first.
bool IsRoot(const fs::path& folder) {
  const fs::path text = LexicalFolder(folder);
  if (!text.has_relative_path()) return true;
#ifndef _WIN32
  struct stat here {};
  struct stat above {};
  if (stat(text.c_str(), &here) == 0 && stat((text / "..").c_str(), &above) == 0) {
    return here.st_dev != above.st_dev || here.st_ino == above.st_ino;
  }
#endif
  return false;
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

// How `folder` stands to `source`, by their text and by what they lead to on the disk.
Relation RelationTo(const fs::path& folder, const fs::path& source) {
  const fs::path folder_text = LexicalFolder(folder);
  const fs::path source_text = LexicalFolder(source);
  if (folder_text == source_text) return Relation::kSame;
  if (IsOrHolds(folder_text, source_text)) return Relation::kHolds;
  // Links and other spellings: compare the folder with the source's real folder and with every
  // folder above it.
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

std::string DeletionRefusal(const fs::path& folder, const fs::path& source) {
  if (IsRoot(folder)) {
    return "Das Verzeichnis [" + ShownPath(folder) + "] ist ein Stammverzeichnis und kann nicht gelöscht werden.";
  }
  switch (RelationTo(folder, source)) {
    case Relation::kSame:
      return "Das Verzeichnis [" + ShownPath(folder) +
             "] ist das gewählte Quellverzeichnis und kann nicht gelöscht werden.";
    case Relation::kHolds:
      return "Das Verzeichnis [" + ShownPath(folder) +
             "] enthält das gewählte Quellverzeichnis und kann nicht gelöscht werden.";
    case Relation::kNone:
      break;
  }
  return {};
}

void DeleteFilesAndFolder(FileServices& files, const fs::path& folder) {
  // The listing yields ordinary files only: no folders, no hidden entries.
  const FolderListing listing = files.List(Append(folder, fs::path("*.*").native()));
  for (const ListedFile& file : listing.files) files.RemoveFile(Append(folder, file.name.native()));
  files.RemoveFolder(LexicalFolder(folder));
}

}  // namespace tavrin
