#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavrin::testing {

// What one run of the built tavrin-convert did.
struct ToolRun {
  int exit_code = -1;  // the exit status, or minus the signal that ended the tool
  std::string out;     // all it wrote to standard output
  std::string err;     // all it wrote to the error stream
  long peak_kib = 0;   // the tool's peak resident memory, in KiB
};

// Runs tavrin-convert with `words` as its arguments, in the folder `working_folder` (the
// current one when empty), with standard input from /dev/null and both output streams
// captured through pipes. With `err_on_terminal` the error stream is a pseudo terminal of
// 100 columns instead (which turns "\n" into "\r\n"). With `out_to`, standard output goes to
// that file instead (such as /dev/full, where every write fails).
ToolRun RunTool(const std::vector<std::string>& words, const std::filesystem::path& working_folder = {},
                bool err_on_terminal = false, const char* out_to = nullptr);

}  // namespace tavrin::testing
