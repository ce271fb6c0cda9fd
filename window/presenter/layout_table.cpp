#include "window/presenter/layout_table.h"

#include <array>

namespace tavrin {
namespace {

using K = ControlKind;

// Creation order follows the control tree: containers before their children.
constexpr std::array<ControlSpec, 19> kControls{{
    {"Toolbar1", K::kToolbar, "", kNoPage, 0, 0, 387, 38, 12, ""},
    {"SSTab1", K::kTabControl, "", kNoPage, 4, 44, 381, 249, 1, ""},
    {"Frame2", K::kFrame, "SSTab1", 2, 12, 80, 357, 57, 17, "Bearbeitungsmodus:"},
    {"lbInfo", K::kLabel, "Frame2", 2, 8, 24, 341, 17, 18, "keine Bearbeitung aktiv..."},
    {"Frame5", K::kFrame, "SSTab1", 1, 256, 116, 117, 57, 15, "Projekt anlegbar:"},
    {"lbCr", K::kLabel, "Frame5", 1, 8, 24, 101, 17, 16, "Nein"},
    {"btnConvert(1)", K::kPushButton, "SSTab1", 2, 112, 28, 97, 29, 11, "&Über..."},
    {"btnPath(1)", K::kPushButton, "SSTab1", 1, 256, 76, 105, 25, 10, "&Löschen..."},
    {"btnPath(0)", K::kPushButton, "SSTab1", 1, 256, 44, 105, 25, 9, "&Neu..."},
    {"btnConvert(0)", K::kPushButton, "SSTab1", 2, 8, 28, 97, 29, 8, "&Konvertieren"},
    {"Frame3", K::kFrame, "SSTab1", 1, 8, 40, 237, 197, 5, "&Zielverzeichnis:"},
    {"Drive2", K::kDriveList, "Frame3", 1, 8, 20, 221, 21, 7, ""},
    {"Dir2", K::kFolderList, "Frame3", 1, 8, 48, 221, 141, 6, ""},
    {"Frame1", K::kFrame, "SSTab1", 0, 8, 40, 365, 197, 2, "&Programmwahl:"},
    {"Frame4", K::kFrame, "Frame1", 0, 188, 12, 169, 53, 13, "Projekt vorhanden:"},
    {"lbPrj", K::kLabel, "Frame4", 0, 8, 20, 149, 17, 14, "Nein"},
    {"Drive1", K::kDriveList, "Frame1", 0, 8, 20, 169, 21, 4, ""},
    {"Dir1", K::kFolderList, "Frame1", 0, 8, 48, 169, 141, 3, ""},
    {"StatusBar1", K::kStatusBar, "", kNoPage, 0, 294, 387, 25, 0, ""},
}};

constexpr std::array<LabelSpec, 3> kLabels{{
    {"lbInfo", 0x00800080, nullptr, 0, 0, "keine Bearbeitung aktiv..."},
    {"lbPrj", 0x000000C0, "MS Sans Serif", 12, 700, ""},
    {"lbCr", 0x000000C0, "MS Sans Serif", 12, 700, ""},
}};

constexpr std::array<const char*, 3> kPageCaptions{"&Ausgangsprojekt", "&Zielprojekt", "&Projektkonvertierung"};

constexpr std::array<const char*, 5> kToolbarCaptions{"Projekt", "Zielverzeichnis", "Konvertierung",
                                                      "Informationen", "Über..."};

}  // namespace

std::span<const ControlSpec> LayoutTable() { return kControls; }

const ControlSpec* FindControlSpec(std::string_view name) {
  for (const ControlSpec& row : kControls) {
    if (name == row.name) return &row;
  }
  return nullptr;
}

std::span<const LabelSpec> LabelTable() { return kLabels; }

const LabelSpec* FindLabelSpec(std::string_view name) {
  for (const LabelSpec& row : kLabels) {
    if (name == row.name) return &row;
  }
  return nullptr;
}

std::span<const char* const> PageCaptions() { return kPageCaptions; }
std::span<const char* const> ToolbarCaptions() { return kToolbarCaptions; }

}  // namespace tavrin
