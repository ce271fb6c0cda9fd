#include "cli/command.h"

#include <filesystem>

#include "cli/arguments.h"
#include "cli/cli_host.h"
#include "cli/folders.h"
#include "cli/progress_bar.h"
#include "cli/summary.h"
#include "conversion/conversion_request.h"
#include "conversion/folder_path.h"
#include "conversion/folder_tests.h"
#include "runtime/dialog_services.h"
#include "runtime/file_services.h"
#include "tavrin_version.h"

namespace tavrin::cli {
namespace {

constexpr const char* kProgramName = "tavrin-convert";

int Fail(Console& console, const std::string& reason) {
  console.err << kProgramName << ": " << reason << '\n' << std::flush;
  return kExitNotConverted;
}

int Convert(const Arguments& arguments, Console& console) {
  std::filesystem::path source;
  std::filesystem::path target;
  Status status = NormalizeFolder(arguments.source, &source);
  if (status.ok()) status = NormalizeFolder(arguments.target, &target);
  if (status.ok()) status = CheckSourceFolder(source);
  if (!status.ok()) return Fail(console, status.reason());

  FileServices& files = DiskFileServices();
  ProgressBar bar(console.err, console.err_is_terminal, console.columns);
  CliHost host(source, target, console.err, bar);

  if (IsMissing(target)) {
    // A missing target is free and differs from the existing source, so the one refusal left
    // is a source without a project; give it before leaving a new folder behind.
    const FolderAnswer project = ProjectExist(files, host.QuellPfad());
    if (project.listed && !project.yes) {
      host.MessageBox(kRefusalNoProject, kButtonsOk + kIconExclamation, kRefusalTitle);
      return kExitNotConverted;
    }
    status = MakeTargetFolder(target);
    if (!status.ok()) return Fail(console, status.reason());
  }

  ConversionRequest request(host, files);
  const RequestResult result = request.Tavrin();
  bar.Clear();
  switch (result.outcome) {
    case RequestResult::Outcome::kConverted:
      console.out << Summary(result.report, host.QuellPfad(), host.ZielPfad()) << std::flush;
      return kExitConverted;
    case RequestResult::Outcome::kConvertedWithFailures: {
      // The message box lists only the first files; then a shell user gets every one.
      if (result.report.failures.size() > kMostFailuresShown) {
        console.err << "Alle nicht übertragenen Dateien:\n" << FailureList(result.report) << std::flush;
      }
      console.out << Summary(result.report, host.QuellPfad(), host.ZielPfad()) << std::flush;
      return kExitSomeFailed;
    }
    case RequestResult::Outcome::kRefused:
    case RequestResult::Outcome::kAlreadyRunning:
      break;
  }
  return kExitNotConverted;
}

}  // namespace

int RunCommand(const std::vector<std::string>& words, Console& console) {
  const Arguments arguments = ParseArguments(words);
  switch (arguments.action) {
    case Arguments::Action::kHelp:
      console.out << HelpText() << std::flush;
      return kExitConverted;
    case Arguments::Action::kVersion:
      console.out << kProgramName << ' ' << TAVRIN_VERSION_TEXT << '\n' << std::flush;
      return kExitConverted;
    case Arguments::Action::kUsageError:
      console.err << kProgramName << ": " << arguments.error << '\n' << ShortUsage() << std::flush;
      return kExitNotConverted;
    case Arguments::Action::kConvert:
      break;
  }
  return Convert(arguments, console);
}

}  // namespace tavrin::cli
