#include "conversion/conversion_request.h"

#include <algorithm>
#include <vector>

#include "conversion/folder_tests.h"
#include "conversion/folder_tree_walk.h"
#include "conversion/null_folder.h"
#include "runtime/dialog_services.h"
#include "runtime/path_text.h"
#include "runtime/shown_text.h"

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

CheckedPair Refused(std::string refusal) {
  CheckedPair pair;
  pair.refusal = std::move(refusal);
  return pair;
}

// Makes `folder` and every missing folder above it.
Status MakeFolderPath(FileServices& files, const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> missing;
  std::filesystem::path start = folder;
  if (!start.has_filename() && start.has_relative_path()) start = start.parent_path();  // "a/b/" is "a/b"
  for (std::filesystem::path at = start; files.Missing(at); at = at.parent_path()) {
    missing.push_back(at);
    if (at == at.parent_path()) break;
  }
  std::reverse(missing.begin(), missing.end());
  for (const std::filesystem::path& at : missing) {
    Status status = files.MakeFolder(at);
    if (!status.ok()) return Status::Error("Zielverzeichnis " + PathText(at) + ": " + status.reason());
  }
  return Status::Ok();
}

enum class Answer { kNo, kYes, kUnknown };

// Why a check of nesting could not decide, as the refusal says it.
std::string Undecided(const Status& status) {
  return std::string(kRefusalNestingUnknown) + ": " + status.reason();
}

// Whether a folder above `folder`, climbing by "..", is `outer`. A mount point's ".." leads
// elsewhere, so a yes is sure but a no is not; the trees are compared by ids as well.
Answer Within(OpenedFolder& folder, const FolderId& outer, Status* why) {
  std::unique_ptr<OpenedFolder> at;
  OpenedFolder* current = &folder;
  for (;;) {
    std::unique_ptr<OpenedFolder> parent;
    *why = current->OpenParent(&parent);
    if (!why->ok()) return Answer::kUnknown;
    if (parent->id() == current->id()) return Answer::kNo;  // the top
    if (parent->id() == outer) return Answer::kYes;
    at = std::move(parent);
    current = at.get();
  }
}

// The ids of the folders of the tree below `top`, the top included, as the pass's walk enters
// them. A folder below the top that cannot be entered is left out, as the pass leaves it out;
// the top itself must be listed.
Status TreeIds(OpenedFolder& top, FolderIdSet* ids) {
  Status status;
  const FolderTreeWalk walk({&top}, "*.vbp", /*recursive=*/true);  // few files to look at
  walk.Run(
      [&](const NativeString&, const std::vector<OpenedFolder*>& folders, const FolderListing&) {
        ids->insert(folders[0]->id());
        return true;
      },
      [&](const NativeString& relative, const Status& failed, std::size_t) {
        if (relative.empty()) status = failed;
      });
  return status;
}

// Why two trees cannot be converted one into the other, or empty. Decided by the folders' ids,
// so that a target reached through a mount or a junction is known as well; a check that cannot
// decide refuses. A missing target counts by the nearest folder above it that exists.
std::string Nesting(FileServices& files, OpenedFolder& source, OpenedFolder* target,
                    const std::filesystem::path& target_path) {
  std::unique_ptr<OpenedFolder> nearest;
  if (target == nullptr) {
    std::filesystem::path above = target_path;
    while (files.Missing(above) && above != above.parent_path()) above = above.parent_path();
    if (above.empty()) above = ".";  // a relative path with nothing above it: the current folder
    const Status opened = files.OpenFolder(above, &nearest);
    if (!opened.ok()) return Undecided(opened);
    if (nearest->id() == source.id()) return std::string(kRefusalTargetInSource);
    target = nearest.get();
  } else if (target->id() == source.id()) {
    return std::string(kRefusalSameFolder);
  }
  // The tree the pass would walk must hold neither the target nor any folder of it.
  FolderIdSet source_ids;
  Status status = TreeIds(source, &source_ids);
  if (!status.ok()) return Undecided(status);
  if (source_ids.contains(target->id())) return std::string(kRefusalTargetInSource);
  if (nearest == nullptr) {
    FolderIdSet target_ids;
    status = TreeIds(*target, &target_ids);
    if (!status.ok()) return Undecided(status);
    if (target_ids.contains(source.id())) return std::string(kRefusalSourceInTarget);
    for (const FolderId& id : target_ids) {
      if (source_ids.contains(id)) return std::string(kRefusalTargetInSource);
    }
  }
  // Folders the walk leaves out (hidden ones) may hold one in the other as well.
  Answer answer = Within(*target, source.id(), &status);
  if (answer == Answer::kUnknown) return Undecided(status);
  if (answer == Answer::kYes) return std::string(kRefusalTargetInSource);
  if (nearest == nullptr) {
    answer = Within(source, target->id(), &status);
    if (answer == Answer::kUnknown) return Undecided(status);
    if (answer == Answer::kYes) return std::string(kRefusalSourceInTarget);
  }
  return {};
}

}  // namespace

CheckedPair CheckFolderPair(FileServices& files, const std::filesystem::path& source,
                            const std::filesystem::path& target, const CheckOptions& options) {
  if (SameFolderPath(source, target)) return Refused(std::string(kRefusalSameFolder));
  CheckedPair pair;
  if (options.target_may_be_missing && files.Missing(target)) {
    pair.target_missing = true;  // free, and nothing is made before every check has passed
  } else {
    const Status status = files.OpenFolder(target, &pair.target);
    if (!status.ok()) return Refused(status.reason());
  }
  const Status status = files.OpenFolder(source, &pair.source);
  if (!status.ok()) return Refused(status.reason());
  if (options.tree) {
    const std::string nesting = Nesting(files, *pair.source, pair.target.get(), target);
    if (!nesting.empty()) return Refused(nesting);
  }
  if (!pair.target_missing) {
    const FolderAnswer creatable = ProjectCreatable(*pair.target, options.tree);
    if (!creatable.listed) return Refused(creatable.status.reason());
    if (!creatable.yes) return Refused(std::string(kRefusalTargetNotEmpty));
  }
  const FolderAnswer project = ProjectExist(*pair.source, options.tree);
  if (!project.listed) return Refused(project.status.reason());
  if (!project.yes) return Refused(std::string(kRefusalNoProject));
  return pair;
}

std::vector<std::string> FailureLines(const PassReport& report) {
  std::vector<std::string> lines;
  for (const FileFailure& failure : report.folder_failures) lines.push_back(ShownText(failure.reason));
  for (const FileFailure& failure : report.target_folder_failures) lines.push_back(ShownText(failure.reason));
  for (const FileFailure& failure : report.failures) {
    lines.push_back(ShownText(PathText(failure.name)) + ": " + ShownText(failure.reason));
  }
  return lines;
}

std::string FailureMessage(const PassReport& report) {
  const std::vector<std::string> lines = FailureLines(report);
  std::string text(kFailureHeading);
  const std::size_t shown = std::min(lines.size(), kMostFailuresShown);
  for (std::size_t i = 0; i < shown; ++i) text += "\r\n" + lines[i];
  if (const std::size_t rest = lines.size() - shown; rest > 0) {
    text += "\r\n(und " + std::to_string(rest) + (rest == 1 ? " weitere Datei)" : " weitere Dateien)");
  }
  return text;
}

RequestResult ConversionRequest::Tavrin() {
  RequestResult result;
  if (running_) {
    result.outcome = RequestResult::Outcome::kAlreadyRunning;
    return result;
  }
  const KeyTable keys = KeyTable::Build(options_.complete);
  // Both folders are fixed here, for the checks and for the whole pass.
  const std::filesystem::path source = host_.QuellPfad();
  const std::filesystem::path target = host_.ZielPfad();

  CheckedPair pair = CheckFolderPair(files_, source, target,
                                     {options_.make_missing_target || options_.dry_run, options_.recursive});
  if (pair.refusal.empty() && options_.dry_run) {
    pair.target = MakeNullFolder();  // whatever stands there: nothing is written
  } else if (pair.refusal.empty() && pair.target_missing) {
    Status status = MakeFolderPath(files_, target);
    if (status.ok()) status = files_.OpenFolder(target, &pair.target);
    if (!status.ok()) {
      pair.refusal = status.reason();
    } else if (!ProjectCreatable(*pair.target, options_.recursive).yes) {
      pair.refusal = kRefusalTargetNotEmpty;  // filled by someone else since it was made
    }
  }
  if (!pair.refusal.empty()) {
    result.outcome = RequestResult::Outcome::kRefused;
    result.refusal = std::move(pair.refusal);
    host_.MessageBox(ShownText(result.refusal), kRefusalStyle, kRefusalTitle);
    return result;
  }

  {
    RunningFlag flag(running_);
    result.report =
        FileConvert(host_, keys, {source, target, *pair.source, *pair.target},
                    {options_.recursive, options_.diff, options_.complete});
    if (!result.report.stopped) {  // a stopped pass ends the request at once
      result.hints = CheckResult(result.report.transferred, result.report.findings, *pair.source,
                                 options_.recursive, options_.complete, options_.dry_run);
    }
  }
  if (result.report.ok()) {
    result.outcome = RequestResult::Outcome::kConverted;
  } else {
    result.outcome = RequestResult::Outcome::kConvertedWithFailures;
    host_.MessageBox(FailureMessage(result.report), kRefusalStyle, kRefusalTitle);
  }
  const std::string missing = options_.hints_box ? MissingFilesMessage(result.hints, kMostFailuresShown) : "";
  if (!missing.empty()) host_.MessageBox(missing, kButtonsOk + kIconInformation, kHintsTitle);
  return result;
}

}  // namespace tavrin
