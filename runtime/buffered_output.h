#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/file_services.h"
#include "runtime/status.h"
#include "runtime/text_sink.h"

namespace tavrin {

// Collects small writes into large ones. After the first failure every call fails with the
// same status and nothing more is written.
class BufferedOutput : public TextSink {
 public:
  explicit BufferedOutput(OutputFile& output, std::size_t buffer_size = 64 * 1024);

  Status Append(std::string_view bytes) override;
  // Writes what is buffered and closes the file; the status of the whole file.
  Status Close();

 private:
  Status Flush();

  OutputFile& output_;
  std::string buffer_;
  std::size_t capacity_;
  Status status_;
};

}  // namespace tavrin
