// tavrin-convert: converts a VB5 project folder to the VB6 common controls from the shell.
#include <exception>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/standard_streams.h"

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  tavrin::cli::Console& console = tavrin::cli::StandardConsole();
  try {
    return tavrin::cli::RunCommand(words, console);
  } catch (const std::exception& error) {
    // The core reports failures as values; this is the last guard, so nothing ends in abort.
    console.err << "tavrin-convert: " << error.what() << std::endl;
    return tavrin::cli::kExitNotConverted;
  }
}
