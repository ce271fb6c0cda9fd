#pragma once

#include <windows.h>
#undef MessageBox
#include <commctrl.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "runtime/file_services.h"
#include "tests/window/scripted_dialogs.h"
#include "window/win32/win32_text.h"
#include "window/win32/win32_window.h"

namespace tavrin::testing {

// The Win32 window with scripted dialogs, shown without taking the focus, its lists opened on
// `start`, the Load handler run; with `load` false the window as created (lists on the
// current folder, no handler run).
struct Win32TestWindow {
  explicit Win32TestWindow(const std::filesystem::path& start,
                           std::optional<std::vector<std::filesystem::path>> drives = std::nullopt,
                           bool load = true)
      : window(dialogs, DiskFileServices(), std::move(drives)) {
    if (load) {
      window.SetFolder(Side::kSource, start);
      window.SetFolder(Side::kTarget, start);
      for (Side side : {Side::kSource, Side::kTarget}) window.ShowDriveOf(side, start);
      window.Form_Load();
    }
    ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
    Pump();
  }
  // Runs the messages waiting, as the message loop would.
  void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (window.PreTranslate(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  HWND operator[](const char* name) const { return window.Control(name); }
  std::string Text(const char* name) const { return Utf8(WindowText(window.Control(name))); }
  std::string Status() const {
    HWND bar = window.Control("StatusBar1");
    std::wstring text(static_cast<std::size_t>(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0))) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    return Utf8(text.c_str());
  }
  // The notification `code` of control `name` to its parent, as a user's action sends it.
  void Notify(const char* name, int code) {
    HWND control = window.Control(name);
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
  }

  ScriptedDialogs dialogs;
  Win32Window window;
};

}  // namespace tavrin::testing
