#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

#include "window/presenter/colours.h"

namespace tavrin {

// The colour `value` stands for; system colours are taken from `palette`.
QColor ColourOf(std::uint32_t value, const QPalette& palette);

}  // namespace tavrin
