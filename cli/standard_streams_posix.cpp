#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>

#include "cli/standard_streams.h"

namespace tavrin::cli {
namespace {

// The width of the terminal on file descriptor `fd`, or 80 when it cannot be told.
int TerminalColumns(int fd) {
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
}

Console MakeConsole() {
  std::ios::sync_with_stdio(false);
  Console console{std::cout, std::cerr};
  console.err_is_terminal = isatty(STDERR_FILENO) == 1;
  if (console.err_is_terminal) console.columns = TerminalColumns(STDERR_FILENO);
  return console;
}

}  // namespace

Console& StandardConsole() {
  static Console console = MakeConsole();
  return console;
}

}  // namespace tavrin::cli
