#pragma once

#include <QFont>

namespace tavrin {

// The font of every control that has none of its own: small enough for every caption to
// fit its control at the window's fixed sizes.
QFont DefaultControlFont();

// Program identity, style, default font, font substitutes and icon for the running
// QApplication; the program and the window tests call it once after creating it.
void SetUpApplication();

}  // namespace tavrin
