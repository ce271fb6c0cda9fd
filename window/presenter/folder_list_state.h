#pragma once

#include <filesystem>
#include <vector>

namespace tavrin {

// The rules of a folder list, in the manner of the classic folder list control, whatever
// toolkit draws it: which folder it shows, how a path given to it is understood, what a
// refresh keeps, and which rows it shows.

// One row of a folder list.
struct FolderRow {
  std::filesystem::path folder;  // the row's folder, absolute
  std::filesystem::path name;    // what the row shows: the root as it is, otherwise the last name
  int depth = 0;                 // 0 for the root, one more per level
  bool open = false;             // on the way down to the folder shown (open-folder icon)
};

// The folder a list shows at start: the process's current folder (the root if there is none).
std::filesystem::path StartFolder();

// The folder a list shows and its changes. Names are kept as the system gives them (bytes on
// POSIX systems), so folders whose names are not valid UTF-8 can be opened; links to folders
// are kept as named, not resolved.
class FolderListState {
 public:
  explicit FolderListState(std::filesystem::path start = StartFolder());

  // The folder shown, absolute and without a trailing separator (the root keeps its own).
  const std::filesystem::path& Path() const { return path_; }

  // Shows `path`: absolute, or relative to the folder shown ("..": the parent; on Windows "D:"
  // is the root of drive D). Returns false and changes nothing when `path` names no folder (it
  // does not exist, is a file, or is empty). `*changed` tells whether the folder shown changed.
  bool SetPath(const std::filesystem::path& path, bool* changed);

  // Keeps the folder shown, or, when it is gone, shows the nearest existing folder above it.
  // Returns whether the folder shown changed.
  bool Refresh();

  // The rows for the folder shown, read from the disk now: the chain of folders from the root
  // down to the folder shown (open), then the shown folder's visible subfolders one level
  // deeper (closed), in folder name order. Hidden (dot) folders are not shown; whatever cannot
  // be read is left out.
  std::vector<FolderRow> Rows() const;

  // The index in Rows() of the folder shown: the last row of the chain.
  static std::size_t ShownRow(const std::vector<FolderRow>& rows);

  // The row to select among `rows`: the row of `selected` when there is one (a refresh that
  // keeps the folder shown keeps the row the user had selected), else the folder shown's.
  static std::size_t RowToSelect(const std::vector<FolderRow>& rows, const std::filesystem::path& selected);

 private:
  std::filesystem::path path_;
};

}  // namespace tavrin
