#pragma once

#include <windows.h>
// The dialog services' MessageBox is ours, not the macro for MessageBoxW.
#undef MessageBox

#include <functional>
#include <string>
#include <string_view>

#include "runtime/dialog_services.h"

namespace tavrin {

// Dialog services with the Win32 message box and a modal input box, German buttons whatever
// the system's language.
class Win32DialogServices : public DialogServices {
 public:
  ~Win32DialogServices() override;

  // The window that owns the boxes (none: nullptr), and the keyboard handling of its messages
  // while events run (returns true when it took the message).
  void SetParentWindow(HWND parent) { parent_ = parent; }
  std::function<bool(MSG&)> pre_translate;

  int MessageBox(std::string_view text, int style, std::string_view title) override;
  std::string InputBox(std::string_view prompt, std::string_view title) override;
  void DoEvents() override;
  void SetMousePointer(int pointer) override;

 private:
  HWND parent_ = nullptr;
  bool busy_ = false;
};

// The controls of the input box.
inline constexpr int kInputPromptId = 10;
inline constexpr int kInputFieldId = 11;

// The style of the Win32 message box for a message box `style` (runtime/dialog_services.h):
// its buttons, icon and default button.
UINT MessageBoxFlags(int style);

}  // namespace tavrin
