#include "window/lists/folder_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <system_error>
#include <vector>

#include "window/lists/folder_indent_delegate.h"
#include "window/lists/folder_name_order.h"
#include "window/lists/list_icons.h"
#include "window/lists/path_text.h"

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

// The visible subfolders of `folder` (links to folders included), in list order. Whatever
// cannot be read is left out: a folder that cannot be listed has no subfolders to show, and a
// listing that breaks off keeps what it found so far.
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

}  // namespace

FolderList::FolderList(QWidget* parent)
    : QListWidget(parent), open_icon_(OpenFolderIcon()), closed_icon_(ClosedFolderIcon()) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  setItemDelegate(new FolderIndentDelegate(kDepthRole, kIndentStep, this));
  path_ = StartFolder();
  Fill(path_);
}

fs::path FolderList::RowPath(const QListWidgetItem* row) {
  return PathFromBytes(row->data(kPathRole).toByteArray());
}

fs::path FolderList::Path() const { return path_; }

bool FolderList::SetPath(const fs::path& path) {
  if (path.empty()) return false;
  const fs::path folder = LexicalFolder(Resolved(path_, path));
  std::error_code error;
  if (!fs::is_directory(folder, error)) return false;
  const bool changed = folder.native() != path_.native();
  path_ = folder;
  Fill(path_);
  if (changed) emit Change();
  return true;
}

bool FolderList::Refresh() {
  fs::path folder = path_;
  std::error_code error;
  while (!fs::is_directory(folder, error) && folder.has_relative_path()) folder = folder.parent_path();
  const bool changed = folder.native() != path_.native();
  const fs::path selected = (!changed && currentItem() != nullptr) ? RowPath(currentItem()) : folder;
  path_ = folder;
  Fill(selected);
  if (changed) emit Change();
  return changed;
}

void FolderList::Fill(const fs::path& selected) {
  clear();
  fs::path folder = path_.root_path();
  int depth = 0;
  AddRow(folder, DisplayText(folder), depth, true);
  for (const fs::path& name : path_.relative_path()) {
    if (name.empty()) continue;
    folder /= name;
    AddRow(folder, DisplayText(name), ++depth, true);
  }
  QListWidgetItem* selected_row = item(count() - 1);
  for (const fs::path& subfolder : Subfolders(path_)) {
    AddRow(subfolder, DisplayText(subfolder.filename()), depth + 1, false);
  }
  const QByteArray selected_bytes = PathBytes(selected);
  for (int row = 0; row < count(); ++row) {
    if (item(row)->data(kPathRole).toByteArray() == selected_bytes) {
      selected_row = item(row);
      break;
    }
  }
  setCurrentItem(selected_row);
  scrollToItem(selected_row);
}

void FolderList::AddRow(const fs::path& folder, const QString& text, int depth, bool open) {
  auto* row = new QListWidgetItem(open ? open_icon_ : closed_icon_, text);
  row->setData(kPathRole, PathBytes(folder));
  row->setData(kDepthRole, depth);
  row->setData(kOpenRole, open);
  addItem(row);
}

void FolderList::OpenRow(const QListWidgetItem* row) {
  if (row == nullptr) return;
  if (!SetPath(RowPath(row))) Refresh();
}

void FolderList::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    OpenRow(currentItem());
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

void FolderList::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    if (const QListWidgetItem* row = itemAt(event->position().toPoint())) {
      OpenRow(row);
      event->accept();
      return;
    }
  }
  QListWidget::mouseDoubleClickEvent(event);
}

}  // namespace tavrin
