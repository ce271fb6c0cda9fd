#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavrin {

// What the program does before its window exists.

// True when a platform plugin was chosen or a display to show windows on is there.
bool DisplayAvailable();

// The message for a start without a display. It names the command-line tool by the path it
// has beside the program in `program_folder`, ready to type, or, when it is not there, says
// how it is built and installed.
std::string NoDisplayMessage(const std::filesystem::path& program_folder);

// `word` as one word for a POSIX shell: unchanged when it holds only characters that a shell
// takes as they are, in single quotes otherwise.
std::string ShellWord(std::string_view word);

// Qt keeps a private runtime folder. Where XDG_RUNTIME_DIR is not set (as root, after su, over
// ssh), Qt warns on every start and takes <temporary folder>/runtime-<user>; this names that
// same folder in XDG_RUNTIME_DIR, which spares the warning. Qt still makes the folder and
// checks its owner and permissions. Does nothing where the variable is set.
void NameRuntimeFolder();

}  // namespace tavrin
