// Tavrin: the main window.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "runtime/file_services.h"
#include "window/application_setup.h"
#include "window/frm_convert.h"
#include "window/qt_dialog_services.h"

namespace {

// True when a platform plugin was chosen or a display to show windows on is there.
bool DisplayAvailable() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
#else
  return true;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!DisplayAvailable()) {
    std::fputs(
        "Tavrin: Keine grafische Anzeige verfügbar (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt).\n"
        "Die Konvertierung ohne Fenster leistet das Befehlszeilenwerkzeug:\n"
        "    tavrin-convert QUELLE ZIEL\n",
        stderr);
    return 1;
  }
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
