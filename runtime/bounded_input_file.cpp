#include "runtime/bounded_input_file.h"

#include <algorithm>

#include "runtime/file_service_reasons.h"

namespace tavrin {

Status BoundedInputFile::Read(char* buffer, std::size_t capacity, std::size_t* got) {
  *got = 0;
  if (left_ > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(capacity, left_));
    Status status = ReadSome(buffer, want, got);
    if (!status.ok()) return status;
    if (*got == 0) return Status::Error(kSourceChanged);  // shorter than when opened
    left_ -= *got;
    return Status::Ok();
  }
  if (end_checked_) return Status::Ok();
  // The size is reached: the file must end here. The probe is a few bytes long, since some
  // pseudo-files refuse reads of odd sizes; any byte found means the file grew.
  char probe[64];
  std::size_t more = 0;
  Status status = ReadSome(probe, sizeof probe, &more);
  if (!status.ok()) return status;
  if (more != 0) return Status::Error(kSourceChanged);
  end_checked_ = true;
  return Status::Ok();
}

}  // namespace tavrin
