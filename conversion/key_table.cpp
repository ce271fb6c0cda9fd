#include "conversion/key_table.h"

#include <cstring>

namespace tavrin {
namespace {

struct Row {
  const char* old_key;
  const char* new_key;
};

// Version 5 common controls (left) and their version 6 counterparts (right). Within each
// library: the identifier with a known version first, then the bare identifier (any other
// version), the library file and the type prefix.
constexpr Row kRows[KeyTable::kUpper] = {
    {"{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0", "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"},
    {"{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.2#0", "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"},
    {"{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.1#0", "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"},
    {"{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.0#0", "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"},
    {"{6B7E6392-850A-101B-AFC0-4210102A8DA7}", "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}"},
    {"COMCTL32.OCX", "MSCOMCTL.OCX"},
    {"ComctlLib.", "MSComctlLib."},
    {"{FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}#1.3#0", "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0"},
    {"{FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}#1.2#0", "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0"},
    {"{FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}#1.1#0", "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0"},
    {"{FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}#1.0#0", "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0"},
    {"{FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}", "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}"},
    {"COMCT232.OCX", "MSCOMCT2.OCX"},
    {"ComCtl2.", "MSComCtl2."},
};

// True when `text` holds `whole` at `pos - offset`, i.e. the occurrence at `pos` is a piece
// of an already replaced text.
bool StandsInside(std::string_view text, std::size_t pos, std::size_t offset, std::string_view whole) {
  return pos >= offset && text.substr(pos - offset, whole.size()) == whole;
}

}  // namespace

KeyTable KeyTable::Build() {
  KeyTable table;
  for (int i = kLower; i <= kUpper; ++i) {
    table.old_key_[i] = kRows[i - kLower].old_key;
    table.new_key_[i] = kRows[i - kLower].new_key;
    // Where the old text stands inside the new one ("ComctlLib." at 2 in "MSComctlLib.").
    const std::string& from = table.old_key_[i];
    const std::string& to = table.new_key_[i];
    for (std::size_t at = to.find(from); at != std::string::npos; at = to.find(from, at + 1)) {
      table.inside_new_[i].push_back(at);
    }
    // Every old text begins with one of a few two-byte openings; a line without any of them
    // cannot match, which spares the fourteen searches on almost every line.
    const std::string opening = from.substr(0, 2);
    bool known = false;
    for (const std::string& o : table.openings_) known = known || o == opening;
    if (!known) table.openings_.push_back(opening);
  }
  return table;
}

bool KeyTable::MayMatch(std::string_view line) const {
  const char* const end = line.data() + line.size();
  for (const std::string& opening : openings_) {
    const char* p = line.data();
    while (p < end) {
      p = static_cast<const char*>(std::memchr(p, opening[0], static_cast<std::size_t>(end - p)));
      if (p == nullptr) break;
      if (opening.size() < 2 || (p + 1 < end && p[1] == opening[1])) return true;
      ++p;
    }
  }
  return false;
}

bool KeyTable::Apply(std::string_view line, std::string* out, Counts* counts) const {
  if (!MayMatch(line)) return false;
  std::string current;  // the line after the rows so far, once one has replaced something
  std::string next;
  std::string_view text = line;
  bool changed = false;
  for (int i = kLower; i <= kUpper; ++i) {
    const std::string_view from = old_key_[i];
    const std::string_view to = new_key_[i];
    std::size_t done = 0;  // text[0, done) has been handled by this row
    std::uint64_t replaced = 0;
    next.clear();
    for (std::size_t pos = text.find(from); pos != std::string_view::npos; pos = text.find(from, pos)) {
      bool inside = false;
      for (std::size_t offset : inside_new_[i]) inside = inside || StandsInside(text, pos, offset, to);
      if (!inside) {
        next.append(text.substr(done, pos - done));
        next.append(to);
        done = pos + from.size();
        ++replaced;
      }
      pos += from.size();
    }
    if (replaced == 0) continue;
    next.append(text.substr(done));
    current.swap(next);
    text = current;
    changed = true;
    if (counts != nullptr) (*counts)[i] += replaced;
  }
  if (changed) out->swap(current);
  return changed;
}

}  // namespace tavrin
