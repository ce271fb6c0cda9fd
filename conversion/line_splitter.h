#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tavrin {

// Cuts text that comes in pieces into lines the way the rewriter does (CR LF, a lone LF and a
// lone CR each end a line; a last line without a line end is a line) and hands each on whole,
// with its number. Only the first `longest` bytes of a line are kept; a longer line is handed on
// cut, so memory stays bounded. For looking at text on its way (project entries, differences),
// not for rewriting it.
class LineSplitter {
 public:
  // `text` is the kept start of the line; `size` and `hash` (FNV-1a) are of the whole line, so
  // two lines can be told apart also where they differ only beyond the kept part.
  struct Whole {
    std::uint64_t size = 0;
    std::uint64_t hash = 0xcbf29ce484222325ull;
  };
  using Line = std::function<void(std::uint64_t number, std::string_view text, const Whole& whole)>;

  LineSplitter(std::size_t longest, Line line) : longest_(longest), line_(std::move(line)) {}

  void Feed(std::string_view bytes);
  // The text has ended: a last line without line end is handed on.
  void Finish();

 private:
  void End();

  std::size_t longest_;
  Line line_;
  std::string current_;
  Whole whole_;
  bool open_ = false;      // a line has begun and not ended
  bool after_cr_ = false;  // the last byte was a CR, so an LF now ends nothing
  std::uint64_t number_ = 0;
};

}  // namespace tavrin
