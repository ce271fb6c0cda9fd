#include "window/qt/colour.h"

namespace tavrin {
namespace {

// The palette role of a classic system colour index; the few this window can meet, and
// text on the window for the rest.
QPalette::ColorRole RoleOf(std::uint32_t index) {
  switch (index) {
    case 5: return QPalette::Base;              // window background
    case 8: return QPalette::Text;              // window text
    case 13: return QPalette::Highlight;        // selected items
    case 14: return QPalette::HighlightedText;  // text of selected items
    case 15: return QPalette::Button;           // button face
    case 18: return QPalette::ButtonText;       // button text
    default: return QPalette::WindowText;
  }
}

}  // namespace

QColor ColourOf(std::uint32_t value, const QPalette& palette) {
  if (value & 0x80000000u) return palette.color(RoleOf(value & 0xFFu));
  return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                static_cast<int>((value >> 16) & 0xFFu));
}

}  // namespace tavrin
