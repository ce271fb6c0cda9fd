#include "conversion/key_table.h"

namespace tavrin {
namespace {

using Match = KeyTable::Match;

#define OLD_CTL "{6B7E6392-850A-101B-AFC0-4210102A8DA7}"
#define NEW_CTL "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}"
#define OLD_CT2 "{FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}"
#define NEW_CT2 "{86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}"
// A sub-object of the controls: its old and new class id, as a form names them in the line
// that begins the sub-object's properties (`property`, for the example).
#define SUB_OBJECT(name, label, property, old_id, new_id)                                    \
  {name, old_id, new_id, Match::kExact, "Klassen-ID der Unterobjekte " label,           \
   "BeginProperty " property " " old_id, "BeginProperty " property " " new_id}

// Version 5 common controls (old) and their version 6 counterparts (new). Within each
// library: the identifier with a known version first, then the bare identifier (any other
// version, which becomes 2.0 as well), the library file and the type prefix. Then, for the
// complete upgrade, the sub-objects of the controls and the file names in any letter case.
constexpr KeyTable::Row kRows[KeyTable::kCompleteUpper] = {
    {"comctl-id-1.3", OLD_CTL "#1.3#0", NEW_CTL "#2.0#0", Match::kExact,
     "Klassen-ID der Common Controls 5.0, Version 1.3", "Object=" OLD_CTL "#1.3#0", "Object=" NEW_CTL "#2.0#0"},
    {"comctl-id-1.2", OLD_CTL "#1.2#0", NEW_CTL "#2.0#0", Match::kExact,
     "Klassen-ID der Common Controls 5.0, Version 1.2", "Object=" OLD_CTL "#1.2#0", "Object=" NEW_CTL "#2.0#0"},
    {"comctl-id-1.1", OLD_CTL "#1.1#0", NEW_CTL "#2.0#0", Match::kExact,
     "Klassen-ID der Common Controls 5.0, Version 1.1", "Object=" OLD_CTL "#1.1#0", "Object=" NEW_CTL "#2.0#0"},
    {"comctl-id-1.0", OLD_CTL "#1.0#0", NEW_CTL "#2.0#0", Match::kExact,
     "Klassen-ID der Common Controls 5.0, Version 1.0", "Object=" OLD_CTL "#1.0#0", "Object=" NEW_CTL "#2.0#0"},
    {"comctl-id", OLD_CTL, NEW_CTL, Match::kExactWithVersion,
     "Klassen-ID der Common Controls 5.0, andere oder keine Version", "Object=" OLD_CTL "#1.4#0",
     "Object=" NEW_CTL "#2.0#0"},
    {"comctl-file", "COMCTL32.OCX", "MSCOMCTL.OCX", Match::kExact, "Bibliotheksdatei der Common Controls 5.0",
     "Object=" NEW_CTL "#2.0#0; COMCTL32.OCX", "Object=" NEW_CTL "#2.0#0; MSCOMCTL.OCX"},
    {"comctl-prefix", "ComctlLib.", "MSComctlLib.", Match::kExact, "Typpräfix der Common Controls 5.0",
     "Begin ComctlLib.Toolbar Toolbar1", "Begin MSComctlLib.Toolbar Toolbar1"},
    {"comct2-id-1.3", OLD_CT2 "#1.3#0", NEW_CT2 "#2.0#0", Match::kExact,
     "Klassen-ID der Common Controls-2 5.0, Version 1.3", "Object=" OLD_CT2 "#1.3#0", "Object=" NEW_CT2 "#2.0#0"},
    {"comct2-id-1.2", OLD_CT2 "#1.2#0", NEW_CT2 "#2.0#0", Match::kExact,
     "Klassen-ID der Common Controls-2 5.0, Version 1.2", "Object=" OLD_CT2 "#1.2#0", "Object=" NEW_CT2 "#2.0#0"},
    {"comct2-id-1.1", OLD_CT2 "#1.1#0", NEW_CT2 "#2.0#0", Match::kExact,
     "Klassen-ID der Common Controls-2 5.0, Version 1.1", "Object=" OLD_CT2 "#1.1#0", "Object=" NEW_CT2 "#2.0#0"},
    {"comct2-id-1.0", OLD_CT2 "#1.0#0", NEW_CT2 "#2.0#0", Match::kExact,
     "Klassen-ID der Common Controls-2 5.0, Version 1.0", "Object=" OLD_CT2 "#1.0#0", "Object=" NEW_CT2 "#2.0#0"},
    {"comct2-id", OLD_CT2, NEW_CT2, Match::kExactWithVersion,
     "Klassen-ID der Common Controls-2 5.0, andere oder keine Version", "Object=" OLD_CT2 "#1.5#0",
     "Object=" NEW_CT2 "#2.0#0"},
    {"comct2-file", "COMCT232.OCX", "MSCOMCT2.OCX", Match::kExact, "Bibliotheksdatei der Common Controls-2 5.0",
     "Object=" NEW_CT2 "#2.0#0; COMCT232.OCX", "Object=" NEW_CT2 "#2.0#0; MSCOMCT2.OCX"},
    {"comct2-prefix", "ComCtl2.", "MSComCtl2.", Match::kExact, "Typpräfix der Common Controls-2 5.0",
     "Begin ComCtl2.UpDown UpDown1", "Begin MSComCtl2.UpDown UpDown1"},
    // The complete upgrade.
    SUB_OBJECT("columnheader-id", "ColumnHeader", "ColumnHeader(1)",
               "{0713E8C7-850A-101B-AFC0-4210102A8DA7}", "{BDD1F052-858B-11D1-B16A-00C0F0283628}"),
    SUB_OBJECT("images-id", "Images", "Images",
               "{0713E8C2-850A-101B-AFC0-4210102A8DA7}", "{2C247F25-8591-11D1-B16A-00C0F0283628}"),
    SUB_OBJECT("listimage-id", "ListImage", "ListImage1",
               "{0713E8C3-850A-101B-AFC0-4210102A8DA7}", "{2C247F27-8591-11D1-B16A-00C0F0283628}"),
    SUB_OBJECT("buttons-id", "Buttons", "Buttons",
               "{0713E452-850A-101B-AFC0-4210102A8DA7}", "{66833FE8-8583-11D1-B16A-00C0F0283628}"),
    SUB_OBJECT("button-id", "Button", "Button1",
               "{0713F354-850A-101B-AFC0-4210102A8DA7}", "{66833FEA-8583-11D1-B16A-00C0F0283628}"),
    SUB_OBJECT("panels-id", "Panels", "Panels",
               "{0713E89E-850A-101B-AFC0-4210102A8DA7}", "{8E3867A5-8586-11D1-B16A-00C0F0283628}"),
    SUB_OBJECT("panel-id", "Panel", "Panel1",
               "{0713E89F-850A-101B-AFC0-4210102A8DA7}", "{8E3867AB-8586-11D1-B16A-00C0F0283628}"),
    SUB_OBJECT("tabs-id", "Tabs", "Tabs",
               "{0713E432-850A-101B-AFC0-4210102A8DA7}", "{1EFB6598-857C-11D1-B16A-00C0F0283628}"),
    SUB_OBJECT("tab-id", "Tab", "Tab1",
               "{0713F341-850A-101B-AFC0-4210102A8DA7}", "{1EFB659A-857C-11D1-B16A-00C0F0283628}"),
    {"comctl-file-any-case", "COMCTL32.OCX", "MSCOMCTL.OCX", Match::kAnyCase,
     "Bibliotheksdatei der Common Controls 5.0 in anderer Schreibweise", "Object=" NEW_CTL "#2.0#0; comctl32.ocx",
     "Object=" NEW_CTL "#2.0#0; MSCOMCTL.OCX"},
    {"comct2-file-any-case", "COMCT232.OCX", "MSCOMCT2.OCX", Match::kAnyCase,
     "Bibliotheksdatei der Common Controls-2 5.0 in anderer Schreibweise", "Object=" NEW_CT2 "#2.0#0; ComCt232.ocx",
     "Object=" NEW_CT2 "#2.0#0; MSCOMCT2.OCX"},
};

#undef OLD_CTL
#undef NEW_CTL
#undef OLD_CT2
#undef NEW_CT2
#undef SUB_OBJECT

}  // namespace

KeyTable KeyTable::Build(bool complete) {
  KeyTable table;
  table.upper_ = complete ? kCompleteUpper : kUpper;
  for (int i = kLower; i <= table.upper_; ++i) {
    table.rows_[i] = kRows[i - kLower];
    // Where the old text stands inside the new one ("ComctlLib." at 2 in "MSComctlLib.").
    const std::string_view from = table.rows_[i].old_key;
    const std::string_view to = table.rows_[i].new_key;
    for (std::size_t at = to.find(from); at != std::string_view::npos; at = to.find(from, at + 1)) {
      table.inside_new_[i].push_back(at);
    }
  }
  return table;
}

}  // namespace tavrin
