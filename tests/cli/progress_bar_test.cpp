#include "cli/progress_bar.h"

#include "runtime/path_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>

namespace tavrin::cli {
namespace {

using namespace std::chrono_literals;

PassProgress Progress(std::uint64_t files_done, std::uint64_t files_total, std::uint64_t bytes_done,
                      std::uint64_t bytes_total, const std::string& current) {
  PassProgress progress;
  progress.files_done = files_done;
  progress.files_total = files_total;
  progress.bytes_done = bytes_done;
  progress.bytes_total = bytes_total;
  progress.current = PathFromText(current);
  return progress;
}

// A clock the test moves by hand.
struct FakeClock {
  ProgressBar::Clock::time_point now{};
  std::function<ProgressBar::Clock::time_point()> Function() {
    return [this] { return now; };
  }
};

std::size_t CountOf(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

TEST(ProgressBarTest, ShowsShareFilesBytesAndCurrentFile) {
  const std::string line =
      ProgressBar::Render(Progress(3, 10, 50 * 1048576 + 104858, 200 * 1048576, "Form1.frm"), 100);
  EXPECT_EQ(line, "[#####---------------]  25%  3/10 Dateien  50,1/200,0 MB  Form1.frm");
}

TEST(ProgressBarTest, ShareFollowsFilesWhenThereAreNoBytes) {
  EXPECT_NE(ProgressBar::Render(Progress(1, 4, 0, 0, ""), 100).find(" 25%  1/4 Dateien"), std::string::npos);
  EXPECT_NE(ProgressBar::Render(Progress(0, 0, 0, 0, ""), 100).find("100%"), std::string::npos);
}

TEST(ProgressBarTest, StaysNarrowerThanTheTerminal) {
  const std::string long_name(300, 'x');
  for (int columns : {100, 60, 41, 30, 12, 1}) {
    SCOPED_TRACE(columns);
    const std::string line = ProgressBar::Render(Progress(1, 2, 10, 20, long_name), columns);
    EXPECT_LE(static_cast<int>(line.size()), std::max(1, columns - 1));
  }
  // A cut name ends in "..." and keeps the start of the name.
  const std::string line = ProgressBar::Render(Progress(1, 2, 10, 20, long_name), 100);
  EXPECT_EQ(line.substr(line.size() - 5), "xx...");
}

TEST(ProgressBarTest, NamesCannotMoveTheCursorOrSplitACharacter) {
  const std::string line = ProgressBar::Render(Progress(0, 1, 0, 1, "a\rb\nc\x1b[2J"), 100);
  EXPECT_EQ(line.find_first_of("\r\n\x1b"), std::string::npos);
  EXPECT_NE(line.find("a\\rb\\nc\\x1B[2J"), std::string::npos) << line;
  // Umlauts (two bytes each in UTF-8) are cut whole.
  std::string name;
  for (int i = 0; i < 100; ++i) name += "\xc3\xbc";
  const std::string cut = ProgressBar::Render(Progress(0, 1, 0, 1, name), 70);
  const std::string tail = cut.substr(0, cut.size() - 3);
  EXPECT_EQ(cut.substr(cut.size() - 3), "...");
  EXPECT_EQ(tail.substr(tail.size() - 2), "\xc3\xbc");
}

TEST(ProgressBarTest, RedrawsAtMostOncePerInterval) {
  std::ostringstream out;
  FakeClock clock;
  clock.now += 5s;
  ProgressBar bar(out, true, 100, clock.Function(), 100ms);
  bar.Update(Progress(0, 3, 0, 300, "a"));  // the first report is always drawn
  EXPECT_EQ(CountOf(out.str(), "\r"), 1u);
  for (int i = 0; i < 9; ++i) {
    clock.now += 10ms;
    bar.Update(Progress(1, 3, 100, 300, "b"));
  }
  EXPECT_EQ(CountOf(out.str(), "\r"), 1u) << "90 ms after the first drawing";
  clock.now += 10ms;
  bar.Update(Progress(2, 3, 200, 300, "c"));
  EXPECT_EQ(CountOf(out.str(), "\r"), 2u);
  EXPECT_NE(out.str().find("2/3 Dateien"), std::string::npos);
  EXPECT_EQ(out.str().substr(out.str().size() - 3), "\x1b[K");
}

TEST(ProgressBarTest, ClearRemovesTheLineOnlyWhenOneIsShown) {
  std::ostringstream out;
  FakeClock clock;
  ProgressBar bar(out, true, 100, clock.Function());
  bar.Clear();
  EXPECT_EQ(out.str(), "");
  bar.Update(Progress(0, 1, 0, 1, "a"));
  out.str("");
  bar.Clear();
  EXPECT_EQ(out.str(), "\r\x1b[K");
  bar.Clear();
  EXPECT_EQ(out.str(), "\r\x1b[K");
}

TEST(ProgressBarTest, DisabledBarWritesNothing) {
  std::ostringstream out;
  int clock_reads = 0;
  ProgressBar bar(out, false, 100, [&clock_reads] {
    ++clock_reads;
    return ProgressBar::Clock::time_point{};
  });
  bar.Update(Progress(0, 1, 0, 1, "a"));
  bar.Clear();
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(clock_reads, 0);
}

}  // namespace
}  // namespace tavrin::cli
