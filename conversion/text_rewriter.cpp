#include "conversion/text_rewriter.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tavrin {
namespace {

bool HoldsLineEnd(const char* from, const char* to) {
  const auto size = static_cast<std::size_t>(to - from);
  return size > 0 && (std::memchr(from, '\n', size) != nullptr || std::memchr(from, '\r', size) != nullptr);
}

}  // namespace

TextRewriter::TextRewriter(const KeyTable& keys, const OpeningFilter& filter, BufferedOutput& output,
                           LineStart line_start)
    : keys_(keys), filter_(filter), output_(output), line_start_(std::move(line_start)) {
  std::size_t longest_look = 1;
  for (int i = KeyTable::kLower; i <= KeyTable::kUpper; ++i) {
    const std::string_view old_key = keys.OldKey(i);
    rows_by_first_byte_[static_cast<unsigned char>(old_key[0])].push_back(i);
    longest_look = std::max(longest_look, old_key.size());
    // An occurrence inside its own new text is told by the bytes around it, up to the end of
    // that new text.
    for (std::size_t offset : keys.InsideNew(i)) {
      longest_look = std::max(longest_look, keys.NewKey(i).size() - offset);
    }
  }
  most_untaken_ = longest_look - 1;
}

std::vector<OpeningFilter::Opening> TextRewriter::OpeningsOf(const KeyTable& keys) {
  std::vector<OpeningFilter::Opening> openings;
  for (int i = KeyTable::kLower; i <= KeyTable::kUpper; ++i) openings.push_back({std::string(keys.OldKey(i)), false});
  return openings;
}

std::size_t TextRewriter::Rewrite(const char* data, std::size_t size, bool final) {
  if (!status_.ok()) return size;
  const char* const end = data + size;
  const bool every_line = static_cast<bool>(line_start_);
  const char* p = data;
  const char* out = data;  // [out, p) has been taken and goes out as it stands
  unchecked_ = data;

  if (pending_cr_ && p != end) {
    pending_cr_ = false;
    if (*p == '\n') {
      ++p;  // the LF of a CR LF that two pieces split
    } else {
      Emit("\n");  // the CR stood alone
    }
  }
  while (p != end && status_.ok()) {
    if (at_line_start_ && every_line) {
      line_start_(++line_);
      at_line_start_ = false;
    }
    const char* const stop = filter_.NextStop(p, end, every_line);
    if (stop == end) {
      p = end;
      break;
    }
    if (*stop == '\r' || *stop == '\n') {
      at_line_start_ = true;
      p = stop + 1;
      if (*stop == '\n') {  // a lone LF
        Emit(std::string_view(out, static_cast<std::size_t>(stop - out)));
        Emit("\r\n");
        out = p;
      } else if (p != end && *p == '\n') {
        ++p;
      } else if (p != end || final) {  // a lone CR
        Emit(std::string_view(out, static_cast<std::size_t>(p - out)));
        Emit("\n");
        out = p;
      } else {
        pending_cr_ = true;  // the next piece tells
      }
      continue;
    }
    Match match = Match::kNone;
    int row = 0;
    for (int index : rows_by_first_byte_[static_cast<unsigned char>(*stop)]) {
      match = MatchRow(index, data, stop, end, final);
      if (match != Match::kNone) {
        row = index;
        break;
      }
    }
    if (match == Match::kNeedMore) {
      p = stop;
      break;
    }
    if (match == Match::kNone) {
      p = stop + 1;
      continue;
    }
    const char* const after = stop + keys_.OldKey(row).size();
    Emit(std::string_view(out, static_cast<std::size_t>(stop - out)));
    Emit(keys_.NewKey(row));
    ++replacements_[static_cast<std::size_t>(row)];
    CountChange(stop, after);
    out = p = after;
  }
  Emit(std::string_view(out, static_cast<std::size_t>(p - out)));
  if (!status_.ok()) return size;

  const auto taken = static_cast<std::size_t>(p - data);
  if (line_counted_ && HoldsLineEnd(unchecked_, p)) line_counted_ = false;
  if (taken > 0) {
    Remember(data, taken);
    text_seen_ = true;
    ends_with_line_end_ = p[-1] == '\r' || p[-1] == '\n';
  }
  if (final) {
    if (pending_cr_) {
      pending_cr_ = false;
      Emit("\n");
    } else if (text_seen_ && !ends_with_line_end_) {
      Emit("\r\n");  // the last line had no line end
    }
  }
  return status_.ok() ? taken : size;
}

TextRewriter::Match TextRewriter::MatchRow(int index, const char* data, const char* at, const char* end,
                                           bool final) const {
  const std::string_view old_key = keys_.OldKey(index);
  const auto available = static_cast<std::size_t>(end - at);
  const std::size_t compared = std::min(old_key.size(), available);
  if (std::memcmp(at, old_key.data(), compared) != 0) return Match::kNone;
  if (compared < old_key.size()) return final ? Match::kNone : Match::kNeedMore;

  // A piece of an already replaced text ("ComctlLib." in "MSComctlLib.") stays.
  const std::string_view new_key = keys_.NewKey(index);
  const char* const behind = at + old_key.size();
  for (std::size_t offset : keys_.InsideNew(index)) {
    if (!Preceded(data, at, new_key.substr(0, offset))) continue;
    const std::string_view rest = new_key.substr(offset + old_key.size());
    const std::size_t present = std::min(rest.size(), static_cast<std::size_t>(end - behind));
    if (std::memcmp(behind, rest.data(), present) != 0) continue;
    if (present < rest.size()) {
      if (final) continue;
      return Match::kNeedMore;
    }
    return Match::kNone;
  }
  return Match::kFound;
}

bool TextRewriter::Preceded(const char* data, const char* at, std::string_view expected) const {
  const auto here = static_cast<std::size_t>(at - data);
  const std::size_t in_data = std::min(here, expected.size());
  if (std::memcmp(at - in_data, expected.data() + expected.size() - in_data, in_data) != 0) return false;
  const std::size_t from_history = expected.size() - in_data;
  if (from_history == 0) return true;
  if (from_history > history_size_) return false;
  return std::memcmp(history_.data() + history_size_ - from_history, expected.data(), from_history) == 0;
}

void TextRewriter::Emit(std::string_view bytes) {
  if (!bytes.empty() && status_.ok()) status_ = output_.Append(bytes);
}

// Counts the line of a replacement at `at` unless an earlier replacement of the same line was
// counted: a line end between the two tells them apart.
void TextRewriter::CountChange(const char* at, const char* after) {
  if (!line_counted_ || HoldsLineEnd(unchecked_, at)) ++lines_changed_;
  line_counted_ = true;
  unchecked_ = after;
}

void TextRewriter::Remember(const char* data, std::size_t taken) {
  const std::size_t fresh = std::min(taken, kMostLookBehind);
  const std::size_t kept = std::min(history_size_, kMostLookBehind - fresh);
  std::memmove(history_.data(), history_.data() + history_size_ - kept, kept);
  std::memcpy(history_.data() + kept, data + taken - fresh, fresh);
  history_size_ = kept + fresh;
}

}  // namespace tavrin
