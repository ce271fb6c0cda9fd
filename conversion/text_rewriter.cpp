#include "conversion/text_rewriter.h"

#include <algorithm>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "runtime/letter_case.h"

namespace tavrin {
namespace {

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// [a, a + size) equals [b, b + size), with ASCII letters in any case when `any_case`.
bool SameBytes(const char* a, const char* b, std::size_t size, bool any_case) {
  if (!any_case) return std::memcmp(a, b, size) == 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// Up to `most` hex digits from `p`; where they stop.
const char* HexRun(const char* p, const char* end, std::size_t most) {
  const char* const stop = p + std::min(most, static_cast<std::size_t>(end - p));
  while (p != stop && IsHex(*p)) ++p;
  return p;
}

// The LF bytes in [from, to).
std::uint64_t LineFeeds(const char* from, const char* to) {
  std::uint64_t count = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  auto at = [](const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
  while (to - from >= 64) {  // byte counters of 63 steps of 4 at most, then summed up
    __m128i counters = _mm_setzero_si128();
    for (int step = 0; step < 63 && to - from >= 64; ++step, from += 64) {
      const __m128i pair = _mm_add_epi8(_mm_cmpeq_epi8(at(from), lf), _mm_cmpeq_epi8(at(from + 16), lf));
      const __m128i other = _mm_add_epi8(_mm_cmpeq_epi8(at(from + 32), lf), _mm_cmpeq_epi8(at(from + 48), lf));
      counters = _mm_sub_epi8(counters, _mm_add_epi8(pair, other));
    }
    const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
    count += static_cast<std::uint64_t>(_mm_cvtsi128_si32(sums)) +
             static_cast<std::uint64_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
  }
#endif
  for (; from != to; ++from) count += *from == '\n' ? 1 : 0;
  return count;
}

bool HoldsLineEnd(const char* from, const char* to) {
  const auto size = static_cast<std::size_t>(to - from);
  return size > 0 && (std::memchr(from, '\n', size) != nullptr || std::memchr(from, '\r', size) != nullptr);
}

}  // namespace

TextRewriter::TextRewriter(const KeyTable& keys, const OpeningFilter& filter, TextSink& output,
                           Observers observers)
    : keys_(keys),
      filter_(filter),
      output_(output),
      line_start_(std::move(observers.line_start)),
      watched_(observers.watched),
      found_(std::move(observers.found)) {
  std::size_t longest_look = 1;
  for (int i = KeyTable::kLower; i <= keys.upper(); ++i) {
    const KeyTable::Row& row = keys.row(i);
    const std::string_view old_key = row.old_key;
    rows_by_first_byte_[static_cast<unsigned char>(old_key[0])].push_back(i);
    if (row.match == KeyTable::Match::kAnyCase) {
      const char lower = AsciiLower(old_key[0]);
      const char other = lower != old_key[0] ? lower : AsciiUpper(old_key[0]);
      if (other != old_key[0]) rows_by_first_byte_[static_cast<unsigned char>(other)].push_back(i);
    }
    longest_look = std::max(longest_look, old_key.size());
    // "#" major "." minor "#" and the first digit of the third part decide a version suffix.
    if (row.match == KeyTable::Match::kExactWithVersion) {
      longest_look = std::max(longest_look, old_key.size() + 2 * kMostVersionDigits + 4);
    }
    // An occurrence inside its own new text is told by the bytes around it, up to the end of
    // that new text.
    for (std::size_t offset : keys.InsideNew(i)) {
      longest_look = std::max(longest_look, keys.NewKey(i).size() - offset);
    }
  }
  if (watched_ != nullptr) {
    for (const Watched& watched : *watched_) {
      longest_look = std::max(longest_look, watched.text.size());
      if (!watched.text.empty()) watched_first_byte_[static_cast<unsigned char>(watched.text[0])] = true;
    }
  }
  most_untaken_ = longest_look - 1;
}

std::vector<OpeningFilter::Opening> TextRewriter::OpeningsOf(const KeyTable& keys, const std::vector<Watched>* watched) {
  std::vector<OpeningFilter::Opening> openings;
  for (int i = KeyTable::kLower; i <= keys.upper(); ++i) {
    openings.push_back({std::string(keys.OldKey(i)), keys.row(i).match == KeyTable::Match::kAnyCase});
  }
  if (watched != nullptr) {
    for (const Watched& text : *watched) openings.push_back({text.text, false});
  }
  return openings;
}

std::size_t TextRewriter::Rewrite(const char* data, std::size_t size, bool final) {
  if (!status_.ok()) return size;
  const char* const end = data + size;
  const bool every_line = static_cast<bool>(line_start_);
  const char* p = data;
  const char* out = data;  // [out, p) has been taken and goes out as it stands
  unchecked_ = data;
  lone_crs_here_ = 0;
  lfs_counted_to_ = data;
  lfs_here_ = 0;

  if (skipping_hex_) {
    while (p != end && IsHex(*p)) ++p;  // the rest of a replaced version suffix
    out = p;
    skipping_hex_ = p == end && !final;
  }
  if (pending_cr_ && p != end) {
    pending_cr_ = false;
    if (*p == '\n') {
      ++p;  // the LF of a CR LF that two pieces split
    } else {
      ++lone_crs_here_;
      EmitLineEnd("\n");  // the CR stood alone
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
        EmitLineEnd("\r\n");
        out = p;
      } else if (p != end && *p == '\n') {
        ++p;
      } else if (p != end || final) {  // a lone CR
        ++lone_crs_here_;
        Emit(std::string_view(out, static_cast<std::size_t>(p - out)));
        EmitLineEnd("\n");
        out = p;
      } else {
        pending_cr_ = true;  // the next piece tells
      }
      continue;
    }
    Match match = Match::kNone;
    int row = 0;
    std::size_t length = 0;
    bool versioned = false;
    for (int index : rows_by_first_byte_[static_cast<unsigned char>(*stop)]) {
      match = MatchRow(index, data, stop, end, final, &length, &versioned);
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
      if (!Watch(stop, end, final)) {
        p = stop;
        break;
      }
      p = stop + 1;
      continue;
    }
    const char* const after = stop + length;
    Emit(std::string_view(out, static_cast<std::size_t>(stop - out)));
    Emit(keys_.NewKey(row));
    if (versioned) {
      Emit(KeyTable::kNewVersion);
      skipping_hex_ = after == end && !final;  // the last part may go on in the next piece
    }
    ++replacements_[static_cast<std::size_t>(row)];
    CountChange(stop, after);
    out = p = after;
  }
  Emit(std::string_view(out, static_cast<std::size_t>(p - out)));
  if (!status_.ok()) return size;

  const auto taken = static_cast<std::size_t>(p - data);
  if (line_counted_ && HoldsLineEnd(unchecked_, p)) line_counted_ = false;
  if (watched_ != nullptr && !line_start_) line_ends_ = LineEndsBefore(p);
  if (taken > 0) {
    Remember(data, taken);
    text_seen_ = true;
    ends_with_line_end_ = p[-1] == '\r' || p[-1] == '\n';
  }
  if (final) {
    if (pending_cr_) {
      pending_cr_ = false;
      EmitLineEnd("\n");
    } else if (text_seen_ && !ends_with_line_end_) {
      EmitLineEnd("\r\n");  // the last line had no line end
    }
  }
  return status_.ok() ? taken : size;
}

TextRewriter::Match TextRewriter::MatchRow(int index, const char* data, const char* at, const char* end, bool final,
                                           std::size_t* length, bool* versioned) const {
  const KeyTable::Row& row = keys_.row(index);
  const std::string_view old_key = row.old_key;
  const auto available = static_cast<std::size_t>(end - at);
  const std::size_t compared = std::min(old_key.size(), available);
  if (!SameBytes(at, old_key.data(), compared, row.match == KeyTable::Match::kAnyCase)) return Match::kNone;
  if (compared < old_key.size()) return final ? Match::kNone : Match::kNeedMore;

  // A piece of an already replaced text ("ComctlLib." in "MSComctlLib.") stays.
  const std::string_view new_key = row.new_key;
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
  *length = old_key.size();
  *versioned = false;
  if (row.match != KeyTable::Match::kExactWithVersion) return Match::kFound;

  // "#" hex "." hex "#" hex right behind the id goes with it. Until that is decided, more
  // text may be needed; the digits of the last part after the first go with it as they come.
  const Match undecided = final ? Match::kFound : Match::kNeedMore;
  const char* p = behind;
  if (p == end) return undecided;
  if (*p++ != '#') return Match::kFound;
  for (char separator : {'.', '#'}) {
    const char* const digits = p;
    p = HexRun(p, end, kMostVersionDigits + 1);
    if (static_cast<std::size_t>(p - digits) > kMostVersionDigits) return Match::kFound;
    if (p == end) return undecided;
    if (p == digits) return Match::kFound;
    if (*p++ != separator) return Match::kFound;
  }
  if (p == end) return undecided;
  if (!IsHex(*p)) return Match::kFound;
  p = HexRun(p, end, static_cast<std::size_t>(end - p));
  *length = static_cast<std::size_t>(p - at);
  *versioned = true;
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

void TextRewriter::EmitLineEnd(std::string_view bytes) {
  line_ends_changed_ = true;
  Emit(bytes);
}

std::uint64_t TextRewriter::LineEndsBefore(const char* at) {
  lfs_here_ += LineFeeds(lfs_counted_to_, at);
  lfs_counted_to_ = at;
  return line_ends_ + lfs_here_ + lone_crs_here_;
}

bool TextRewriter::Watch(const char* at, const char* end, bool final) {
  if (watched_ == nullptr || !watched_first_byte_[static_cast<unsigned char>(*at)]) return true;
  for (const Watched& watched : *watched_) {
    const std::size_t present = std::min(watched.text.size(), static_cast<std::size_t>(end - at));
    if (std::memcmp(at, watched.text.data(), present) != 0) continue;
    if (present < watched.text.size()) {
      if (final) continue;
      return false;
    }
    if (found_) {
      found_(watched.kind, line_start_ ? line_ : LineEndsBefore(at) + 1, watched.text);
    }
    return true;
  }
  return true;
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
