#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tavrin::cli {

// Exit codes of tavrin-convert.
inline constexpr int kExitConverted = 0;     // every file was transferred
inline constexpr int kExitSomeFailed = 1;    // the pass ran, some files were not transferred
inline constexpr int kExitNotConverted = 2;  // refused, wrong usage or unusable source folder
inline constexpr int kExitOutputLost = 3;    // standard output or error could not be written

// Where the command writes, and whether the error stream is a terminal of `columns` columns
// (then it shows the progress bar).
struct Console {
  std::ostream& out;
  std::ostream& err;
  bool err_is_terminal = false;
  int columns = 80;
};

// Runs tavrin-convert with the arguments after the program name and returns its exit code.
// A conversion checks the source folder and runs the conversion request on the two folders,
// which makes a missing target folder only after every check has passed; refusals and failed
// files go to the error stream, the summary to standard output. When either stream cannot be
// written, the code is kExitOutputLost (unless nothing was converted anyway).
int RunCommand(const std::vector<std::string>& words, Console& console);

// RunCommand as the program's entry runs it: an exception that escapes is reported on the
// error stream and gives kExitNotConverted, so nothing ends in abort.
int RunCommandGuarded(const std::vector<std::string>& words, Console& console);

}  // namespace tavrin::cli
