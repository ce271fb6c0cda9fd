#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
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

#ifndef _WIN32
// What a test does to a running tool (POSIX only).
struct RunControl {
  // Runs once the tool has started, with its process id, before its output is read (the tool
  // must not fill a pipe meanwhile): to send it signals.
  std::function<void(int pid)> meanwhile;
  // Standard output's reading end is closed once this many bytes were read, as `head` does.
  std::size_t out_limit = SIZE_MAX;
  // Standard output goes to this file instead of a pipe (such as /dev/full).
  const char* out_to = nullptr;
};

// RunTool as above, with the tool's signals at their defaults whatever the test runner has,
// and `control` applied.
ToolRun RunToolControlled(const std::vector<std::string>& words, const std::filesystem::path& working_folder,
                          const RunControl& control);
#endif

}  // namespace tavrin::testing
