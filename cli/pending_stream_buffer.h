#pragma once

#include <cstddef>
#include <streambuf>
#include <string>

namespace tavrin::cli {

// A stream buffer that gathers text and hands it to Flush in pieces of about kFlushSize bytes,
// and on every flush of the stream. Flush writes (some of) `pending_` and says whether that
// worked; a failed flush makes the stream fail.
class PendingStreamBuffer : public std::streambuf {
 protected:
  static constexpr std::size_t kFlushSize = 8192;

  virtual bool Flush() = 0;

  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_ += traits_type::to_char_type(c);
    if (pending_.size() >= kFlushSize && !Flush()) return traits_type::eof();
    return c;
  }

  std::streamsize xsputn(const char* bytes, std::streamsize count) override {
    pending_.append(bytes, static_cast<std::size_t>(count));
    if (pending_.size() >= kFlushSize && !Flush()) return 0;
    return count;
  }

  int sync() override { return Flush() ? 0 : -1; }

  std::string pending_;
};

}  // namespace tavrin::cli
