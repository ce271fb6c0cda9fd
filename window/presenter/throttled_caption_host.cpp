#include "window/presenter/throttled_caption_host.h"

#include <utility>

namespace tavrin {

ThrottledCaptionHost::ThrottledCaptionHost(ConversionHost& inner, std::chrono::nanoseconds interval,
                                           Clock clock)
    : inner_(inner), interval_(interval) {
  SetClock(std::move(clock));
}

void ThrottledCaptionHost::SetClock(Clock clock) {
  clock_ = std::move(clock);
  if (!clock_) clock_ = [] { return std::chrono::steady_clock::now(); };
}

void ThrottledCaptionHost::DoEvents() {
  // The pass's own run, once before each text file: the interval counts from here.
  rewriting_ = true;
  inner_.DoEvents();
  last_events_ = clock_();
}

void ThrottledCaptionHost::OnProgress(const PassProgress& progress) {
  inner_.OnProgress(progress);
  if (rewriting_) EventsWhenDue(clock_());
}

void ThrottledCaptionHost::EventsWhenDue(std::chrono::steady_clock::time_point now) {
  if (!rewriting_ || now - last_events_ < kEventsInterval) return;
  inner_.DoEvents();
  last_events_ = clock_();
}

void ThrottledCaptionHost::WriteInfo(std::string_view text, std::int32_t wert) {
  if (wert == 0) {
    rewriting_ = false;  // a file text: the next file, or the pass's end
    inner_.WriteInfo(text, wert);
    last_shown_ = clock_();
    lines_since_clock_read_ = 0;
    return;
  }
  // Reading the clock for every line would cost more than the rest of the line's work.
  if (++lines_since_clock_read_ < kLinesPerClockRead) return;
  lines_since_clock_read_ = 0;
  const auto now = clock_();
  EventsWhenDue(now);
  if (now - last_shown_ < interval_) return;
  inner_.WriteInfo(text, wert);
  last_shown_ = now;
}

}  // namespace tavrin
