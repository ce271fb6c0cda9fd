#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/file_services.h"

namespace tavrin {

// The reading rules of InputFile over a platform's plain read: at most the size the file had
// when it was opened, then one more read that must find the end. Each platform gives ReadSome.
class BoundedInputFile : public InputFile {
 public:
  explicit BoundedInputFile(std::uint64_t size) : size_(size), left_(size) {}

  Status Read(char* buffer, std::size_t capacity, std::size_t* got) final;
  std::uint64_t size() const final { return size_; }

 protected:
  // One plain read of up to `capacity` bytes; `*got` 0 at the end. Fails instead of blocking.
  virtual Status ReadSome(char* buffer, std::size_t capacity, std::size_t* got) = 0;

  // Bytes still due before the end; a platform copy that moved bytes itself takes them off.
  std::uint64_t left() const { return left_; }
  void Consumed(std::uint64_t bytes) { left_ -= bytes; }

 private:
  std::uint64_t size_;
  std::uint64_t left_;
  bool end_checked_ = false;
};

}  // namespace tavrin
