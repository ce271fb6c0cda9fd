// tavrin-convert: converts a VB5 project folder to the VB6 common controls from the shell.
#include <unistd.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/progress_bar.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  tavrin::cli::Console console{std::cout, std::cerr};
  console.err_is_terminal = isatty(STDERR_FILENO) == 1;
  if (console.err_is_terminal) console.columns = tavrin::cli::TerminalColumns(STDERR_FILENO);
  try {
    return tavrin::cli::RunCommand(words, console);
  } catch (const std::exception& error) {
    // The core reports failures as values; this is the last guard, so nothing ends in abort.
    std::cerr << "tavrin-convert: " << error.what() << std::endl;
    return tavrin::cli::kExitNotConverted;
  }
}
