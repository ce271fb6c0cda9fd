#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/folder_path.h"
#include "runtime/text_sink.h"

namespace tavrin {

// An "Object=" line of a project file names a control library by its class id and version:
// "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX".
struct ObjectReference {
  std::string class_id;  // with its braces, letters in upper case
  std::string version;   // between the first two "#", "" when there is none
};

// The library an "Object=" line names (the key in any letter case, blanks around it ignored),
// or nothing for any other line and for a value that does not start with a class id in braces.
std::optional<ObjectReference> ParseObjectLine(std::string_view line);

// True for a project file (.vbp, by the name's last suffix in any letter case).
bool IsProjectFileName(const NativeString& relative);

// Drops, from a project file's rewritten text on its way to `next`, every "Object=" line whose
// class id an earlier "Object=" line of the same text already named: the project keeps its first
// reference to each library. The text must come as the rewriter writes it, every line ended by
// LF. Only a line that starts with "Object" is held back, and only up to kMostHeld bytes (its
// line end included): a longer one passes unchanged. The first kMostClassIds libraries are
// remembered; a line naming a library beyond them passes.
class DuplicateReferenceFilter : public TextSink {
 public:
  static constexpr std::size_t kMostHeld = 4096;
  static constexpr std::size_t kMostClassIds = 1000;

  // `dropped` is told the number of each line as it is dropped (before the next line passes).
  explicit DuplicateReferenceFilter(TextSink& next, std::function<void(std::uint64_t line)> dropped = {});

  Status Append(std::string_view bytes) override;
  // The text has ended: a last line held back is decided and passed on.
  Status Finish();
  // How many lines were dropped.
  std::uint64_t dropped() const { return dropped_; }

 private:
  enum class State { kLineStart, kHolding, kPassing };
  Status Pass(std::string_view bytes);
  // The held line has ended (or the text): keeps or drops it.
  Status Decide();
  void Remember(std::string_view line);

  TextSink& next_;
  std::function<void(std::uint64_t)> on_dropped_;
  State state_ = State::kLineStart;
  std::string held_;  // the start of the current line while it may be an "Object=" line
  std::uint64_t line_ = 1;
  std::set<std::string> class_ids_;
  std::uint64_t dropped_ = 0;
  Status status_;
};

}  // namespace tavrin
