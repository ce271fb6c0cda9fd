#include "runtime/buffered_output.h"

#include <algorithm>

namespace tavrin {

BufferedOutput::BufferedOutput(OutputFile& output, std::size_t buffer_size)
    : output_(output), capacity_(std::max<std::size_t>(buffer_size, 1)) {
  buffer_.reserve(capacity_);
}

Status BufferedOutput::Append(std::string_view bytes) {
  if (!status_.ok()) return status_;
  if (buffer_.size() + bytes.size() > capacity_ && !Flush().ok()) return status_;
  // A large piece goes out at once, without a copy, when nothing waits before it.
  if (buffer_.empty() && bytes.size() >= capacity_ / 2) {
    status_ = output_.Write(bytes);
    return status_;
  }
  buffer_.append(bytes);
  return status_;
}

Status BufferedOutput::Flush() {
  if (!status_.ok() || buffer_.empty()) return status_;
  status_ = output_.Write(buffer_);
  buffer_.clear();
  return status_;
}

Status BufferedOutput::Close() {
  Flush();
  // The file is closed also after a failure, so that it does not stay open; the first
  // failure remains the answer.
  const Status closed = output_.Close();
  if (status_.ok()) status_ = closed;
  return status_;
}

}  // namespace tavrin
