#include "cli/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin::cli {
namespace {

using Action = Arguments::Action;

struct Case {
  std::vector<std::string> words;
  Action action;
  std::string source;
  std::string target;
  bool recursive = false;
  bool complete = false;
  bool dry_run = false;
  bool diff = false;
  bool json = false;
};

TEST(ArgumentsTest, ReadsOptionsAndFolders) {
  const Case cases[] = {
      {{"alt", "neu"}, Action::kConvert, "alt", "neu"},
      {{"--", "alt", "neu"}, Action::kConvert, "alt", "neu"},
      {{"--", "--help", "-neu"}, Action::kConvert, "--help", "-neu"},  // "--" ends the options
      {{"alt", "--", "--"}, Action::kConvert, "alt", "--"},
      {{"-", "neu"}, Action::kConvert, "-", "neu"},  // a lone "-" is a folder name
      {{"--help"}, Action::kHelp, "", ""},
      {{"alt", "neu", "--help"}, Action::kHelp, "", ""},
      {{"--version", "--help"}, Action::kHelp, "", ""},
      {{"--version"}, Action::kVersion, "", ""},
      {{"a", "--version", "b", "c"}, Action::kVersion, "", ""},
      {{}, Action::kUsageError, "", ""},
      {{"alt"}, Action::kUsageError, "", ""},
      {{"a", "b", "c"}, Action::kUsageError, "", ""},
      {{"--hilfe", "a", "b"}, Action::kUsageError, "", ""},
      {{"-h"}, Action::kUsageError, "", ""},
      {{"--help", "--bogus"}, Action::kUsageError, "", ""},  // an unknown option is never ignored
      {{"--", "a"}, Action::kUsageError, "", ""},
      {{"-r", "alt", "neu"}, Action::kConvert, "alt", "neu", true, false},
      {{"alt", "--complete", "neu", "--recursive"}, Action::kConvert, "alt", "neu", true, true},
      {{"--complete", "--", "-r", "neu"}, Action::kConvert, "-r", "neu", false, true},
      {{"-rn", "alt", "neu"}, Action::kUsageError, "", ""},
      {{"-n", "--diff", "alt", "neu"}, Action::kConvert, "alt", "neu", false, false, true, true, false},
      {{"--json", "--dry-run", "alt", "neu"}, Action::kConvert, "alt", "neu", false, false, true, false, true},
      {{"--diff", "alt", "neu"}, Action::kUsageError, "", ""},               // a diff only in a dry run
      {{"-n", "--diff", "--json", "alt", "neu"}, Action::kUsageError, "", ""},  // no diff in JSON
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& w : c.words) shown += "[" + w + "]";
    SCOPED_TRACE(shown);
    const Arguments arguments = ParseArguments(c.words);
    EXPECT_EQ(arguments.action, c.action);
    EXPECT_EQ(arguments.source, c.source);
    EXPECT_EQ(arguments.target, c.target);
    if (c.action == Action::kConvert) {
      EXPECT_EQ(arguments.recursive, c.recursive);
      EXPECT_EQ(arguments.complete, c.complete);
      EXPECT_EQ(arguments.dry_run, c.dry_run);
      EXPECT_EQ(arguments.diff, c.diff);
      EXPECT_EQ(arguments.json, c.json);
    }
    EXPECT_EQ(arguments.error.empty(), c.action != Action::kUsageError) << arguments.error;
  }
}

TEST(ArgumentsTest, ErrorsSayWhatIsWrong) {
  EXPECT_EQ(ParseArguments({"--bogus", "a", "b"}).error, "Unbekannte Option: --bogus");
  EXPECT_NE(ParseArguments({"a"}).error.find("Quell- und Zielverzeichnis"), std::string::npos);
  EXPECT_NE(ParseArguments({"a", "b", "c"}).error.find("Zu viele Argumente"), std::string::npos);
}

TEST(ArgumentsTest, HelpNamesOptionsAndExitCodes) {
  const std::string help = HelpText();
  EXPECT_EQ(help.rfind("Aufruf: tavrin-convert [--help] [--version] [-r|--recursive] [--complete] [-n|--dry-run [--diff]]\n"
                           "                      [--json] [--all-hints] [--] QUELLE ZIEL\n",
                       0),
            0u);
  for (const char* piece : {"--help", "--version", "-r, --recursive", "--complete", "-n, --dry-run", "--diff", "--json",
                            "--all-hints", "\n  --  ", "Rückgabewerte:", "doppelte\nVerweise", "erste Object=-Zeile",
                            "\n  0 ", "\n  1 ", "\n  2 ", "\n  3 "}) {
    EXPECT_NE(help.find(piece), std::string::npos) << piece;
  }
  EXPECT_EQ(ShortUsage().rfind("Aufruf: tavrin-convert", 0), 0u);
}

}  // namespace
}  // namespace tavrin::cli
