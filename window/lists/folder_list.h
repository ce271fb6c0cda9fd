#pragma once

#include <QListWidget>
#include <filesystem>

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
  explicit FolderList(QWidget* parent = nullptr);

  // The folder shown, absolute and without a trailing separator (the root is "/").
  std::filesystem::path Path() const;

  // Shows `path`: absolute, or relative to the folder shown ("..": the parent). Raises
  // Change() before it returns, and only when the folder shown changes. Returns false and
  // changes nothing when `path` names no folder that can be opened.
  bool SetPath(const std::filesystem::path& path);

  // Rereads the subfolders of the folder shown (the folder shown stays; if it is gone, the
  // nearest existing parent is shown and Change() is raised).
  void Refresh();

 signals:
  // The folder shown changed.
  void Change();
};

}  // namespace tavrin
