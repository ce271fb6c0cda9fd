#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Message box styles: the sum of a buttons value, an icon value and a default-button value
// (the default button is the one that Enter presses; the first when none is named).
inline constexpr int kButtonsOk = 0;
inline constexpr int kButtonsOkCancel = 1;
inline constexpr int kButtonsYesNoCancel = 3;
inline constexpr int kButtonsYesNo = 4;
inline constexpr int kIconCritical = 16;
inline constexpr int kIconQuestion = 32;
inline constexpr int kIconExclamation = 48;
inline constexpr int kIconInformation = 64;
inline constexpr int kDefaultButton2 = 256;
// Message box answers; kAnswerCancel also for a box closed without a button.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
// Mouse pointers.
inline constexpr int kPointerNormal = 0;
inline constexpr int kPointerBusy = 11;

// The one door for dialogs and for the event loop. The window implements it with Qt; tests
// answer it from a script, so no test ever waits on a modal box. Texts are UTF-8; in a
// message text CR LF breaks lines.
class DialogServices {
 public:
  virtual ~DialogServices() = default;
  // Shows a modal message box and waits; returns the answer (kAnswerYes for "Ja").
  virtual int MessageBox(std::string_view text, int style, std::string_view title) = 0;
  // Shows a modal input box with an empty field; returns the text, or "" on Cancel.
  virtual std::string InputBox(std::string_view prompt, std::string_view title) = 0;
  // Lets the waiting window events run, then returns.
  virtual void DoEvents() = 0;
  // kPointerBusy or kPointerNormal.
  virtual void SetMousePointer(int pointer) = 0;
};

}  // namespace tavrin
