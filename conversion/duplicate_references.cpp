#include "conversion/duplicate_references.h"

#include <algorithm>

#include "runtime/letter_case.h"
#include "runtime/path_text.h"

namespace tavrin {
namespace {

constexpr std::string_view kObjectKey = "object";

// True when `text` could still be, or is, the start of an "Object" key.
bool StartsLikeObjectKey(std::string_view text) {
  const std::size_t n = std::min(text.size(), kObjectKey.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (AsciiLower(text[i]) != kObjectKey[i]) return false;
  }
  return true;
}

std::string_view WithoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

std::optional<ObjectReference> ParseObjectLine(std::string_view line) {
  line = WithoutLineEnd(line);
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  std::string_view key = line.substr(0, equals);
  while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
  if (key.size() != kObjectKey.size() || !StartsLikeObjectKey(key)) return std::nullopt;
  std::string_view value = line.substr(equals + 1);
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  const std::size_t close = value.find('}');
  if (value.empty() || value.front() != '{' || close == std::string_view::npos) return std::nullopt;
  ObjectReference reference;
  for (char c : value.substr(0, close + 1)) reference.class_id.push_back(AsciiUpper(c));
  std::string_view rest = value.substr(close + 1);
  if (!rest.empty() && rest.front() == '#') {
    rest.remove_prefix(1);
    reference.version = std::string(rest.substr(0, rest.find_first_of("#;")));
  }
  return reference;
}

bool IsProjectFileName(const NativeString& relative) {
  const std::string name = PathText(FileNameFromPath(relative));
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || name.size() - dot != 4) return false;
  return AsciiLower(name[dot + 1]) == 'v' && AsciiLower(name[dot + 2]) == 'b' && AsciiLower(name[dot + 3]) == 'p';
}

DuplicateReferenceFilter::DuplicateReferenceFilter(TextSink& next, std::function<void(std::uint64_t line)> dropped)
    : next_(next), on_dropped_(std::move(dropped)) {}

Status DuplicateReferenceFilter::Pass(std::string_view bytes) {
  if (status_.ok() && !bytes.empty()) status_ = next_.Append(bytes);
  return status_;
}

void DuplicateReferenceFilter::Remember(std::string_view line) {
  if (class_ids_.size() >= kMostClassIds) return;
  if (const std::optional<ObjectReference> reference = ParseObjectLine(line)) class_ids_.insert(reference->class_id);
}

Status DuplicateReferenceFilter::Decide() {
  const std::optional<ObjectReference> reference = ParseObjectLine(held_);
  const bool seen = reference && class_ids_.count(reference->class_id) != 0;
  if (seen) {
    ++dropped_;
    if (on_dropped_) on_dropped_(line_);
  } else {
    Remember(held_);
    Pass(held_);
  }
  held_.clear();
  return status_;
}

Status DuplicateReferenceFilter::Append(std::string_view bytes) {
  while (status_.ok() && !bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const bool ends = end != std::string_view::npos;
    const std::string_view piece = bytes.substr(0, ends ? end + 1 : bytes.size());
    if (state_ == State::kPassing) {
      Pass(piece);
    } else if (state_ == State::kLineStart) {
      // Held until the key shows whether this may be an "Object=" line.
      const std::size_t wanted = std::min(piece.size(), kObjectKey.size() - held_.size());
      held_.append(piece.substr(0, wanted));
      bytes.remove_prefix(wanted);
      if (!StartsLikeObjectKey(held_)) {  // a line end in it is no letter of the key either
        const bool line_ended = held_.back() == '\n';
        Pass(held_);
        held_.clear();
        if (line_ended) {
          ++line_;
        } else {
          state_ = State::kPassing;
        }
      } else if (held_.size() == kObjectKey.size()) {
        state_ = State::kHolding;
      }
      continue;
    } else if (held_.size() + piece.size() > kMostHeld) {
      // Too long to be held: the start was remembered if it names a class id, the rest passes.
      Remember(held_);
      Pass(held_);
      held_.clear();
      Pass(piece);
      state_ = State::kPassing;
    } else {
      held_.append(piece);
      if (ends) Decide();
    }
    bytes.remove_prefix(piece.size());
    if (ends) {
      ++line_;
      state_ = State::kLineStart;
    }
  }
  return status_;
}

Status DuplicateReferenceFilter::Finish() {
  if (!held_.empty()) {
    if (state_ == State::kHolding) {
      Decide();
    } else {
      Pass(held_);
      held_.clear();
    }
  }
  state_ = State::kLineStart;
  return status_;
}

}  // namespace tavrin
