// Times one conversion from the window, without a display: the window is shown on the
// offscreen platform, its folder lists are pointed at the two folders given, and the
// toolbar's convert command runs the pass as a click would, with the real event loop
// pauses, busy pointer and progress texts. Prints the seconds the command took.
//
//   window_pass_bench SOURCE TARGET
//
// TARGET is made if it does not exist; it must be empty. Exit status 0 when the pass ran
// without a message box, 1 when it did not, 2 on wrong arguments.
#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "runtime/file_services.h"
#include "window/qt/application_setup.h"
#include "window/qt/frm_convert.h"
#include "window/qt/qt_dialog_services.h"

namespace {

namespace fs = std::filesystem;

// The window's dialog services, but every box is printed and answered at once, so that a
// refusal or a failure ends the run instead of waiting for a click that never comes.
class PrintedDialogs : public tavrin::QtDialogServices {
 public:
  int MessageBox(std::string_view text, int /*style*/, std::string_view title) override {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
                 static_cast<int>(text.size()), text.data());
    ++boxes;
    return tavrin::kAnswerOk;
  }
  std::string InputBox(std::string_view /*prompt*/, std::string_view /*title*/) override {
    ++boxes;
    return {};
  }
  int boxes = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fputs("Aufruf: window_pass_bench QUELLE ZIEL\n", stderr);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const fs::path source = fs::absolute(argv[1]);
  const fs::path target = fs::absolute(argv[2]);
  std::error_code error;
  fs::create_directories(target, error);

  QApplication application(argc, argv);
  tavrin::SetUpApplication();
  PrintedDialogs dialogs;
  tavrin::frmConvert window(dialogs, tavrin::DiskFileServices());
  dialogs.SetParentWindow(&window);
  window.show();
  QElapsedTimer waited;
  waited.start();
  while (!window.windowHandle()->isExposed() && waited.elapsed() < 5000) QApplication::processEvents();
  if (!window.Dir1()->SetPath(source) || !window.Dir2()->SetPath(target)) {
    std::fputs("Quelle oder Ziel ist kein Verzeichnis.\n", stderr);
    return 2;
  }
  QApplication::processEvents();

  QElapsedTimer timer;
  timer.start();
  window.Toolbar1_ButtonClick(3);
  const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

  const bool done = dialogs.boxes == 0 &&
                    window.lbInfo()->text() == QStringLiteral("Bearbeite: Konvertierung abgeschlossen......");
  std::printf("%.4f\n", seconds);
  return done ? 0 : 1;
}
