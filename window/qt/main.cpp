// Tavrin: the main window.
#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "runtime/file_services.h"
#include "window/qt/application_setup.h"
#include "window/qt/frm_convert.h"
#include "window/qt/qt_dialog_services.h"
#include "window/qt/start_up.h"

namespace {

// The folder that holds this program, or an empty path when it cannot be told.
std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : program.parent_path();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!tavrin::DisplayAvailable()) {
    std::fputs(tavrin::NoDisplayMessage(ProgramFolder()).c_str(), stderr);
    return 1;
  }
  tavrin::NameRuntimeFolder();
  QApplication application(argc, argv);
  tavrin::SetUpApplication();

  tavrin::QtDialogServices dialogs;
  std::optional<tavrin::frmConvert> window;
  try {
    window.emplace(dialogs, tavrin::DiskFileServices());
  } catch (const tavrin::LayoutError& error) {
    std::fprintf(stderr, "Tavrin: %s\n", error.what());
    return 1;
  }
  dialogs.SetParentWindow(&*window);
  window->Form_Load();
  window->CenterOnScreen();
  window->show();
  return QApplication::exec();
}
