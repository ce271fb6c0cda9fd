#pragma once

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QListWidgetItem>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/file_services.h"
#include "tests/window/scratch_tree.h"
#include "tests/window/scripted_dialogs.h"
#include "window/qt/frm_convert.h"

// Helpers shared by the tests of the window's commands: a window on a scratch folder with
// scripted dialogs, and ways to look at what it shows.
namespace tavrin::testing {

// A window whose folder lists open on `start`, with scripted dialogs and the given file
// services (and drives, when given), created as the program creates it.
struct TestWindow {
  explicit TestWindow(const std::filesystem::path& start, FileServices& files = DiskFileServices(),
                      std::optional<std::vector<std::filesystem::path>> drives = std::nullopt)
      : current(start), window(dialogs, files, std::move(drives)) {}
  CurrentFolder current;
  ScriptedDialogs dialogs;
  frmConvert window;
};

inline const QColor kRedText(192, 0, 0);

inline QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

// How the status bar and the boxes show a folder path: with its separator at the end.
inline QString ShownFolder(const std::filesystem::path& folder) {
  return QString::fromStdString(folder.string()) + QLatin1Char('/');
}
inline std::string ShownFolderText(const std::filesystem::path& folder) { return folder.string() + "/"; }

// The row of `folder` in `list`, or nullptr.
inline QListWidgetItem* RowOf(const FolderList* list, const std::filesystem::path& folder) {
  for (int row = 0; row < list->count(); ++row) {
    if (FolderList::RowPath(list->item(row)) == folder) return list->item(row);
  }
  return nullptr;
}

// A small project in `folder` (relative to the tree): the project file, two forms (the first
// with `form_lines` more lines), a module and a binary file.
inline void MakeSmallProject(const ScratchTree& tree, const std::filesystem::path& folder,
                             int form_lines = 3) {
  std::string form =
      "VERSION 5.00\r\nObject = \"{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0\"; \"COMCTL32.OCX\"\r\n";
  for (int line = 0; line < form_lines; ++line) form += "   Begin ComctlLib.ListView ListView1\r\n";
  tree.File(folder / "Projekt1.vbp",
            "Type=Exe\r\nObject={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX\r\n");
  tree.File(folder / "Form1.frm", form);
  tree.File(folder / "Form2.frm", "VERSION 5.00\nBegin VB.Form Form2\nEnd");
  tree.File(folder / "Modul1.bas", "Attribute VB_Name = \"Modul1\"\r\n");
  tree.File(folder / "Form1.frx", std::string("\x00\x01\xFF\r\n", 5));
}

// The message boxes (not the input boxes) shown so far.
inline std::vector<ScriptedDialogs::Shown> MessageBoxes(const ScriptedDialogs& dialogs) {
  std::vector<ScriptedDialogs::Shown> boxes;
  for (const auto& shown : dialogs.shown()) {
    if (shown.kind == ScriptedDialogs::Kind::kMessageBox) boxes.push_back(shown);
  }
  return boxes;
}

// Records the caption of a label each time it is painted, that is each time a person could
// see it.
class PaintedCaptions : public QObject {
 public:
  explicit PaintedCaptions(QLabel* label) : label_(label) { label_->installEventFilter(this); }
  ~PaintedCaptions() override { label_->removeEventFilter(this); }

  const QStringList& captions() const { return captions_; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == label_ && event->type() == QEvent::Paint) captions_ << label_->text();
    return false;
  }

 private:
  QLabel* label_;
  QStringList captions_;
};

}  // namespace tavrin::testing
