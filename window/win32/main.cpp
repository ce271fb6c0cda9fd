// Tavrin: the main window on Windows.
#include <windows.h>

#include <exception>

#include "runtime/file_services.h"
#include "window/win32/win32_dialog_services.h"
#include "window/win32/win32_text.h"
#include "window/win32/win32_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  tavrin::Win32DialogServices dialogs;
  try {
    tavrin::Win32Window window(dialogs, tavrin::DiskFileServices());
    window.quit_on_close = true;
    dialogs.SetParentWindow(window.Handle());
    dialogs.pre_translate = [&window](MSG& message) { return window.PreTranslate(message); };
    window.Form_Load();
    window.CenterOnScreen();
    ShowWindow(window.Handle(), show);
    UpdateWindow(window.Handle());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (window.PreTranslate(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
  } catch (const std::exception& error) {
    MessageBoxW(nullptr, tavrin::Wide(error.what()).c_str(), L"Tavrin", MB_OK | MB_ICONERROR);
    return 1;
  }
}
