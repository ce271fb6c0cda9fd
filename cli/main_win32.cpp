// tavrin-convert.exe: the command line on Windows. The arguments come as UTF-16 and go on as
// UTF-8 text, from which every folder path is made again exactly (PathFromText).
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/standard_streams.h"
#include "runtime/utf16.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view word = argv[i];
    words.push_back(tavrin::Utf8FromUtf16(std::u16string(word.begin(), word.end())));
  }
  return tavrin::cli::RunCommandGuarded(words, tavrin::cli::StandardConsole());
}
