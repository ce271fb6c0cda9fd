#include "window/presenter/folder_list_state.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "window/presenter/folder_name_order.h"
#include "window/presenter/path_display.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// `path` made absolute against the folder `base`.
fs::path Resolved(const fs::path& base, const fs::path& path) {
#ifdef _WIN32
  // "D:" or "D:x" name a drive without its root folder: take them from that drive's root.
  if (path.has_root_name() && !path.has_root_directory()) {
    return path.root_name() / fs::path(L"\\") / path.relative_path();
  }
#endif
  return path.is_absolute() ? path : base / path;
}

bool IsHidden(const fs::path& name) { return !name.native().empty() && name.native().front() == '.'; }

// The visible subfolders of `folder` (links to folders included), in list order. A folder
// that cannot be listed has no subfolders to show, and a listing that breaks off keeps what it
// found so far.
std::vector<fs::path> Subfolders(const fs::path& folder) {
  std::vector<fs::path> subfolders;
  std::error_code error;
  fs::directory_iterator entry(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
    std::error_code type_error;
    if (!IsHidden(entry->path().filename()) && entry->is_directory(type_error)) {
      subfolders.push_back(entry->path());
    }
  }
  std::sort(subfolders.begin(), subfolders.end(),
            [](const fs::path& a, const fs::path& b) { return FolderNameLess(a.filename(), b.filename()); });
  return subfolders;
}

}  // namespace

fs::path StartFolder() {
  std::error_code error;
  const fs::path current = fs::current_path(error);
  if (error || !current.is_absolute()) {
#ifdef _WIN32
    return L"C:\\";
#else
    return "/";
#endif
  }
  return LexicalFolder(current);
}

FolderListState::FolderListState(fs::path start) : path_(std::move(start)) {}

bool FolderListState::SetPath(const fs::path& path, bool* changed) {
  *changed = false;
  if (path.empty()) return false;
  const fs::path folder = LexicalFolder(Resolved(path_, path));
  std::error_code error;
  if (!fs::is_directory(folder, error)) return false;
  *changed = folder.native() != path_.native();
  path_ = folder;
  return true;
}

bool FolderListState::Refresh() {
  fs::path folder = path_;
  std::error_code error;
  while (!fs::is_directory(folder, error) && folder.has_relative_path()) folder = folder.parent_path();
  const bool changed = folder.native() != path_.native();
  path_ = folder;
  return changed;
}

std::vector<FolderRow> FolderListState::Rows() const {
  std::vector<FolderRow> rows;
  fs::path folder = path_.root_path();
  int depth = 0;
  rows.push_back({folder, folder, depth, true});
  for (const fs::path& name : path_.relative_path()) {
    if (name.empty()) continue;
    folder /= name;
    rows.push_back({folder, name, ++depth, true});
  }
  for (const fs::path& subfolder : Subfolders(path_)) {
    rows.push_back({subfolder, subfolder.filename(), depth + 1, false});
  }
  return rows;
}

std::size_t FolderListState::ShownRow(const std::vector<FolderRow>& rows) {
  std::size_t shown = 0;
  while (shown + 1 < rows.size() && rows[shown + 1].open) ++shown;
  return shown;
}

std::size_t FolderListState::RowToSelect(const std::vector<FolderRow>& rows, const fs::path& selected) {
  for (std::size_t row = 0; row < rows.size(); ++row) {
    if (rows[row].folder.native() == selected.native()) return row;
  }
  return ShownRow(rows);
}

}  // namespace tavrin
