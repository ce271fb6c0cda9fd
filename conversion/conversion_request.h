#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/conversion_host.h"
#include "conversion/conversion_pass.h"
#include "runtime/file_services.h"

namespace tavrin {

inline constexpr std::string_view kRefusalTitle = "Konvertierungsfehler";
inline constexpr std::string_view kRefusalSameFolder = "Zielpfad und Quellpfad dürfen nicht identisch sein!";
inline constexpr std::string_view kRefusalTargetNotEmpty =
    "Im Zielverzeichnis dürfen sich keine Dateien befinden!";
inline constexpr std::string_view kRefusalNoProject =
    "Im Quellverzeichnis ist kein Visual Basic-Projekt enthalten!";
inline constexpr std::string_view kRefusalTargetInSource =
    "Das Zielverzeichnis darf nicht im Quellverzeichnis liegen!";
inline constexpr std::string_view kRefusalSourceInTarget =
    "Das Quellverzeichnis darf nicht im Zielverzeichnis liegen!";
// A folder of the nesting check could not be opened; ": " and the reason follow. A check that
// cannot decide refuses.
inline constexpr std::string_view kRefusalNestingUnknown = "Die Lage des Zielverzeichnisses kann nicht geprüft werden";
inline constexpr std::string_view kFailureHeading = "Folgende Dateien wurden nicht übertragen:";
// The failure message names at most this many files; a longer list would not fit on a screen.
inline constexpr std::size_t kMostFailuresShown = 40;

struct RequestResult {
  enum class Outcome {
    kConverted,              // the pass ran and every file was transferred
    kConvertedWithFailures,  // the pass ran; report.failures lists what was not transferred
    kRefused,                // a check failed; `refusal` is the message that was shown
    kAlreadyRunning,         // asked while a pass runs: nothing was done
  };
  Outcome outcome = Outcome::kRefused;
  std::string refusal;
  PassReport report;
  std::vector<Hint> hints;  // what the checks of the result found, when the pass ran
};

// The folders of a request, checked and opened for its pass.
struct CheckedPair {
  std::string refusal;                         // empty: the pass may run
  std::unique_ptr<OpenedFolder> source;        // both set when the pass may run,
  std::unique_ptr<OpenedFolder> target;        // but the target not when it is missing
  bool target_missing = false;                 // only when a missing target was allowed
};

struct CheckOptions {
  bool target_may_be_missing = false;  // a target where nothing stands counts as free
  bool tree = false;                   // the checks of a conversion of the whole tree
};

// The checks of a conversion, in the order of their messages: the folders differ, the target
// holds no file, the source holds a project. For a tree, "holds" means anywhere below, and the
// two trees must not hold one another: decided by the folders' ids, so that a target reached
// through a mount or a junction counts as well (a source folder below the top that cannot be
// entered is left out, as the pass leaves it out). The message always comes from the check
// that refused; a folder that cannot be read, or a check that cannot decide, refuses with a
// message naming why. Both folders are opened here, so that the pass reads and writes the very
// folders that were checked.
CheckedPair CheckFolderPair(FileServices& files, const std::filesystem::path& source,
                            const std::filesystem::path& target, const CheckOptions& options = {});

// One line per failure, as a person reads it: first the source folders that could not be read,
// then the target folders that could not be made (their reasons name them), then "name: reason" per file. Names are shown escaped (ShownText), so a
// name can never forge a line.
std::vector<std::string> FailureLines(const PassReport& report);

// The text of the message box after a pass with failures: the heading, then the first
// kMostFailuresShown failure lines and how many more there are, joined by CR LF.
std::string FailureMessage(const PassReport& report);

// What a request does beyond the window's conversion.
struct RequestOptions {
  // Makes a target folder that does not exist (with its missing parents), after the checks.
  bool make_missing_target = false;
  // Converts the whole tree below the source folder.
  bool recursive = false;
  // Also the rows of the complete upgrade.
  bool complete = false;
  // Reads and checks everything, but writes nothing: the target is neither made nor touched.
  bool dry_run = false;
  // A unified diff of every rewritten file, given to the host file by file.
  bool diff = false;
  // After a pass with hints of missing project files, a message box names them.
  bool hints_box = true;
};

inline constexpr std::string_view kHintsTitle = "Konvertierungshinweise";

// The conversion request: checks the folder pair the host shows and runs the pass, or shows
// the reason for refusing in a message box. One object per window; a request made while its
// pass runs (from an event the pass lets run) starts no second pass.
class ConversionRequest {
 public:
  ConversionRequest(ConversionHost& host, FileServices& files, RequestOptions options = {})
      : host_(host), files_(files), options_(options) {}

  RequestResult Tavrin();
  bool running() const { return running_; }

 private:
  ConversionHost& host_;
  FileServices& files_;
  RequestOptions options_;
  bool running_ = false;
};

}  // namespace tavrin
