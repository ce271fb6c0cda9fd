#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/file_services.h"
#include "runtime/path_text.h"
#include "tests/support/temp_folder.h"
#include "tests/window/presenter/recording_view.h"
#include "tests/window/scripted_dialogs.h"
#include "window/presenter/convert_presenter.h"

namespace tavrin::testing {

// A presenter on a recording view whose lists start on `start`, with scripted dialogs, created
// as a window creates it (the caption given, Form_Load not yet run). `drives` defaults to the
// root of `start`.
struct PresenterWindow {
  explicit PresenterWindow(const std::filesystem::path& start, FileServices& files = DiskFileServices(),
                           std::vector<std::filesystem::path> drives = {})
      : view(start, drives.empty() ? std::vector<std::filesystem::path>{start.root_path()} : drives),
        presenter(view, dialogs, files) {
    view.presenter = &presenter;
    // The drive lists keep the drives given; a test that reads them from a mount table says so.
    presenter.SetDriveReader([drives = view.drives()] { return drives; });
    presenter.ShowCaption();
  }
  ScriptedDialogs dialogs;
  RecordingView view;
  ConvertPresenter presenter;
};

// A folder made in `tree`, its path spelled as the system spells it (as a folder list shows it).
inline std::filesystem::path Made(const TempFolder& tree, const std::filesystem::path& relative) {
  return tree.MakeFolder(relative).lexically_normal();
}

// How the status bar and the boxes show a folder of plain ASCII names: with a separator at
// the end.
inline std::string Shown(const std::filesystem::path& folder) { return PathText(folder) + Separator(); }

// The message boxes (not the input boxes) shown so far.
inline std::vector<ScriptedDialogs::Shown> MessageBoxes(const ScriptedDialogs& dialogs) {
  std::vector<ScriptedDialogs::Shown> boxes;
  for (const auto& shown : dialogs.shown()) {
    if (shown.kind == ScriptedDialogs::Kind::kMessageBox) boxes.push_back(shown);
  }
  return boxes;
}

}  // namespace tavrin::testing
