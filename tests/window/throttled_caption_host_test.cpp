// The host that thins out the per-line progress texts of a pass: file texts and the closing
// text always go through, line texts at most once per interval, the clock is read rarely,
// and everything else is passed on unchanged.
#include "window/presenter/throttled_caption_host.h"

#include <QTest>
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

}  // namespace

class ThrottledCaptionHostTest : public QObject {
  Q_OBJECT

 private slots:
  void fileTextsAndTheClosingTextAlwaysGoThrough() {
    RecordingHost inner;
    FakeClock clock;
    ThrottledCaptionHost host(inner, 15ms, clock.Function());
    for (int file = 0; file < 500; ++file) host.WriteInfo("Datei" + std::to_string(file) + ".frx", 0);
    for (int line = 1; line <= 10 * kEvery; ++line) host.WriteInfo("/z/Form1.frm", line);
    host.WriteInfo("Konvertierung abgeschlossen...", 0);
    // The clock never moved: not one line text, but every file text and the closing text.
    const auto shown = inner.EventsStartingWith("WriteInfo");
    QCOMPARE(shown.size(), std::size_t{501});
    QCOMPARE(shown.front(), std::string("WriteInfo Datei0.frx 0"));
    QCOMPARE(shown.back(), std::string("WriteInfo Konvertierung abgeschlossen... 0"));
    QVERIFY(ShownLines(inner).empty());
  }

  // One microsecond per line: a line text about every 15000 lines, at a clock reading.
  void lineTextsAtMostOncePerInterval() {
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
    QCOMPARE(static_cast<int>(shown.size()), lines / 15000);
    int previous = 0;
    for (int line : shown) {
      QVERIFY2(line - previous >= 15000 && line - previous < 15000 + kEvery, std::to_string(line).c_str());
      QCOMPARE(line % kEvery, 0);
      previous = line;
    }
    // One file text plus one reading per kEvery lines.
    QCOMPARE(clock.reads, 1 + lines / kEvery);
  }

  // Very slow lines: the clock is still read only once per kEvery lines.
  void slowLinesShowEveryClockReading() {
    RecordingHost inner;
    FakeClock clock;
    ThrottledCaptionHost host(inner, 15ms, clock.Function());
    host.WriteInfo("Form1.frm", 0);
    for (int line = 1; line <= 4 * kEvery; ++line) {
      clock.now += 20ms;
      host.WriteInfo("/z/Form1.frm", line);
    }
    QCOMPARE(ShownLines(inner), (std::vector<int>{kEvery, 2 * kEvery, 3 * kEvery, 4 * kEvery}));
  }

  // A file text counts as shown: the next line text waits a whole interval after it.
  void aFileTextRestartsTheInterval() {
    RecordingHost inner;
    FakeClock clock;
    ThrottledCaptionHost host(inner, 15ms, clock.Function());
    host.WriteInfo("Form0.frm", 0);
    clock.now += 1s;
    host.WriteInfo("Form1.frm", 0);
    for (int line = 1; line <= 2 * kEvery; ++line) host.WriteInfo("/z/Form1.frm", line);
    QVERIFY(ShownLines(inner).empty());
    clock.now += 15ms;
    for (int line = 2 * kEvery + 1; line <= 3 * kEvery; ++line) host.WriteInfo("/z/Form1.frm", line);
    QCOMPARE(ShownLines(inner), (std::vector<int>{3 * kEvery}));
  }

  void theSteadyClockByDefault() {
    RecordingHost inner;
    ThrottledCaptionHost host(inner);
    host.WriteInfo("Form1.frm", 0);
    const auto start = std::chrono::steady_clock::now();
    int line = 0;
    while (std::chrono::steady_clock::now() - start < 100ms) host.WriteInfo("/z/Form1.frm", ++line);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const std::size_t shown = ShownLines(inner).size();
    QVERIFY2(shown >= 1, std::to_string(line).c_str());
    QVERIFY2(shown <= static_cast<std::size_t>(elapsed / 15ms) + 1, std::to_string(shown).c_str());
  }

  void everythingElseIsPassedOn() {
    RecordingHost inner;
    inner.source = "/q/";
    inner.target = "/z/";
    int nested = 0;
    inner.on_do_events = [&nested] { ++nested; };
    ThrottledCaptionHost host(inner);
    QCOMPARE(host.QuellPfad(), std::filesystem::path("/q/"));
    QCOMPARE(host.ZielPfad(), std::filesystem::path("/z/"));
    host.SetMousePointer(11);
    host.DoEvents();
    host.Dir2_Change();
    QCOMPARE(host.MessageBox("Text", 48, "Titel"), 1);
    host.SetMousePointer(0);
    QCOMPARE(inner.events, (std::vector<std::string>{"Pointer 11", "DoEvents", "Dir2_Change",
                                                     "MessageBox 48 Titel: Text", "Pointer 0"}));
    QCOMPARE(nested, 1);
  }
};

QTEST_GUILESS_MAIN(ThrottledCaptionHostTest)
#include "throttled_caption_host_test.moc"
