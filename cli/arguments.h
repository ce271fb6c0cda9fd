#pragma once

#include <string>
#include <vector>

namespace tavrin::cli {

// What the command line asks for.
struct Arguments {
  enum class Action {
    kConvert,     // convert `source` into `target`
    kHelp,        // --help
    kVersion,     // --version
    kUsageError,  // `error` says what is wrong
  };
  Action action = Action::kUsageError;
  std::string source;
  std::string target;
  bool recursive = false;  // -r, --recursive: the whole tree
  bool complete = false;   // --complete: the rows of the complete upgrade too
  bool dry_run = false;    // -n, --dry-run: read and check everything, write nothing
  bool diff = false;       // --diff (with --dry-run): a unified diff of every rewritten file
  bool json = false;       // --json: one JSON document instead of the German text
  bool all_hints = false;  // --all-hints: every hint, not the first 40 of each kind
  std::string error;  // German, for kUsageError
};

// Reads the arguments after the program name: options ("--help", "--version", "-r" or
// "--recursive", "--complete", "-n" or "--dry-run", "--diff", "--json", "--all-hints"), in any
// place before "--", and exactly two folders. "--diff" needs "--dry-run" and does not go with
// "--json". "--" ends the options, so later words are folders even when they start with
// "-"; a lone "-" is a folder too. Any unknown option is an error, also next to "--help";
// otherwise "--help" wins over "--version", and both need no folders.
Arguments ParseArguments(const std::vector<std::string>& words);

// The German help text ("--help").
std::string HelpText();

// The one-line synopsis and a hint to "--help", shown after a usage error.
std::string ShortUsage();

}  // namespace tavrin::cli
