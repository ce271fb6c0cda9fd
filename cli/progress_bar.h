#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

#include "conversion/conversion_host.h"

namespace tavrin::cli {

// A one-line progress display for a terminal: a bar, the share done, files and megabytes done
// of the total, and the current file. Redrawn at most every `interval`; the clock is read
// only when progress is reported. A disabled bar writes nothing at all.
class ProgressBar {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kDefaultInterval{100};

  ProgressBar(std::ostream& out, bool enabled, int columns,
              std::function<Clock::time_point()> now = &Clock::now,
              std::chrono::milliseconds interval = kDefaultInterval);

  // Takes new progress; redraws when the last drawing is at least `interval` old (the first
  // report is always drawn).
  void Update(const PassProgress& progress);

  // Removes the line from the terminal, so that other text can follow; nothing when no
  // line is shown.
  void Clear();

  // The line as it would be drawn, at most `columns` - 1 columns wide (so the terminal does
  // not wrap), without cursor controls.
  static std::string Render(const PassProgress& progress, int columns);

 private:
  std::ostream& out_;
  bool enabled_;
  int columns_;
  std::function<Clock::time_point()> now_;
  std::chrono::milliseconds interval_;
  bool drawn_once_ = false;
  bool shown_ = false;
  Clock::time_point last_draw_{};
};

}  // namespace tavrin::cli
