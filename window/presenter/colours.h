#pragma once

#include <cstdint>

namespace tavrin {

// Colours as the window's controls are given them: 0x00BBGGRR, or with the top bit set a
// system colour whose index is the low byte.
inline constexpr std::uint32_t kColourHighlight = 0x8000000D;  // background of selected items
inline constexpr std::uint32_t kColourRed = 0x000000C0;
inline constexpr std::uint32_t kColourPurple = 0x00800080;

}  // namespace tavrin
