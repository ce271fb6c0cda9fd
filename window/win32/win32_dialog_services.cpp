#include "window/win32/win32_dialog_services.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "window/presenter/message_box_style.h"
#include "window/win32/win32_text.h"

namespace tavrin {
namespace {

constexpr int kIconMask = 0x70;

// The hook that names the buttons of the message box about to be shown on this thread.
HHOOK german_buttons_hook = nullptr;

LRESULT CALLBACK NameButtons(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wparam);
    wchar_t class_name[16] = L"";
    GetClassNameW(box, class_name, 16);
    if (std::wstring_view(class_name) == L"#32770") {
      const std::pair<int, const wchar_t*> names[] = {
          {IDOK, L"OK"}, {IDYES, L"&Ja"}, {IDNO, L"&Nein"}, {IDCANCEL, L"Abbrechen"}};
      for (const auto& [id, name] : names) {
        if (HWND button = GetDlgItem(box, id)) SetWindowTextW(button, name);
      }
    }
  }
  return CallNextHookEx(german_buttons_hook, code, wparam, lparam);
}

// An in-memory dialog template, built word by word.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const wchar_t* font, WORD point_size) {
    Align(2);
    DLGTEMPLATE header{};
    header.style = style | DS_SETFONT;
    header.cx = width;
    header.cy = height;
    Append(&header, sizeof header);
    count_at_ = offsetof(DLGTEMPLATE, cdit);
    Word(0);  // no menu
    Word(0);  // the standard dialog class
    Word(0);  // the title: set when shown
    Word(point_size);
    Text(font);
  }
  void Item(DWORD style, short x, short y, short width, short height, WORD id, WORD kind) {
    Align(4);
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = width;
    item.cy = height;
    item.id = id;
    Append(&item, sizeof item);
    Word(0xFFFF);
    Word(kind);
    Word(0);  // no text: set when shown
    Word(0);  // no creation data
    WORD count = 0;
    std::memcpy(&count, bytes_.data() + count_at_, sizeof count);
    ++count;
    std::memcpy(bytes_.data() + count_at_, &count, sizeof count);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void Append(const void* data, std::size_t size) {
    const auto* from = static_cast<const unsigned char*>(data);
    bytes_.insert(bytes_.end(), from, from + size);
  }
  void Word(WORD word) { Append(&word, sizeof word); }
  void Text(const wchar_t* text) { Append(text, (wcslen(text) + 1) * sizeof(wchar_t)); }
  void Align(std::size_t to) {
    while (bytes_.size() % to != 0) bytes_.push_back(0);
  }
  // DWORD-aligned storage, as the dialog manager wants it.
  std::vector<unsigned char> bytes_;
  std::size_t count_at_ = 0;
};

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;

struct InputBoxState {
  std::wstring prompt;
  std::wstring title;
  std::wstring answer;
};

INT_PTR CALLBACK InputBoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<InputBoxState*>(lparam);
      SetWindowLongPtrW(box, DWLP_USER, lparam);
      SetWindowTextW(box, state->title.c_str());
      SetDlgItemTextW(box, kInputPromptId, state->prompt.c_str());
      SetDlgItemTextW(box, IDOK, L"OK");
      SetDlgItemTextW(box, IDCANCEL, L"Abbrechen");
      SendDlgItemMessageW(box, kInputFieldId, EM_LIMITTEXT, 32767, 0);
      SetFocus(GetDlgItem(box, kInputFieldId));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(box, DWLP_USER));
        HWND field = GetDlgItem(box, kInputFieldId);
        state->answer = WindowText(field);
        EndDialog(box, IDOK);
        return TRUE;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        EndDialog(box, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

UINT MessageBoxFlags(int style) {
  const std::vector<int> answers = ButtonAnswers(style);
  UINT flags = MB_OK;
  if (answers == std::vector<int>{kAnswerOk, kAnswerCancel}) flags = MB_OKCANCEL;
  if (answers == std::vector<int>{kAnswerYes, kAnswerNo, kAnswerCancel}) flags = MB_YESNOCANCEL;
  if (answers == std::vector<int>{kAnswerYes, kAnswerNo}) flags = MB_YESNO;
  switch (style & kIconMask) {
    case kIconCritical: flags |= MB_ICONERROR; break;
    case kIconQuestion: flags |= MB_ICONQUESTION; break;
    case kIconExclamation: flags |= MB_ICONWARNING; break;
    case kIconInformation: flags |= MB_ICONINFORMATION; break;
    default: break;
  }
  const int default_answer = DefaultAnswer(style);
  for (std::size_t i = 0; i < answers.size(); ++i) {
    if (answers[i] == default_answer) flags |= i == 0 ? MB_DEFBUTTON1 : i == 1 ? MB_DEFBUTTON2 : MB_DEFBUTTON3;
  }
  return flags;
}

Win32DialogServices::~Win32DialogServices() { SetMousePointer(kPointerNormal); }

int Win32DialogServices::MessageBox(std::string_view text, int style, std::string_view title) {
  HHOOK hook = SetWindowsHookExW(WH_CBT, NameButtons, nullptr, GetCurrentThreadId());
  HHOOK outer = german_buttons_hook;
  german_buttons_hook = hook;
  const int answer = ::MessageBoxW(parent_, Wide(text).c_str(), Wide(title).c_str(), MessageBoxFlags(style) | MB_SETFOREGROUND);
  german_buttons_hook = outer;
  if (hook != nullptr) UnhookWindowsHookEx(hook);
  switch (answer) {
    case IDOK: return kAnswerOk;
    case IDYES: return kAnswerYes;
    case IDNO: return kAnswerNo;
    default: return kAnswerCancel;
  }
}

std::string Win32DialogServices::InputBox(std::string_view prompt, std::string_view title) {
  // Laid out in dialog units as the classic input box: the prompt left, the buttons right,
  // the field across the bottom.
  DialogTemplate layout(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 272, 86, L"MS Shell Dlg", 8);
  layout.Item(SS_LEFT | SS_NOPREFIX, 7, 7, 200, 48, kInputPromptId, kStatic);
  layout.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 215, 7, 50, 14, IDOK, kButton);
  layout.Item(BS_PUSHBUTTON | WS_TABSTOP, 215, 25, 50, 14, IDCANCEL, kButton);
  layout.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 64, 258, 14, kInputFieldId, kEdit);
  InputBoxState state{Wide(prompt), Wide(title), {}};
  const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), parent_, InputBoxProc,
                                                 reinterpret_cast<LPARAM>(&state));
  return result == IDOK ? Utf8(state.answer) : std::string();
}

void Win32DialogServices::DoEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that waits for it
      return;
    }
    if (pre_translate && pre_translate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32DialogServices::SetMousePointer(int pointer) {
  const bool busy = pointer == kPointerBusy;
  if (busy == busy_) return;
  busy_ = busy;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

}  // namespace tavrin
