#pragma once

#include <QIcon>
#include <QListWidget>
#include <filesystem>

#include "window/presenter/folder_list_state.h"

namespace tavrin {

// A folder list in the manner of the classic folder list control: the chain of folders from
// the root down to the folder shown (open-folder icons, indented by depth), then the shown
// folder's subfolders (closed-folder icons, one level deeper), sorted by name. Hidden (dot)
// folders are not shown. A single click only selects; a double click or Enter opens the
// selected folder. Names are kept as raw bytes, so folders whose names are not valid UTF-8
// can be opened. A folder that cannot be read shows what it can; the list stays usable.
class FolderList : public QListWidget {
  Q_OBJECT

 public:
  // Item data of every row.
  static constexpr int kPathRole = Qt::UserRole;       // QByteArray: the row's folder (PathBytes)
  static constexpr int kDepthRole = Qt::UserRole + 1;  // int: 0 for the root, one more per level
  static constexpr int kOpenRole = Qt::UserRole + 2;   // bool: on the way down to the folder shown
  // Pixels of indent per level.
  static constexpr int kIndentStep = 8;

  // Shows the process's current folder (the root if there is none).
  explicit FolderList(QWidget* parent = nullptr);

  // The folder of a row, taken from its item data (never from its text).
  static std::filesystem::path RowPath(const QListWidgetItem* row);

  // The folder shown, absolute and without a trailing separator (the root is "/").
  std::filesystem::path Path() const;

  // Shows `path`: absolute, or relative to the folder shown ("..": the parent), rereads its
  // subfolders and selects its row. Raises Change() before it returns, and only when the
  // folder shown changes. Returns false and changes nothing when `path` names no folder (it
  // does not exist, is a file, or is empty). Links to folders are kept as named, not resolved.
  bool SetPath(const std::filesystem::path& path);

  // Rereads the subfolders of the folder shown (the folder shown stays; if it is gone, the
  // nearest existing parent is shown and Change() is raised). Returns whether it raised Change().
  bool Refresh();

 signals:
  // The folder shown changed.
  void Change();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // Rebuilds the rows for the folder shown and selects the row of `selected` (the folder shown's row if
  // `selected` has none).
  void Fill(const std::filesystem::path& selected);
  void AddRow(const std::filesystem::path& folder, const QString& text, int depth, bool open);
  // Opens the folder of `row`; when that fails, rereads what is on disk instead.
  void OpenRow(const QListWidgetItem* row);

  FolderListState state_;
  QIcon open_icon_;
  QIcon closed_icon_;
};

}  // namespace tavrin
