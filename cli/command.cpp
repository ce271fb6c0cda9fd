#include "cli/command.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <vector>

#include "cli/arguments.h"
#include "cli/cli_host.h"
#include "cli/folders.h"
#include "cli/json_report.h"
#include "cli/progress_bar.h"
#include "cli/summary.h"
#include "conversion/conversion_request.h"
#include "conversion/folder_path.h"
#include "runtime/dialog_services.h"
#include "runtime/file_services.h"
#include "runtime/shown_text.h"
#include "tavrin_version.h"

namespace tavrin::cli {
namespace {

constexpr const char* kProgramName = "tavrin-convert";
constexpr std::size_t kMostHintsShown = 40;  // of each kind, unless every hint is asked for
constexpr std::size_t kProjectsNamed = 3;     // project files below a source without one at its top

int StopSignal(const Console& console) {
  return console.stop_signal == nullptr ? 0 : console.stop_signal->load(std::memory_order_relaxed);
}

int Fail(Console& console, const std::string& reason) {
  console.err << kProgramName << ": " << ShownText(reason) << '\n' << std::flush;
  return kExitNotConverted;
}

int Convert(const Arguments& arguments, Console& console) {
  std::filesystem::path source;
  std::filesystem::path target;
  Status status = NormalizeFolder(arguments.source, &source);
  if (status.ok()) status = NormalizeFolder(arguments.target, &target);
  if (status.ok()) status = CheckSourceFolder(DiskFileServices(), source);
  if (!status.ok()) return Fail(console, status.reason());

  ProgressBar bar(console.err, console.err_is_terminal, console.columns);
  CliHost host(source, target, console.err, bar);
  host.StopOn(console.stop_signal);
  if (arguments.dry_run && !arguments.json) host.ListFilesTo(&console.out, arguments.diff);
  // A missing target is made only after every check that could refuse has passed.
  RequestOptions options;
  options.make_missing_target = true;
  options.recursive = arguments.recursive;
  options.complete = arguments.complete;
  options.dry_run = arguments.dry_run;
  options.diff = arguments.diff;
  options.hints_box = false;  // the hints go to standard output instead
  ConversionRequest request(host, DiskFileServices(), options);
  const RequestResult result = request.Tavrin();
  bar.Clear();
  const bool ran = result.outcome == RequestResult::Outcome::kConverted ||
                   result.outcome == RequestResult::Outcome::kConvertedWithFailures;
  if (const int signal_number = StopSignal(console); signal_number != 0) {
    // What an interrupted target holds: the files complete so far, no partial one.
    if (!ran) return ExitCodeOfSignal(signal_number);
    console.err << "Konvertierung abgebrochen: " << result.report.transferred.size() << " von "
                << std::max<std::uint64_t>(host.files_total(), result.report.transferred.size())
                << " Dateien übertragen\n"
                << std::flush;
    return ExitCodeOfSignal(signal_number);
  }
  if (result.outcome == RequestResult::Outcome::kRefused && result.refusal == kRefusalNoProject &&
      !arguments.recursive) {
    // The refusal stands; a tree whose projects lie below its top is one option away.
    const std::string note = ProjectsBelowNote(FindProjectFilesBelow(DiskFileServices(), source, kProjectsNamed));
    if (!note.empty()) console.err << note << '\n' << std::flush;
  }
  if (!ran) return kExitNotConverted;
  // The message box lists only the first failures; then a shell user gets every one.
  const std::vector<std::string> lines = FailureLines(result.report);
  if (lines.size() > kMostFailuresShown) {
    console.err << "Alle nicht übertragenen Dateien:\n";
    for (const std::string& line : lines) console.err << line << '\n';
    console.err << std::flush;
  }
  if (arguments.json) {
    console.out << JsonReport(result, {host.QuellPfad(), host.ZielPfad(), arguments.recursive, arguments.complete,
                                       arguments.dry_run})
                << std::flush;
  } else {
    console.out << Summary(result.report, host.QuellPfad(), host.ZielPfad(), arguments.dry_run)
                << HintsSection(result.hints, arguments.all_hints ? SIZE_MAX : kMostHintsShown) << std::flush;
  }
  return result.outcome == RequestResult::Outcome::kConverted ? kExitConverted : kExitSomeFailed;
}

// The exit code once everything is written: a summary or message that was lost (a full disk,
// a closed pipe) must not read as success, so the code says so when the streams failed.
// An interruption's code wins over this one, and nothing converted (2) stays 2.
int Finish(int code, Console& console) {
  console.out.flush();
  console.err.flush();
  if (!console.out.fail() && !console.err.fail()) return code;
  if (!console.err.fail()) {
    const std::string reason = console.output_failure ? console.output_failure() : std::string();
    console.err << kProgramName << ": Die Ausgabe konnte nicht vollständig geschrieben werden"
                << (reason.empty() ? "" : " (" + reason + ")") << '\n'
                << std::flush;
  }
  return code == kExitNotConverted || code > 128 ? code : kExitOutputLost;
}

int RunArguments(const Arguments& arguments, Console& console) {
  switch (arguments.action) {
    case Arguments::Action::kHelp:
      console.out << HelpText() << std::flush;
      return kExitConverted;
    case Arguments::Action::kVersion:
      console.out << kProgramName << ' ' << TAVRIN_VERSION_TEXT << '\n' << std::flush;
      return kExitConverted;
    case Arguments::Action::kUsageError:
      console.err << kProgramName << ": " << ShownText(arguments.error) << '\n' << ShortUsage() << std::flush;
      return kExitNotConverted;
    case Arguments::Action::kConvert:
      break;
  }
  return Convert(arguments, console);
}

}  // namespace

int RunCommand(const std::vector<std::string>& words, Console& console) {
  return Finish(RunArguments(ParseArguments(words), console), console);
}

int RunCommandGuarded(const std::vector<std::string>& words, Console& console) {
  try {
    return RunCommand(words, console);
  } catch (const std::exception& error) {
    // The core reports failures as values; this is the last guard.
    console.err << "tavrin-convert: " << error.what() << std::endl;
    return kExitNotConverted;
  }
}

}  // namespace tavrin::cli
