#pragma once

#include <QHash>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <array>
#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

#include "window/qt/elided_label.h"
#include "window/qt/image_list.h"
#include "window/presenter/layout_table.h"
#include "window/qt/lists/drive_list.h"
#include "window/qt/lists/folder_list.h"
#include "window/qt/status_bar.h"
#include "window/qt/tab_control.h"
#include "window/qt/tool_bar.h"

namespace tavrin {

// The controls of the main window, made from a layout table. `by_name` holds every control
// of the table; the members are the controls that the window's code works with.
struct WindowControls {
  QHash<QString, QWidget*> by_name;
  ImageList* imghotlist = nullptr;
  ImageList* imglist = nullptr;
  Toolbar* toolbar1 = nullptr;
  TabControl* sstab1 = nullptr;
  StatusBar* statusbar1 = nullptr;
  FolderList* dir1 = nullptr;
  FolderList* dir2 = nullptr;
  DriveList* drive1 = nullptr;
  DriveList* drive2 = nullptr;
  ElidedLabel* lbprj = nullptr;
  ElidedLabel* lbcr = nullptr;
  ElidedLabel* lbinfo = nullptr;
  std::array<QPushButton*, 2> btnconvert{};
  std::array<QPushButton*, 2> btnpath{};
};

// A layout table that does not describe the window: a fault of the program, found when the
// window is made.
class LayoutError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Makes the controls of `layout` inside `window`, in the order of the table: each with its
// object name, in its container (made by an earlier row), at its place and, inside the tab
// control, on its page; then the two image lists, and each folder list on the process's
// current folder with its drive list on that folder's drive. `drives`, when given, replaces
// the machine's drives in both drive lists.
//
// Every row must name one of the window's controls with a fitting kind; frames, which the
// code reaches only as containers, may carry any name without an array index. Throws
// LayoutError naming the row for an unknown name or array index ("btnConvert(2)"), a kind
// that does not fit the name, a name given twice or an unknown container, and naming the
// control when one of the window's controls is missing.
WindowControls CreateWindowControls(std::span<const ControlSpec> layout, QWidget& window,
                                    const std::optional<std::vector<std::filesystem::path>>& drives);

}  // namespace tavrin
