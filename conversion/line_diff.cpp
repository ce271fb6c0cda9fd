#include "conversion/line_diff.h"

#include "runtime/shown_text.h"

namespace tavrin {
namespace {

constexpr std::size_t kShownLine = 4096;

std::string Shown(const std::string& text, const LineSplitter::Whole& whole) {
  std::string shown = ShownLine(text);
  if (whole.size > text.size()) shown += " …";
  return shown;
}

}  // namespace

LineDiff::LineDiff(TextSink& next, std::string old_name, std::string new_name)
    : next_(next),
      header_("--- " + old_name + "\n+++ " + new_name + "\n"),
      old_splitter_(kShownLine,
                    [this](std::uint64_t number, std::string_view text, const LineSplitter::Whole& whole) {
                      old_lines_.push_back({number, std::string(text), whole});
                      Pair();
                    }),
      new_splitter_(kShownLine,
                    [this](std::uint64_t number, std::string_view text, const LineSplitter::Whole& whole) {
                      new_lines_.push_back({number, std::string(text), whole});
                      Pair();
                    }) {}

Status LineDiff::Append(std::string_view bytes) {
  new_splitter_.Feed(bytes);
  return next_.Append(bytes);
}

void LineDiff::Old(std::string_view bytes) { old_splitter_.Feed(bytes); }

void LineDiff::Dropped(std::uint64_t number) {
  dropped_.push_back(number);
  Pair();
}

void LineDiff::Pair() {
  while (!old_lines_.empty()) {
    const bool drop = !dropped_.empty() && dropped_.front() == old_lines_.front().number;
    if (!drop && new_lines_.empty()) break;
    Line old_line = std::move(old_lines_.front());
    old_lines_.pop_front();
    Line new_line{};
    if (drop) {
      dropped_.pop_front();
    } else {
      new_line = std::move(new_lines_.front());
      new_lines_.pop_front();
    }
    const bool changed =
        drop || old_line.whole.size != new_line.whole.size || old_line.whole.hash != new_line.whole.hash;
    if (!changed) {
      Context(std::move(old_line));
      continue;
    }
    if (!in_hunk_) {
      in_hunk_ = true;
      hunk_start_ = old_line.number - before_.size();
      hunk_length_ = 0;
      hunk_dropped_ = 0;
      for (const Line& line : before_) AddContext(line);
    } else {
      // The unchanged lines beyond the trailing context, up to this change.
      const std::uint64_t missing = unchanged_run_ > kContext ? unchanged_run_ - kContext : 0;
      for (std::size_t i = before_.size() - missing; i < before_.size(); ++i) AddContext(before_[i]);
    }
    before_.clear();
    unchanged_run_ = 0;
    removed_ += "-" + Shown(old_line.text, old_line.whole) + "\n";
    if (drop) {
      ++hunk_dropped_;
    } else {
      added_ += "+" + Shown(new_line.text, new_line.whole) + "\n";
    }
    ++hunk_length_;
  }
}

// Unchanged lines are escaped only when a hunk shows them.
void LineDiff::Context(Line line) {
  FlushChanges();
  ++unchanged_run_;
  if (in_hunk_ && unchanged_run_ <= kContext) {
    AddContext(line);
    return;
  }
  before_.push_back(std::move(line));
  if (before_.size() > kContext) before_.pop_front();
  // More unchanged lines than two contexts: the next change starts a hunk of its own.
  if (in_hunk_ && unchanged_run_ == 2 * kContext + 1) CloseHunk();
}

void LineDiff::AddContext(const Line& line) {
  hunk_ += " " + Shown(line.text, line.whole) + "\n";
  ++hunk_length_;
}

void LineDiff::FlushChanges() {
  hunk_ += removed_;
  hunk_ += added_;
  removed_.clear();
  added_.clear();
}

void LineDiff::CloseHunk() {
  FlushChanges();
  // Trailing context beyond three lines was only kept for a following change.
  // Dropped lines move the new side's lines up.
  diff_ += "@@ -" + std::to_string(hunk_start_) + "," + std::to_string(hunk_length_) + " +" +
           std::to_string(hunk_start_ - dropped_before_) + "," + std::to_string(hunk_length_ - hunk_dropped_) +
           " @@\n" + hunk_;
  dropped_before_ += hunk_dropped_;
  hunk_dropped_ = 0;
  hunk_.clear();
  in_hunk_ = false;
}

std::string LineDiff::Finish() {
  old_splitter_.Finish();
  new_splitter_.Finish();
  Pair();
  if (in_hunk_) CloseHunk();
  return diff_.empty() ? std::string() : header_ + diff_;
}

}  // namespace tavrin
