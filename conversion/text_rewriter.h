#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/key_table.h"
#include "conversion/opening_filter.h"
#include "runtime/text_sink.h"
#include "runtime/status.h"

namespace tavrin {

// Rewrites one project text as it streams past: every line through the key table and ended by
// CR LF (a CR LF, a lone LF and a lone CR each end a line; a last line without a line end gets
// one). The text may come in pieces of any size, and a line may be longer than any piece:
// memory stays bounded whatever the input, and the result is the same as if each whole line
// had been rewritten at once.
// A text for a rewriter to look out for (a class id the key table leaves standing); `kind` is
// the caller's.
struct WatchedText {
  std::string text;
  int kind = 0;
};

// Who watches a rewriter at work.
struct RewriterObservers {
  // Called with the number of every line (from 1) before its first byte is written. Without
  // it, lines that stay as they are are not looked at.
  std::function<void(std::uint64_t line)> line_start;
  const std::vector<WatchedText>* watched = nullptr;
  // Called for every watched text that stands in the text, with the number of its line.
  std::function<void(int kind, std::uint64_t line, std::string_view text)> found;
};

class TextRewriter {
 public:
  using Watched = WatchedText;
  using Observers = RewriterObservers;

  // `keys`, `filter` and the watched texts must outlive the rewriter; `filter` is made from
  // `keys` and the watched texts (OpeningsOf).
  TextRewriter(const KeyTable& keys, const OpeningFilter& filter, TextSink& output, Observers observers = {});

  // Rewrites [data, data + size) and returns how many bytes it took. The bytes not taken (a
  // few at most, where the bytes still to come decide whether an old text stands there) must
  // be given again at the start of the next call, followed by more text. With `final` no more
  // text follows, and everything is taken. After a failed write nothing more is written and
  // everything is taken; status() says why.
  std::size_t Rewrite(const char* data, std::size_t size, bool final);

  // The most bytes a call can leave untaken.
  std::size_t most_untaken() const { return most_untaken_; }

  const Status& status() const { return status_; }
  std::uint64_t lines_changed() const { return lines_changed_; }
  // True when a line end was written other than it stood (a lone LF or CR, a last line
  // without one).
  bool line_ends_changed() const { return line_ends_changed_; }
  const KeyTable::Counts& replacements() const { return replacements_; }

  // How the old texts of `keys` and the watched texts begin, for the OpeningFilter of a rewriter.
  static std::vector<OpeningFilter::Opening> OpeningsOf(const KeyTable& keys,
                                                        const std::vector<Watched>* watched = nullptr);

 private:
  enum class Match { kNone, kFound, kNeedMore };

  // Whether row `index` replaces the text at `at`; [data, end) is the text at hand. When it
  // does, `*length` is the length of the text replaced and `*versioned` tells whether a
  // version suffix goes with it (a trailing run of hex digits may go on past `end`).
  Match MatchRow(int index, const char* data, const char* at, const char* end, bool final, std::size_t* length,
                 bool* versioned) const;
  // True when the `count` bytes before `at` are `expected`, taking earlier bytes from history_.
  bool Preceded(const char* data, const char* at, std::string_view expected) const;
  void Emit(std::string_view bytes);
  void EmitLineEnd(std::string_view bytes);
  // Looks for a watched text at `at`; false when more text is needed to tell.
  bool Watch(const char* at, const char* end, bool final);
  // The line ends before `at` (in this piece, from the last place asked on, and before it).
  std::uint64_t LineEndsBefore(const char* at);
  void CountChange(const char* at, const char* after);
  void Remember(const char* data, std::size_t taken);

  static constexpr std::size_t kMostLookBehind = 16;
  // The longest run of hex digits in the major or minor part of a version suffix; a longer
  // run is no version (no installation writes one).
  static constexpr std::size_t kMostVersionDigits = 4096;

  const KeyTable& keys_;
  const OpeningFilter& filter_;
  TextSink& output_;
  std::function<void(std::uint64_t)> line_start_;
  const std::vector<Watched>* watched_;
  std::function<void(int, std::uint64_t, std::string_view)> found_;
  std::array<std::vector<int>, 256> rows_by_first_byte_;
  std::array<bool, 256> watched_first_byte_{};
  std::size_t most_untaken_ = 0;

  Status status_;
  std::uint64_t line_ = 0;       // the line begun last, with line captions
  // Without line captions, line numbers are worked out only where a watched text stands: the
  // line ends before the piece at hand, and the lone CRs met in it so far; its LFs are counted
  // once, up to the last place asked about.
  std::uint64_t line_ends_ = 0;
  std::uint64_t lone_crs_here_ = 0;
  const char* lfs_counted_to_ = nullptr;
  std::uint64_t lfs_here_ = 0;
  bool line_ends_changed_ = false;
  bool at_line_start_ = true;   // the next byte begins a line
  bool pending_cr_ = false;     // the last byte taken is a CR whose LF may come next
  bool skipping_hex_ = false;   // the hex digits that follow belong to a replaced version suffix
  bool text_seen_ = false;      // any byte taken so far
  bool ends_with_line_end_ = false;
  bool line_counted_ = false;   // the line of the last replacement has been counted
  const char* unchecked_ = nullptr;  // from here on, no line end has been looked for since then
  std::array<char, kMostLookBehind> history_{};  // the last bytes taken, oldest first
  std::size_t history_size_ = 0;
  std::uint64_t lines_changed_ = 0;
  KeyTable::Counts replacements_{};
};

}  // namespace tavrin
