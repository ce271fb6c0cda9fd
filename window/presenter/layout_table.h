#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tavrin {

// The kinds of control the window is built from.
enum class ControlKind { kToolbar, kTabControl, kStatusBar, kFrame, kFolderList, kDriveList, kLabel, kPushButton };

inline constexpr int kNoPage = -1;

// One control of the main window: its object name, kind, container (empty for the window's
// client area), page of SSTab1 (kNoPage outside it), place and size in pixels relative to the
// container's outer rectangle, index in the tab order and initial caption ("&" marks the
// access key; empty when the control has none).
struct ControlSpec {
  const char* name;
  ControlKind kind;
  const char* container;
  int page;
  int left;
  int top;
  int width;
  int height;
  int tab_index;
  const char* caption;
};

// The main window's controls in the order in which they are created.
std::span<const ControlSpec> LayoutTable();

// The row named `name`, or nullptr.
const ControlSpec* FindControlSpec(std::string_view name);

// The text colour, font and tag of a label. A label without a font family uses the default
// font; a font of its own has the given point size and weight.
struct LabelSpec {
  const char* name;
  std::uint32_t colour;  // a Colour value (see window/presenter/colours.h)
  const char* font_family;
  int point_size;
  int weight;
  const char* tag;
};

std::span<const LabelSpec> LabelTable();
const LabelSpec* FindLabelSpec(std::string_view name);

// Client area of the window and height of SSTab1's tab strip, in pixels.
inline constexpr int kClientWidth = 387;
inline constexpr int kClientHeight = 319;
inline constexpr int kTabStripHeight = 20;

// Captions of SSTab1's pages and of the toolbar's buttons (button n has index n + 1).
std::span<const char* const> PageCaptions();
std::span<const char* const> ToolbarCaptions();

// Toolbar button size in pixels.
inline constexpr int kToolbarButtonWidth = 77;
inline constexpr int kToolbarButtonHeight = 36;

}  // namespace tavrin
