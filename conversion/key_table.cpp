#include "conversion/key_table.h"

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
  }
  return table;
}

}  // namespace tavrin
