#include "window/qt/lists/folder_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <vector>

#include "window/qt/lists/folder_indent_delegate.h"
#include "window/qt/lists/list_icons.h"
#include "window/qt/lists/path_text.h"

namespace tavrin {

namespace fs = std::filesystem;

FolderList::FolderList(QWidget* parent)
    : QListWidget(parent), open_icon_(OpenFolderIcon()), closed_icon_(ClosedFolderIcon()) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  setItemDelegate(new FolderIndentDelegate(kDepthRole, kIndentStep, this));
  Fill(state_.Path());
}

fs::path FolderList::RowPath(const QListWidgetItem* row) {
  return PathFromBytes(row->data(kPathRole).toByteArray());
}

fs::path FolderList::Path() const { return state_.Path(); }

bool FolderList::SetPath(const fs::path& path) {
  bool changed = false;
  if (!state_.SetPath(path, &changed)) return false;
  Fill(state_.Path());
  if (changed) emit Change();
  return true;
}

bool FolderList::Refresh() {
  const bool changed = state_.Refresh();
  // A list that stays on its folder keeps the row the user had selected.
  const fs::path selected = (!changed && currentItem() != nullptr) ? RowPath(currentItem()) : state_.Path();
  Fill(selected);
  if (changed) emit Change();
  return changed;
}

void FolderList::Fill(const fs::path& selected) {
  clear();
  const std::vector<FolderRow> rows = state_.Rows();
  for (const FolderRow& row : rows) AddRow(row.folder, DisplayText(row.name), row.depth, row.open);
  QListWidgetItem* selected_row = item(static_cast<int>(FolderListState::RowToSelect(rows, selected)));
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
