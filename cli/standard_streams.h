#pragma once

#include "cli/command.h"

namespace tavrin::cli {

// Standard output and error of this process as the command writes to them, set up the way
// this system needs: text is UTF-8 (on a Windows console it is shown through the console's
// own wide-character output), and `err_is_terminal` and `columns` tell whether the error
// stream is a terminal that can show the progress bar. Made on the first call.
Console& StandardConsole();

}  // namespace tavrin::cli
