// The host that thins out the per-line progress texts of a pass: file texts and the closing
// text always go through, line texts at most once per interval, the clock is read rarely,
// and everything else is passed on unchanged.
#include "window/presenter/throttled_caption_host.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/recording_host.h"

using tavrin::ThrottledCaptionHost;
using tavrin::testing::RecordingHost;
using namespace std::chrono_literals;

namespace {

constexpr int kEvery = ThrottledCaptionHost::kLinesPerClockRead;

// A clock that stands still until the test moves it, and counts how often it is read.
struct FakeClock {
  std::chrono::steady_clock::time_point now{1h};
  int reads = 0;
  ThrottledCaptionHost::Clock Function() {
    return [this] {
      ++reads;
      return now;
    };
  }
};

// The line numbers of the line texts that reached `host`.
std::vector<int> ShownLines(const RecordingHost& host) {
  std::vector<int> lines;
  for (const std::string& event : host.EventsStartingWith("WriteInfo /z/Form1.frm ")) {
    lines.push_back(std::stoi(event.substr(event.rfind(' ') + 1)));
  }
  return lines;
}

TEST(ThrottledCaptionHost, FileTextsAndTheClosingTextAlwaysGoThrough) {
  RecordingHost inner;
  FakeClock clock;
  ThrottledCaptionHost host(inner, 15ms, clock.Function());
  for (int file = 0; file < 500; ++file) host.WriteInfo("Datei" + std::to_string(file) + ".frx", 0);
  for (int line = 1; line <= 10 * kEvery; ++line) host.WriteInfo("/z/Form1.frm", line);
  host.WriteInfo("Konvertierung abgeschlossen...", 0);
  // The clock never moved: not one line text, but every file text and the closing text.
  const auto shown = inner.EventsStartingWith("WriteInfo");
  EXPECT_EQ(shown.size(), std::size_t{501});
  EXPECT_EQ(shown.front(), std::string("WriteInfo Datei0.frx 0"));
  EXPECT_EQ(shown.back(), std::string("WriteInfo Konvertierung abgeschlossen... 0"));
  EXPECT_TRUE(ShownLines(inner).empty());
}

// One microsecond per line: a line text about every 15000 lines, at a clock reading.
TEST(ThrottledCaptionHost, LineTextsAtMostOncePerInterval) {
  RecordingHost inner;
  FakeClock clock;
  ThrottledCaptionHost host(inner, 15ms, clock.Function());
  host.WriteInfo("Form1.frm", 0);
  const int lines = 100000;
  for (int line = 1; line <= lines; ++line) {
    clock.now += 1us;
    host.WriteInfo("/z/Form1.frm", line);
  }
  const std::vector<int> shown = ShownLines(inner);
  EXPECT_EQ(static_cast<int>(shown.size()), lines / 15000);
  int previous = 0;
  for (int line : shown) {
    EXPECT_TRUE(line - previous >= 15000 && line - previous < 15000 + kEvery) << line;
    EXPECT_EQ(line % kEvery, 0);
    previous = line;
  }
  // One file text plus one reading per kEvery lines.
  EXPECT_EQ(clock.reads, 1 + lines / kEvery);
}

// Very slow lines: the clock is still read only once per kEvery lines.
TEST(ThrottledCaptionHost, SlowLinesShowEveryClockReading) {
  RecordingHost inner;
  FakeClock clock;
  ThrottledCaptionHost host(inner, 15ms, clock.Function());
  host.WriteInfo("Form1.frm", 0);
  for (int line = 1; line <= 4 * kEvery; ++line) {
    clock.now += 20ms;
    host.WriteInfo("/z/Form1.frm", line);
  }
  EXPECT_EQ(ShownLines(inner), (std::vector<int>{kEvery, 2 * kEvery, 3 * kEvery, 4 * kEvery}));
}

// A file text counts as shown: the next line text waits a whole interval after it.
TEST(ThrottledCaptionHost, AFileTextRestartsTheInterval) {
  RecordingHost inner;
  FakeClock clock;
  ThrottledCaptionHost host(inner, 15ms, clock.Function());
  host.WriteInfo("Form0.frm", 0);
  clock.now += 1s;
  host.WriteInfo("Form1.frm", 0);
  for (int line = 1; line <= 2 * kEvery; ++line) host.WriteInfo("/z/Form1.frm", line);
  EXPECT_TRUE(ShownLines(inner).empty());
  clock.now += 15ms;
  for (int line = 2 * kEvery + 1; line <= 3 * kEvery; ++line) host.WriteInfo("/z/Form1.frm", line);
  EXPECT_EQ(ShownLines(inner), (std::vector<int>{3 * kEvery}));
}

TEST(ThrottledCaptionHost, TheSteadyClockByDefault) {
  RecordingHost inner;
  ThrottledCaptionHost host(inner);
  host.WriteInfo("Form1.frm", 0);
  const auto start = std::chrono::steady_clock::now();
  int line = 0;
  while (std::chrono::steady_clock::now() - start < 100ms) host.WriteInfo("/z/Form1.frm", ++line);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const std::size_t shown = ShownLines(inner).size();
  EXPECT_TRUE(shown >= 1) << line;
  EXPECT_TRUE(shown <= static_cast<std::size_t>(elapsed / 15ms) + 1) << shown;
}

TEST(ThrottledCaptionHost, EverythingElseIsPassedOn) {
  RecordingHost inner;
  inner.source = "/q/";
  inner.target = "/z/";
  int nested = 0;
  inner.on_do_events = [&nested] { ++nested; };
  ThrottledCaptionHost host(inner);
  EXPECT_EQ(host.QuellPfad(), std::filesystem::path("/q/"));
  EXPECT_EQ(host.ZielPfad(), std::filesystem::path("/z/"));
  host.SetMousePointer(11);
  host.DoEvents();
  host.Dir2_Change();
  EXPECT_EQ(host.MessageBox("Text", 48, "Titel"), 1);
  host.SetMousePointer(0);
  EXPECT_EQ(inner.events, (std::vector<std::string>{"Pointer 11", "DoEvents", "Dir2_Change",
                                                   "MessageBox 48 Titel: Text", "Pointer 0"}));
  EXPECT_EQ(nested, 1);
}
}  // namespace
