#pragma once

#include <string_view>

#include "runtime/status.h"

namespace tavrin {

// Where rewritten text goes, piece by piece: a file through a buffer, or something that looks
// at the text on its way there.
class TextSink {
 public:
  virtual ~TextSink() = default;
  // Takes all of `bytes` or fails; after a failure every call fails the same way.
  virtual Status Append(std::string_view bytes) = 0;
};

}  // namespace tavrin
