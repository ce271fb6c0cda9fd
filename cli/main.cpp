// tavrin-convert: converts a VB5 project folder to the VB6 common controls from the shell.
#include <signal.h>

#include <atomic>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/standard_streams.h"

namespace {

std::atomic<int> stop_signal{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

extern "C" void OnStopSignal(int signal_number) { stop_signal.store(signal_number, std::memory_order_relaxed); }

// SIGINT, SIGTERM and SIGHUP ask the pass to stop; it then drops the file at hand and ends with
// 128 + the signal. The handler is taken back after the first one, so a second signal ends the
// program at once (the target still holds only complete files). A signal that is ignored
// (nohup, a background job) stays ignored. A closed pipe is a failed write, not the end:
// SIGPIPE is ignored, and the command reports the lost output with exit code 3.
void HandleSignals() {
  signal(SIGPIPE, SIG_IGN);
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;  // no SA_RESTART: a waiting write returns
    sigaction(signal_number, &action, nullptr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  static_assert(SIGHUP == tavrin::cli::kSignalHangUp && SIGINT == tavrin::cli::kSignalInterrupt &&
                SIGTERM == tavrin::cli::kSignalTerminate);
  HandleSignals();
  std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  tavrin::cli::Console& console = tavrin::cli::StandardConsole();
  console.stop_signal = &stop_signal;
  return tavrin::cli::RunCommandGuarded(words, console);
}
