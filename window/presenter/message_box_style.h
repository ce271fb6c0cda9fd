#pragma once

#include <vector>

#include "runtime/dialog_services.h"

namespace tavrin {

// How a message box style (runtime/dialog_services.h) becomes buttons.

// The answers of the buttons that a box of `style` shows, in the order they stand
// (kAnswerOk alone for an unknown buttons value).
std::vector<int> ButtonAnswers(int style);

// The answer of the default button of a box of `style`: the button that its default-button
// value names, or the first one when the box has fewer buttons.
int DefaultAnswer(int style);

}  // namespace tavrin
