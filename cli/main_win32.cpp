// tavrin-convert.exe: the command line on Windows. The arguments come as UTF-16 and go on as
// UTF-8 text, from which every folder path is made again exactly (PathFromText).
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/standard_streams.h"
#include "runtime/utf16.h"

namespace {

std::atomic<int> stop_signal{0};

// Ctrl+C and Ctrl+Break ask the pass to stop as SIGINT does elsewhere (exit code 130); closing
// the console, logging off and shutting down as SIGHUP does (129). For those Windows ends the
// process once the handler returns, so the handler waits, giving the pass the few seconds the
// system allows to drop its file and finish.
BOOL WINAPI OnConsoleControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      stop_signal.store(tavrin::cli::kSignalInterrupt, std::memory_order_relaxed);
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      stop_signal.store(tavrin::cli::kSignalHangUp, std::memory_order_relaxed);
      Sleep(4000);  // the program normally ends meanwhile, and this thread with it
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view word = argv[i];
    words.push_back(tavrin::Utf8FromUtf16(std::u16string(word.begin(), word.end())));
  }
  tavrin::cli::Console& console = tavrin::cli::StandardConsole();
  console.stop_signal = &stop_signal;
  return tavrin::cli::RunCommandGuarded(words, console);
}
