#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "conversion/conversion_host.h"

namespace tavrin {

// A conversion host that forwards everything to another one but thins out the per-line
// progress texts: a text with a line number (`wert` != 0) is passed on only when at least
// `interval` has gone by since the last text passed on; the texts of the files and the
// closing text (`wert` 0) always go through. A person sees no more than that, and a repaint
// per line would make a large project convert many times slower than the disk allows.
// The clock is read at most once per kLinesPerClockRead line texts, and once per file text.
//
// While a text file is rewritten (from the pass's DoEvents before it until the next file
// text) pending events also run at most once per kEventsInterval, checked at the line texts
// and at the finer progress reports: a long file does not freeze the window.
class ThrottledCaptionHost : public ConversionHost {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  static constexpr std::chrono::milliseconds kDefaultInterval{15};
  static constexpr int kLinesPerClockRead = 64;
  static constexpr std::chrono::milliseconds kEventsInterval{100};

  // `inner` must outlive this host. `clock` defaults to the steady clock.
  explicit ThrottledCaptionHost(ConversionHost& inner, std::chrono::nanoseconds interval = kDefaultInterval,
                                Clock clock = nullptr);

  std::filesystem::path QuellPfad() override { return inner_.QuellPfad(); }
  std::filesystem::path ZielPfad() override { return inner_.ZielPfad(); }
  void WriteInfo(std::string_view text, std::int32_t wert) override;
  void DoEvents() override;
  void SetMousePointer(int pointer) override { inner_.SetMousePointer(pointer); }
  void Dir2_Change() override { inner_.Dir2_Change(); }
  int MessageBox(std::string_view text, int style, std::string_view title) override {
    return inner_.MessageBox(text, style, title);
  }
  void OnProgress(const PassProgress& progress) override;

  // Replaces the clock (nullptr: the steady clock).
  void SetClock(Clock clock);

 private:
  ConversionHost& inner_;
  std::chrono::nanoseconds interval_;
  Clock clock_;
  std::chrono::steady_clock::time_point last_shown_{};
  int lines_since_clock_read_ = 0;
  // Between the pass's DoEvents before a text file and the next file text.
  bool rewriting_ = false;
  std::chrono::steady_clock::time_point last_events_{};

  // Lets pending events run when a file is being rewritten and kEventsInterval has gone by.
  void EventsWhenDue(std::chrono::steady_clock::time_point now);
};

}  // namespace tavrin
