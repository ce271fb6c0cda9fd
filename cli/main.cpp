// tavrin-convert: converts a VB5 project folder to the VB6 common controls from the shell.
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/standard_streams.h"

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  return tavrin::cli::RunCommandGuarded(words, tavrin::cli::StandardConsole());
}
