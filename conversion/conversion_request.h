#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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
};

// The text of the message box after a pass with failures: the heading, then one line per
// failed file ("name: reason"), joined by CR LF.
std::string FailureMessage(const PassReport& report);

// The conversion request: checks the folder pair the host shows and runs the pass, or shows
// the reason for refusing in a message box. One object per window; a request made while its
// pass runs (from an event the pass lets run) starts no second pass.
class ConversionRequest {
 public:
  ConversionRequest(ConversionHost& host, FileServices& files) : host_(host), files_(files) {}

  RequestResult Tavrin();
  bool running() const { return running_; }

 private:
  ConversionHost& host_;
  FileServices& files_;
  bool running_ = false;
};

}  // namespace tavrin
