#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/file_services.h"
#include "runtime/status.h"

namespace tavrin {

// Reads a text file line by line. CR LF, a lone LF and a lone CR each end a line; every other
// byte (NUL and bytes >= 0x80 included) belongs to the line. A last line without a line end is
// a line; an empty file has none. Memory is bounded by the buffer and the longest line.
class LineReader {
 public:
  explicit LineReader(InputFile& input, std::size_t buffer_size = 64 * 1024);

  // True when every line has been read, or after a read error (see status()).
  bool AtEnd();

  // The next line without its line end. The view stays valid until the next call.
  // Returns false at the end of the file or on a read error.
  bool Next(std::string_view* line);

  // The next run of whole lines with their line ends as they stand in the file (a last line
  // without a line end included): at least one line, as many as the buffer holds. For callers
  // that handle many lines at once. The view stays valid until the next call. Returns false at
  // the end of the file or on a read error.
  bool NextLines(std::string_view* lines);

  // Bytes consumed so far, line ends included.
  std::uint64_t bytes_read() const { return bytes_read_; }

  const Status& status() const { return status_; }

 private:
  bool Fill();  // Appends more input behind the unread part; false at end or on error.

  InputFile& input_;
  std::string buffer_;
  std::size_t begin_ = 0;  // first unread byte in buffer_
  std::size_t end_ = 0;    // one past the last valid byte in buffer_
  std::size_t chunk_;
  bool eof_ = false;
  std::uint64_t bytes_read_ = 0;
  Status status_;
};

}  // namespace tavrin
