#include "window/presenter/throttled_caption_host.h"

#include <utility>

namespace tavrin {

ThrottledCaptionHost::ThrottledCaptionHost(ConversionHost& inner, std::chrono::nanoseconds interval,
                                           Clock clock)
    : inner_(inner), interval_(interval), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return std::chrono::steady_clock::now(); };
}

void ThrottledCaptionHost::WriteInfo(std::string_view text, std::int32_t wert) {
  if (wert == 0) {
    inner_.WriteInfo(text, wert);
    last_shown_ = clock_();
    lines_since_clock_read_ = 0;
    return;
  }
  // Reading the clock for every line would cost more than the rest of the line's work.
  if (++lines_since_clock_read_ < kLinesPerClockRead) return;
  lines_since_clock_read_ = 0;
  const auto now = clock_();
  if (now - last_shown_ < interval_) return;
  inner_.WriteInfo(text, wert);
  last_shown_ = now;
}

}  // namespace tavrin
