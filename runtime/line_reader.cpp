#include "runtime/line_reader.h"

#include <string.h>  // memrchr

#include <algorithm>
#include <cstring>
#include <functional>

namespace tavrin {
namespace {

// First CR or LF in [from, to), or `to`. Most bytes of a text are neither, and both line end
// bytes are at most '\r', so one comparison rejects nearly every byte.
const char* FindLineEnd(const char* from, const char* to) {
  for (; from != to; ++from) {
    const unsigned char c = static_cast<unsigned char>(*from);
    if (c <= '\r' && (c == '\r' || c == '\n')) return from;
  }
  return to;
}

// Length of the whole lines at the start of [from, from + size): up to and including the last
// CR or LF. A CR that is the last byte counts only when `final`, since an LF may follow it.
std::size_t WholeLines(const char* from, std::size_t size, bool final) {
  std::size_t known = size;
  if (!final && known > 0 && from[known - 1] == '\r') --known;
  const void* lf = memrchr(from, '\n', known);
  const void* cr = memrchr(from, '\r', known);
  const char* last = static_cast<const char*>(std::max(lf, cr, std::less<const void*>()));
  return last == nullptr ? 0 : static_cast<std::size_t>(last - from) + 1;
}

}  // namespace

LineReader::LineReader(InputFile& input, std::size_t buffer_size)
    : input_(input), chunk_(std::max<std::size_t>(buffer_size, 1)) {}

bool LineReader::Fill() {
  if (eof_ || !status_.ok()) return false;
  // The unread part is at most one unfinished line; it moves to the front, and the buffer
  // grows only when that line alone fills it.
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (buffer_.size() < chunk_) {
    buffer_.resize(chunk_);
  } else if (end_ == buffer_.size()) {
    buffer_.resize(buffer_.size() * 2);
  }
  std::size_t got = 0;
  status_ = input_.Read(buffer_.data() + end_, buffer_.size() - end_, &got);
  if (!status_.ok()) return false;
  if (got == 0) {
    eof_ = true;
    return false;
  }
  end_ += got;
  return true;
}

bool LineReader::AtEnd() {
  if (!status_.ok()) return true;
  if (begin_ < end_) return false;
  Fill();
  return begin_ == end_;
}

bool LineReader::Next(std::string_view* line) {
  if (!status_.ok()) return false;
  std::size_t scanned = 0;  // bytes of the unread part known to hold no line end
  for (;;) {
    const char* data = buffer_.data();
    const char* stop = FindLineEnd(data + begin_ + scanned, data + end_);
    if (stop != data + end_) {
      const std::size_t line_end = static_cast<std::size_t>(stop - data);
      std::size_t next = line_end + 1;
      if (*stop == '\r') {
        if (next == end_ && !eof_) {
          // A CR at the end of the buffer: whether an LF follows decides the next read.
          scanned = line_end - begin_;
          if (!Fill() && !status_.ok()) return false;
          continue;
        }
        if (next < end_ && data[next] == '\n') ++next;
      }
      *line = std::string_view(data + begin_, line_end - begin_);
      bytes_read_ += next - begin_;
      begin_ = next;
      return true;
    }
    scanned = end_ - begin_;
    if (!Fill()) {
      if (!status_.ok()) return false;
      if (begin_ == end_) return false;
      // The last line has no line end.
      *line = std::string_view(buffer_.data() + begin_, end_ - begin_);
      bytes_read_ += end_ - begin_;
      begin_ = end_;
      return true;
    }
  }
}

}  // namespace tavrin

namespace tavrin {

bool LineReader::NextLines(std::string_view* lines) {
  for (;;) {
    if (!status_.ok()) return false;
    const std::size_t unread = end_ - begin_;
    std::size_t whole = WholeLines(buffer_.data() + begin_, unread, eof_);
    if (whole == 0 && eof_) whole = unread;  // the last line has no line end
    if (whole > 0) {
      *lines = std::string_view(buffer_.data() + begin_, whole);
      begin_ += whole;
      bytes_read_ += whole;
      return true;
    }
    if (eof_) return false;
    Fill();  // at the end or on an error the next round decides
  }
}

}  // namespace tavrin
