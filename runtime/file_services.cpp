#include "runtime/file_services.h"

#include <memory>

namespace tavrin {

Status InputFile::CopyTo(OutputFile& output) {
  constexpr std::size_t kBufferSize = 256 * 1024;
  // Not cleared first: only the bytes read are written.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
  for (;;) {
    std::size_t got = 0;
    Status status = Read(buffer.get(), kBufferSize, &got);
    if (!status.ok() || got == 0) return status;
    status = output.Write(std::string_view(buffer.get(), got));
    if (!status.ok()) return status;
  }
}

}  // namespace tavrin
