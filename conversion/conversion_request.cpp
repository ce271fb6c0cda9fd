#include "conversion/conversion_request.h"

#include <algorithm>

#include "conversion/folder_tests.h"
#include "runtime/dialog_services.h"

namespace tavrin {
namespace {

constexpr int kRefusalStyle = kButtonsOk + kIconExclamation;

// Sets `running` for the lifetime of the object.
class RunningFlag {
 public:
  explicit RunningFlag(bool& running) : running_(running) { running_ = true; }
  ~RunningFlag() { running_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& running_;
};

// The reason for refusing the pair, or empty when the pass may run. The checks run in the
// order of their messages, and the message always comes from the check that refused.
std::string CheckPair(FileServices& files, const std::filesystem::path& source,
                      const std::filesystem::path& target) {
  if (source.native() == target.native()) return std::string(kRefusalSameFolder);
  const FolderAnswer creatable = ProjectCreatable(files, target);
  if (!creatable.listed) return creatable.status.reason();
  if (!creatable.yes) return std::string(kRefusalTargetNotEmpty);
  const FolderAnswer project = ProjectExist(files, source);
  if (!project.listed) return project.status.reason();
  if (!project.yes) return std::string(kRefusalNoProject);
  return {};
}

}  // namespace

std::string FailureMessage(const PassReport& report) {
  std::string text(kFailureHeading);
  const std::size_t shown = std::min(report.failures.size(), kMostFailuresShown);
  for (std::size_t i = 0; i < shown; ++i) {
    const FileFailure& failure = report.failures[i];
    text += "\r\n";
    text += failure.name.native();
    text += ": ";
    text += failure.reason;
  }
  if (report.failures.size() > shown) {
    text += "\r\n(und " + std::to_string(report.failures.size() - shown) + " weitere Dateien)";
  }
  return text;
}

RequestResult ConversionRequest::Tavrin() {
  RequestResult result;
  if (running_) {
    result.outcome = RequestResult::Outcome::kAlreadyRunning;
    return result;
  }
  const KeyTable keys = KeyTable::Build();
  // Both folders are fixed here, for the checks and for the whole pass.
  const std::filesystem::path source = host_.QuellPfad();
  const std::filesystem::path target = host_.ZielPfad();

  result.refusal = CheckPair(files_, source, target);
  if (!result.refusal.empty()) {
    result.outcome = RequestResult::Outcome::kRefused;
    host_.MessageBox(result.refusal, kRefusalStyle, kRefusalTitle);
    return result;
  }

  {
    RunningFlag flag(running_);
    result.report = FileConvert(host_, files_, keys, source, target);
  }
  if (result.report.ok()) {
    result.outcome = RequestResult::Outcome::kConverted;
  } else {
    result.outcome = RequestResult::Outcome::kConvertedWithFailures;
    host_.MessageBox(FailureMessage(result.report), kRefusalStyle, kRefusalTitle);
  }
  return result;
}

}  // namespace tavrin
