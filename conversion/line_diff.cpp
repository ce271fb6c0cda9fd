#include "conversion/line_diff.h"

#include <algorithm>

#include "runtime/shown_text.h"

namespace tavrin {
namespace {

constexpr std::size_t kHalf = 2048;  // of a changed long line: shown before and from its change

std::string Shown(const std::string& text, const LineSplitter::Whole& whole) {
  std::string shown = ShownLine(text);
  if (whole.size > text.size()) shown += " …";
  return shown;
}

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Bytes cut out of a line, without the pieces of characters the cuts left at either end.
std::string_view WholeCharacters(std::string_view bytes, bool cut_before, bool cut_after) {
  if (cut_before) {
    for (int i = 0; i < 3 && !bytes.empty() && IsContinuation(bytes.front()); ++i) bytes.remove_prefix(1);
  }
  if (cut_after) {
    // The last character that starts within four bytes of the end; dropped when it is incomplete.
    for (std::size_t back = 1; back <= 4 && back <= bytes.size(); ++back) {
      const std::size_t start = bytes.size() - back;
      if (IsContinuation(bytes[start])) continue;
      if (static_cast<unsigned char>(bytes[start]) >= 0xC0 && Utf8SequenceLength(bytes.substr(start)) == 0) {
        bytes = bytes.substr(0, start);
      }
      break;
    }
  }
  return bytes;
}

}  // namespace

void LineDiff::FirstDifference::Old(std::string_view bytes) {
  old_.pending.append(bytes);
  Step();
}

void LineDiff::FirstDifference::New(std::string_view bytes) {
  new_.pending.append(bytes);
  Step();
}

void LineDiff::FirstDifference::Finish() {
  old_.ended = new_.ended = true;
  Step();
}

bool LineDiff::FirstDifference::Take(std::uint64_t number, View* view) {
  const auto found = views_.find(number);
  if (found == views_.end()) return false;
  *view = std::move(found->second);
  views_.erase(found);
  return true;
}

LineDiff::FirstDifference::Token LineDiff::FirstDifference::Next(Side& side, char* byte) {
  if (side.done) return Token::kNone;
  if (side.held == Token::kNone) {
    while (side.offset < side.pending.size()) {
      const char c = side.pending[side.offset];
      if (side.after_cr) {
        side.after_cr = false;
        if (c == '\n') {  // the LF of a CR LF
          ++side.offset;
          continue;
        }
      }
      ++side.offset;
      if (c == '\r' || c == '\n') {
        side.after_cr = c == '\r';
        side.held = Token::kEnd;
        break;
      }
      side.held_byte = c;
      side.held = Token::kByte;
      break;
    }
    if (side.held == Token::kNone && side.ended && side.open) side.held = Token::kEnd;  // a last line without end
    if (side.offset == side.pending.size()) {
      side.pending.clear();
      side.offset = 0;
    }
  }
  *byte = side.held_byte;
  return side.held;
}

void LineDiff::FirstDifference::Consume(Side& side) {
  if (side.held == Token::kEnd) {
    side.done = true;
  } else if (side.held == Token::kByte) {
    side.open = true;
  }
  side.held = Token::kNone;
}

void LineDiff::FirstDifference::Keep(std::string_view bytes) {
  before_.append(bytes);
  if (before_.size() >= 2 * kHalf) {  // keeps the last kHalf bytes at a cost of O(1) per byte
    before_.erase(0, before_.size() - kHalf);
    cut_before_ = true;
  }
}

void LineDiff::FirstDifference::Step() {
  char a = 0;
  char b = 0;
  for (;;) {
    if (!differs_) {
      // Common bytes in bulk, up to a line end or the end of what either side has.
      if (old_.held == Token::kNone && new_.held == Token::kNone && !old_.after_cr && !new_.after_cr &&
          !old_.done && !new_.done) {
        const std::size_t most = std::min(old_.pending.size() - old_.offset, new_.pending.size() - new_.offset);
        const char* x = old_.pending.data() + old_.offset;
        const char* y = new_.pending.data() + new_.offset;
        std::size_t k = 0;
        while (k < most && x[k] == y[k] && x[k] != '\r' && x[k] != '\n') ++k;
        if (k > 0) {
          Keep(std::string_view(x, k));
          old_.offset += k;
          new_.offset += k;
          old_.open = new_.open = true;
        }
      }
      const Token o = Next(old_, &a);
      const Token n = Next(new_, &b);
      if (o == Token::kNone || n == Token::kNone) return;
      Consume(old_);
      Consume(new_);
      if (o == Token::kByte && n == Token::kByte && a == b) {
        Keep(std::string_view(&a, 1));
        continue;
      }
      if (o == Token::kEnd && n == Token::kEnd) {
        EndLine();
        continue;
      }
      differs_ = true;
      if (o == Token::kByte) old_.after.push_back(a);
      if (n == Token::kByte) new_.after.push_back(b);
      continue;
    }
    // Past the first difference each side reads on to its line end on its own.
    bool moved = false;
    for (Side* side : {&old_, &new_}) {
      if (side->done) continue;
      if (side->held == Token::kNone && !side->after_cr) {
        const std::size_t stop = std::min(side->pending.find_first_of("\r\n", side->offset), side->pending.size());
        const std::size_t length = stop - side->offset;
        if (length > 0) {
          const std::size_t room = kHalf - std::min(kHalf, side->after.size());
          side->after.append(side->pending, side->offset, std::min(room, length));
          side->cut_after = side->cut_after || length > room;
          side->offset = stop;
          side->open = true;
          moved = true;
        }
      }
      char c = 0;
      const Token t = Next(*side, &c);
      if (t == Token::kNone) continue;
      Consume(*side);
      moved = true;
      if (t == Token::kByte) {
        if (side->after.size() < kHalf) {
          side->after.push_back(c);
        } else {
          side->cut_after = true;
        }
      }
    }
    if (old_.done && new_.done) {
      EndLine();
      continue;
    }
    if (!moved) return;
  }
}

void LineDiff::FirstDifference::EndLine() {
  ++number_;
  if (differs_) {
    View view;
    const std::string_view before = std::string_view(before_).substr(before_.size() - std::min(before_.size(), kHalf));
    view.cut_before = cut_before_ || before.size() < before_.size();
    view.old_text.append(before).append(old_.after);
    view.new_text.append(before).append(new_.after);
    view.old_cut_after = old_.cut_after;
    view.new_cut_after = new_.cut_after;
    views_[number_] = std::move(view);
  }
  before_.clear();
  cut_before_ = false;
  differs_ = false;
  for (Side* side : {&old_, &new_}) {
    side->done = false;
    side->open = false;
    side->after.clear();
    side->cut_after = false;
  }
}

std::string LineDiff::ShownChange(const Line& line, const std::string* around, bool cut_before, bool cut_after) {
  if (around == nullptr) return Shown(line.text, line.whole);
  return (cut_before ? "… " : "") + ShownLine(WholeCharacters(*around, cut_before, cut_after)) +
         (cut_after ? " …" : "");
}

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
  difference_.New(bytes);  // before the splitter, so the view is there when the line is paired
  new_splitter_.Feed(bytes);
  return next_.Append(bytes);
}

void LineDiff::Old(std::string_view bytes) {
  difference_.Old(bytes);
  old_splitter_.Feed(bytes);
}

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
    // A line longer than can be shown is shown around its first change.
    FirstDifference::View view;
    const bool around = difference_.Take(old_line.number, &view) &&
                        (old_line.whole.size > kShownLine || new_line.whole.size > kShownLine);
    removed_ += "-" + ShownChange(old_line, around ? &view.old_text : nullptr, view.cut_before, view.old_cut_after) + "\n";
    if (drop) {
      ++hunk_dropped_;
    } else {
      added_ += "+" + ShownChange(new_line, around ? &view.new_text : nullptr, view.cut_before, view.new_cut_after) + "\n";
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
  difference_.Finish();
  old_splitter_.Finish();
  new_splitter_.Finish();
  Pair();
  if (in_hunk_) CloseHunk();
  return diff_.empty() ? std::string() : header_ + diff_;
}

}  // namespace tavrin
