#include "cli/progress_bar.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>

#include "runtime/path_text.h"
#include "runtime/shown_text.h"

namespace tavrin::cli {
namespace {

constexpr int kBarCells = 20;
constexpr int kNarrowest = 20;  // below this, the bar graphic is left out

// "12,3" megabytes with one decimal and a decimal comma.
std::string Megabytes(std::uint64_t bytes) {
  const std::uint64_t tenths = (bytes * 10 + 524288) / 1048576;
  return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
}

// Appends `name`, shown escaped (control bytes would move the cursor), cut to `room` columns
// at a character boundary; a cut name ends in "...".
void AppendName(std::string& line, std::string_view raw_name, int room) {
  if (room <= 0) return;
  const std::string shown = ShownText(raw_name);
  const std::string_view name = shown;
  const bool cut = CharacterCount(name) > static_cast<std::size_t>(room);
  const int keep = cut ? std::max(0, room - 3) : room;
  int used = 0;
  std::size_t end = 0;
  while (end < name.size()) {
    const unsigned char c = static_cast<unsigned char>(name[end]);
    if ((c & 0xC0) != 0x80) {
      if (used == keep) break;
      ++used;
    }
    ++end;
  }
  line.append(name.substr(0, end));
  if (cut) line.append(std::string(static_cast<std::size_t>(std::min(3, room)), '.'));
}

}  // namespace

ProgressBar::ProgressBar(std::ostream& out, bool enabled, int columns,
                         std::function<Clock::time_point()> now, std::chrono::milliseconds interval)
    : out_(out), enabled_(enabled), columns_(columns), now_(std::move(now)), interval_(interval) {}

void ProgressBar::Update(const PassProgress& progress) {
  if (!enabled_) return;
  const Clock::time_point now = now_();
  if (drawn_once_ && now - last_draw_ < interval_) return;
  drawn_once_ = true;
  last_draw_ = now;
  // Return to the line start, draw, and erase what a longer earlier line left behind.
  out_ << ('\r' + Render(progress, columns_) + "\x1b[K") << std::flush;
  shown_ = true;
}

void ProgressBar::Clear() {
  if (!shown_) return;
  out_ << "\r\x1b[K" << std::flush;
  shown_ = false;
}

std::string ProgressBar::Render(const PassProgress& progress, int columns) {
  const int width = std::max(1, columns - 1);
  // The share done: by bytes, or by files for a project of empty files.
  std::uint64_t permille = 1000;
  if (progress.bytes_total > 0) {
    permille = std::min<std::uint64_t>(1000, progress.bytes_done * 1000 / progress.bytes_total);
  } else if (progress.files_total > 0) {
    permille = std::min<std::uint64_t>(1000, progress.files_done * 1000 / progress.files_total);
  }
  std::string line;
  if (width >= kNarrowest + kBarCells) {
    const int full = static_cast<int>(permille * kBarCells / 1000);
    line += '[';
    line.append(static_cast<std::size_t>(full), '#');
    line.append(static_cast<std::size_t>(kBarCells - full), '-');
    line += "] ";
  }
  std::string percent = std::to_string(permille / 10) + "%";
  line += std::string(percent.size() < 4 ? 4 - percent.size() : 0, ' ') + percent;
  line += "  " + std::to_string(progress.files_done) + "/" + std::to_string(progress.files_total) +
          " Dateien  " + Megabytes(progress.bytes_done) + "/" + Megabytes(progress.bytes_total) + " MB";
  if (!progress.current.empty()) line += "  ";

  if (static_cast<int>(line.size()) > width) {
    line.resize(static_cast<std::size_t>(width));  // plain ASCII up to here
    return line;
  }
  AppendName(line, PathText(progress.current), width - static_cast<int>(line.size()));
  return line;
}

}  // namespace tavrin::cli
