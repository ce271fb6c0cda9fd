#pragma once

#include <atomic>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tavrin::cli {

// Exit codes of tavrin-convert.
inline constexpr int kExitConverted = 0;     // every file was transferred
inline constexpr int kExitSomeFailed = 1;    // the pass ran, some files were not transferred
inline constexpr int kExitNotConverted = 2;  // refused, wrong usage or unusable source folder
inline constexpr int kExitOutputLost = 3;    // standard output or error could not be written
// Stopped by a signal: 128 + its number, as a shell reports it (130 SIGINT, 143 SIGTERM,
// 129 SIGHUP). These numbers are the same on every system, so they are spelled out.
inline constexpr int kSignalHangUp = 1;
inline constexpr int kSignalInterrupt = 2;
inline constexpr int kSignalTerminate = 15;
inline constexpr int ExitCodeOfSignal(int signal_number) { return 128 + signal_number; }

// Where the command writes, and whether the error stream is a terminal of `columns` columns
// (then it shows the progress bar).
struct Console {
  std::ostream& out;
  std::ostream& err;
  bool err_is_terminal = false;
  int columns = 80;
  // Set by the program's signal handlers to the number of the signal that asks it to stop
  // (0 while none has): a running pass then ends at the next piece of its file.
  const std::atomic<int>* stop_signal = nullptr;
  // Why writing failed, as a German reason ("Datenübergabe unterbrochen"); empty when unknown.
  std::function<std::string()> output_failure = {};
};

// Runs tavrin-convert with the arguments after the program name and returns its exit code.
// A conversion checks the source folder and runs the conversion request on the two folders,
// which makes a missing target folder only after every check has passed; refusals and failed
// files go to the error stream, the summary to standard output. When either stream cannot be
// written, the code is kExitOutputLost (unless nothing was converted anyway). A stop signal
// ends a running pass, says how far it got and gives ExitCodeOfSignal, which wins over all.
int RunCommand(const std::vector<std::string>& words, Console& console);

// RunCommand as the program's entry runs it: an exception that escapes is reported on the
// error stream and gives kExitNotConverted, so nothing ends in abort.
int RunCommandGuarded(const std::vector<std::string>& words, Console& console);

}  // namespace tavrin::cli
