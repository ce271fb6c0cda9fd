// The Win32 dialog services: message boxes with the designed texts, titles and icons, German
// buttons whatever the system's language and the designed default button; the input box. A
// timer inspects each box while it is open, then presses one of its buttons.
#include <gtest/gtest.h>

#include <windows.h>
#undef MessageBox

#include <functional>
#include <string>
#include <vector>

#include "window/presenter/message_box_style.h"
#include "window/win32/win32_dialog_services.h"
#include "window/win32/win32_text.h"

using tavrin::Utf8;
using tavrin::WindowText;

namespace {

// What a box showed.
struct Seen {
  std::string title;
  std::vector<std::string> texts;    // its static texts
  std::vector<std::string> buttons;  // its push buttons' texts, in the order of their ids
  int default_id = 0;  // the button drawn as the default
  int focus_id = 0;    // the button with the focus, which Enter presses
  HICON icon = nullptr;
};

// Runs `act` on the first dialog box that this thread shows, from a timer inside its modal
// loop. A box that never shows lets the test run into its time limit.
std::function<void(HWND)> on_box;

HWND FindBox() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) -> BOOL {
        wchar_t name[16] = L"";
        GetClassNameW(window, name, 16);
        if (IsWindowVisible(window) && std::wstring_view(name) == L"#32770") {
          *reinterpret_cast<HWND*>(found) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void CALLBACK Inspect(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindBox();
  if (box == nullptr) return;
  KillTimer(nullptr, timer);
  on_box(box);
}

void WhenShown(std::function<void(HWND)> act) {
  on_box = std::move(act);
  SetTimer(nullptr, 0, 20, Inspect);
}

Seen Look(HWND box) {
  Seen seen;
  seen.title = Utf8(WindowText(box));
  seen.focus_id = GetDlgCtrlID(GetFocus());
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = L"";
    GetClassNameW(child, name, 16);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (lstrcmpiW(name, L"Button") == 0) {
      seen.buttons.push_back(Utf8(WindowText(child)));
      if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.default_id = GetDlgCtrlID(child);
    } else if (lstrcmpiW(name, L"Static") == 0) {
      if ((style & SS_TYPEMASK) == SS_ICON)
        seen.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
      else
        seen.texts.push_back(Utf8(WindowText(child)));
    }
  }
  return seen;
}

void Press(HWND box, int id) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id))); }

// The text of a button without its access key mark.
std::string Plain(std::string text) {
  std::erase(text, '&');
  return text;
}

TEST(Win32Dialogs, MessageBoxesShowGermanButtonsIconsAndTheDesignedDefault) {
  struct Case {
    int style;
    std::vector<std::string> buttons;
    int default_id;
    LPCWSTR icon;  // nullptr: none
    int press;
    int answer;
  };
  const Case cases[] = {
      {tavrin::kButtonsOk + tavrin::kIconExclamation, {"OK"}, IDOK, IDI_WARNING, IDOK, tavrin::kAnswerOk},
      {tavrin::kButtonsOk + tavrin::kIconInformation, {"OK"}, IDOK, IDI_INFORMATION, IDOK, tavrin::kAnswerOk},
      {tavrin::kButtonsYesNo + tavrin::kIconQuestion, {"Ja", "Nein"}, IDYES, IDI_QUESTION, IDYES, tavrin::kAnswerYes},
      {tavrin::kButtonsYesNo + tavrin::kIconQuestion + tavrin::kDefaultButton2, {"Ja", "Nein"}, IDNO, IDI_QUESTION,
       IDNO, tavrin::kAnswerNo},
      {tavrin::kButtonsOkCancel + tavrin::kIconCritical, {"OK", "Abbrechen"}, IDOK, IDI_ERROR, IDCANCEL,
       tavrin::kAnswerCancel},
      {tavrin::kButtonsYesNoCancel, {"Ja", "Nein", "Abbrechen"}, IDYES, nullptr, IDCANCEL, tavrin::kAnswerCancel},
      // An unknown buttons value: OK alone.
      {2 + tavrin::kIconInformation, {"OK"}, IDOK, IDI_INFORMATION, IDOK, tavrin::kAnswerOk},
  };
  tavrin::Win32DialogServices dialogs;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    Seen seen;
    WhenShown([&](HWND box) {
      seen = Look(box);
      // The default with the Enter key on the button with the focus, another button with a
      // click (and a click too when no button has the focus, so that the box closes).
      if (c.press == c.default_id && seen.focus_id != 0)
        PostMessageW(GetDlgItem(box, seen.focus_id), WM_KEYDOWN, VK_RETURN, 0);
      else
        Press(box, c.press);
    });
    const int answer = dialogs.MessageBox("Erste Zeile äöü\r\nZweite Zeile „日本“", c.style, "Titel Ü");
    EXPECT_EQ(answer, c.answer);
    EXPECT_EQ(seen.title, "Titel Ü");
    std::vector<std::string> buttons;
    for (const std::string& text : seen.buttons) buttons.push_back(Plain(text));
    EXPECT_EQ(buttons, c.buttons);
    EXPECT_EQ(seen.default_id, c.default_id);
    EXPECT_EQ(seen.focus_id, c.default_id);
    bool text_found = false;
    for (const std::string& text : seen.texts) text_found |= text == "Erste Zeile äöü\r\nZweite Zeile „日本“";
    EXPECT_TRUE(text_found);
    if (c.icon == nullptr) {
      EXPECT_EQ(seen.icon, nullptr);
    } else {
      EXPECT_EQ(seen.icon, LoadIconW(nullptr, c.icon));
    }
  }
}

TEST(Win32Dialogs, InputBoxReturnsTheTextOrNothingOnCancel) {
  tavrin::Win32DialogServices dialogs;
  Seen seen;
  WhenShown([&](HWND box) {
    seen = Look(box);
    SetDlgItemTextW(box, tavrin::kInputFieldId, L"Neuer Ordner äöü 日本");
    Press(box, IDOK);
  });
  EXPECT_EQ(dialogs.InputBox("Name des Verzeichnisses:", "Neues Verzeichnis"), "Neuer Ordner äöü 日本");
  EXPECT_EQ(seen.title, "Neues Verzeichnis");
  EXPECT_EQ(seen.texts, std::vector<std::string>{"Name des Verzeichnisses:"});
  EXPECT_EQ(seen.buttons, (std::vector<std::string>{"OK", "Abbrechen"}));
  EXPECT_EQ(seen.default_id, IDOK);

  WhenShown([&](HWND box) {
    SetDlgItemTextW(box, tavrin::kInputFieldId, L"Verworfen");
    Press(box, IDCANCEL);
  });
  EXPECT_EQ(dialogs.InputBox("Name des Verzeichnisses:", "Neues Verzeichnis"), "");
}

TEST(Win32Dialogs, MessageBoxFlagsFollowTheStyle) {
  EXPECT_EQ(tavrin::MessageBoxFlags(36), static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1));
  EXPECT_EQ(tavrin::MessageBoxFlags(36 + 256), static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
  // A second default button on a box with one button: the first.
  EXPECT_EQ(tavrin::MessageBoxFlags(48 + 256), static_cast<UINT>(MB_OK | MB_ICONWARNING | MB_DEFBUTTON1));
  EXPECT_EQ(tavrin::MessageBoxFlags(64), static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

}  // namespace
