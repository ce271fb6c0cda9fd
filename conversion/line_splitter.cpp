#include "conversion/line_splitter.h"

#include <algorithm>

namespace tavrin {

void LineSplitter::Feed(std::string_view bytes) {
  std::size_t i = 0;
  if (after_cr_ && !bytes.empty() && bytes[0] == '\n') i = 1;  // the LF of a CR LF
  after_cr_ = false;
  while (i < bytes.size()) {
    const std::size_t stop = bytes.find_first_of("\r\n", i);
    const std::size_t text_end = stop == std::string_view::npos ? bytes.size() : stop;
    if (text_end > i) {
      open_ = true;
      const std::size_t room = longest_ - std::min(longest_, current_.size());
      current_.append(bytes.substr(i, std::min(room, text_end - i)));
      whole_.size += text_end - i;
      for (std::size_t k = i; k < text_end; ++k) {
        whole_.hash = (whole_.hash ^ static_cast<unsigned char>(bytes[k])) * 0x100000001b3ull;
      }
    }
    if (stop == std::string_view::npos) return;
    End();
    i = stop + 1;
    if (bytes[stop] == '\r') {
      if (i == bytes.size()) {
        after_cr_ = true;
      } else if (bytes[i] == '\n') {
        ++i;
      }
    }
  }
}

void LineSplitter::Finish() {
  if (open_) End();
}

void LineSplitter::End() {
  line_(++number_, current_, whole_);
  current_.clear();
  whole_ = Whole();
  open_ = false;
}

}  // namespace tavrin
