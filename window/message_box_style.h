#pragma once

#include <vector>

#include "runtime/dialog_services.h"

namespace tavrin {

// The rest of a message box style (the basic values are in runtime/dialog_services.h). A style
// is the sum of a buttons value, an icon value and a default-button value; the default button
// is the one that Enter presses.
inline constexpr int kButtonsOkCancel = 1;
inline constexpr int kButtonsYesNoCancel = 3;
inline constexpr int kIconCritical = 16;
inline constexpr int kDefaultButton1 = 0;
inline constexpr int kDefaultButton2 = 256;
inline constexpr int kDefaultButton3 = 512;

// The answer of a box closed with "Abbrechen", or without a button.
inline constexpr int kAnswerCancel = 2;

// The answers of the buttons that a box of `style` shows, in the order they stand
// (kAnswerOk alone for an unknown buttons value).
std::vector<int> ButtonAnswers(int style);

// The answer of the default button of a box of `style`: the button that its default-button
// value names, or the first one when the box has fewer buttons.
int DefaultAnswer(int style);

}  // namespace tavrin
