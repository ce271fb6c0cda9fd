#include "window/win32/win32_window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "window/presenter/drive_rules.h"
#include "window/presenter/path_display.h"
#include "window/win32/win32_text.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kWindowClass[] = L"TavrinFrmConvert";
constexpr wchar_t kPageClass[] = L"TavrinPage";
constexpr int kFirstControlId = 100;
constexpr int kFirstToolbarId = 200;
constexpr int kIconResource = 1;
constexpr int kNormalImagesResource = 2;
constexpr int kHotImagesResource = 3;
constexpr int kImageSize = 16;
// Indent of a folder list row per level, and the room of its folder mark, at 96 DPI.
constexpr int kRowIndent = 7;
constexpr int kFolderMark = 14;

LRESULT Forward(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return SendMessageW(GetAncestor(window, GA_ROOT), message, wparam, lparam);
}

void RegisterClasses(HINSTANCE instance, WNDPROC window_proc, WNDPROC page_proc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = window_proc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kWindowClass;
  window_class.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  window_class.hIconSm = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  RegisterClassExW(&window_class);
  WNDCLASSEXW page_class = window_class;
  page_class.lpfnWndProc = page_proc;
  page_class.hIcon = nullptr;
  page_class.hIconSm = nullptr;
  page_class.lpszClassName = kPageClass;
  RegisterClassExW(&page_class);
  registered = true;
}

COLORREF ColourRef(std::uint32_t colour) {
  if ((colour & 0x80000000u) != 0) return GetSysColor(static_cast<int>(colour & 0xFFu));
  return static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

int LabelIndex(std::string_view name) {
  if (name == "lbInfo") return 0;
  if (name == "lbPrj") return 1;
  if (name == "lbCr") return 2;
  return -1;
}

// The place of `row` relative to the outer rectangle of the container of its container
// chain's outermost control on a page (SSTab1) or the window.
POINT OuterPlace(const ControlSpec& row) {
  POINT place{row.left, row.top};
  for (const ControlSpec* container = FindControlSpec(row.container);
       container != nullptr && std::string_view(container->name) != "SSTab1";
       container = FindControlSpec(container->container)) {
    place.x += container->left;
    place.y += container->top;
  }
  return place;
}

// `text` as it fits `width` pixels in `control`'s font, shortened by the window's one rule.
std::wstring Elided(HWND control, const std::wstring& text, int width) {
  HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  const TextWidth width_of = [dc](std::string_view part) {
    const std::wstring wide = Wide(part);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return static_cast<int>(extent.cx);
  };
  const std::string whole = Utf8(text);
  std::wstring shown = width_of(whole) <= width ? text : Wide(ElidePath(whole, width_of, width));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return shown;
}

}  // namespace

std::wstring DriveText(const fs::path& drive, std::wstring_view label) {
  std::wstring text = drive.native();
  while (!text.empty() && (text.back() == L'\\' || text.back() == L'/')) text.pop_back();
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  if (!label.empty()) text += L" [" + std::wstring(label) + L"]";
  return text;
}

Win32Window::Win32Window(DialogServices& dialogs, FileServices& files, std::optional<std::vector<fs::path>> drives)
    : dialogs_(dialogs), presenter_(*this, dialogs, files), fixed_drives_(std::move(drives)) {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClasses(instance, &Win32Window::WindowProc, &Win32Window::PageProc);
  for (std::size_t i = 0; i < label_colours_.size(); ++i) label_colours_[i] = ColourRef(LabelTable()[i].colour);
  const fs::path start = StartFolder();
  for (FolderListState& list : lists_) list = FolderListState(start);

  // Fixed size: a caption with the system menu and the close box only.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                            kClientWidth, kClientHeight, nullptr, nullptr, instance, this);
  if (window_ == nullptr) throw std::runtime_error("Fehler im Fensteraufbau: kein Hauptfenster");
  dpi_ = static_cast<int>(GetDpiForWindow(window_));
  if (dpi_ <= 0) dpi_ = 96;
  presenter_.ShowCaption();
  CreateControls();
  info_text_ = WindowText(Control("lbInfo"));
  MakeFonts();
  Layout();
  ReadDrives();
  FillDriveLists();
  for (Side side : {Side::kSource, Side::kTarget}) {
    FillFolderList(side, {});
    ShowDriveOf(side, lists_[Index(side)].Path());
  }
}

Win32Window::~Win32Window() {
  if (window_ != nullptr) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  if (default_font_ != nullptr) DeleteObject(default_font_);
  if (answer_font_ != nullptr) DeleteObject(answer_font_);
  if (toolbar_font_ != nullptr) DeleteObject(toolbar_font_);
  if (normal_images_ != nullptr) ImageList_Destroy(normal_images_);
  if (hot_images_ != nullptr) ImageList_Destroy(hot_images_);
}

int Win32Window::Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

void Win32Window::CreateControls() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto table = LayoutTable();
  controls_.assign(table.size(), nullptr);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ControlSpec& row = table[i];
    const std::wstring caption = Wide(row.caption);
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + static_cast<int>(i)));
    HWND parent = row.page == kNoPage ? window_ : pages_[static_cast<std::size_t>(row.page)];
    const DWORD child = WS_CHILD | WS_VISIBLE;
    HWND control = nullptr;
    switch (row.kind) {
      case ControlKind::kToolbar:
        control = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                                  child | TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN |
                                      CCS_NODIVIDER | TBSTYLE_TRANSPARENT,
                                  0, 0, 0, 0, parent, id, instance, nullptr);
        break;
      case ControlKind::kTabControl: {
        control = CreateWindowExW(WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"",
                                  child | WS_TABSTOP | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                                  id, instance, nullptr);
        tab_ = control;
        const auto captions = PageCaptions();
        for (std::size_t page = 0; page < captions.size(); ++page) {
          std::wstring text = Wide(captions[page]);
          TCITEMW item{};
          item.mask = TCIF_TEXT;
          item.pszText = text.data();
          SendMessageW(control, TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&item));
          pages_[page] = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                                         0, 0, control, nullptr, instance, nullptr);
        }
        SendMessageW(control, TCM_SETCURSEL, static_cast<WPARAM>(page_), 0);
        ShowWindow(pages_[static_cast<std::size_t>(page_)], SW_SHOW);
        break;
      }
      case ControlKind::kStatusBar:
        control = CreateWindowExW(0, STATUSCLASSNAMEW, L"", child | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 0, 0,
                                  parent, id, instance, nullptr);
        SendMessageW(control, SB_SIMPLE, TRUE, 0);
        break;
      case ControlKind::kFrame:
        control = CreateWindowExW(WS_EX_TRANSPARENT, L"BUTTON", caption.c_str(), child | BS_GROUPBOX, 0, 0, 0, 0,
                                  parent, id, instance, nullptr);
        break;
      case ControlKind::kFolderList:
        control = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                  child | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                      LBS_NOINTEGRALHEIGHT,
                                  0, 0, 0, 0, parent, id, instance, nullptr);
        break;
      case ControlKind::kDriveList:
        control = CreateWindowExW(0, L"COMBOBOX", L"", child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 0,
                                  0, parent, id, instance, nullptr);
        break;
      case ControlKind::kLabel:
        // lbInfo takes the mouse, for the tool tip of its shortened text.
        control = CreateWindowExW(0, L"STATIC", caption.c_str(),
                                  child | SS_CENTER | SS_NOPREFIX |
                                      (std::string_view(row.name) == "lbInfo" ? SS_NOTIFY : 0),
                                  0, 0, 0, 0, parent, id, instance, nullptr);
        break;
      case ControlKind::kPushButton:
        control = CreateWindowExW(0, L"BUTTON", caption.c_str(), child | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                                  parent, id, instance, nullptr);
        break;
    }
    if (control == nullptr)
      throw std::runtime_error(std::string("Fehler im Fensteraufbau: kein Steuerelement ") + row.name);
    controls_[i] = control;
  }

  // The toolbar's five buttons: image n of the normal list, of the hot list under the mouse
  // pointer, the caption beneath.
  HWND toolbar = Control("Toolbar1");
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, kImageSize));
  for (auto [list, resource] : {std::pair{&normal_images_, kNormalImagesResource}, std::pair{&hot_images_, kHotImagesResource}}) {
    *list = ImageList_Create(kImageSize, kImageSize, ILC_COLOR32, 5, 0);
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (*list != nullptr && strip != nullptr) ImageList_Add(*list, strip, nullptr);
    if (strip != nullptr) DeleteObject(strip);
  }
  SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal_images_));
  SendMessageW(toolbar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hot_images_));

  // One tool tip control for the two texts that may be shortened: lbInfo and the status bar.
  tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance,
                              nullptr);
  if (tooltips_ == nullptr) throw std::runtime_error("Fehler im Fensteraufbau: keine Tool-Tips");
  for (HWND control : {Control("lbInfo"), Control("StatusBar1")}) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(kToolbarButtonWidth, kToolbarButtonHeight));
  const auto captions = ToolbarCaptions();
  std::vector<std::wstring> texts;
  for (const char* caption : captions) texts.push_back(Wide(caption));
  std::vector<TBBUTTON> buttons(captions.size());
  for (std::size_t i = 0; i < captions.size(); ++i) {
    buttons[i].iBitmap = static_cast<int>(i);
    buttons[i].idCommand = kFirstToolbarId + static_cast<int>(i) + 1;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON;
    buttons[i].iString = reinterpret_cast<INT_PTR>(texts[i].c_str());
  }
  SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));

  // Tab order: the siblings of each parent in the order of their tab indexes.
  std::vector<std::size_t> order(table.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return table[a].tab_index < table[b].tab_index; });
  std::vector<std::pair<HWND, HWND>> last_of_parent;
  for (std::size_t i : order) {
    HWND parent = GetParent(controls_[i]);
    auto last = std::find_if(last_of_parent.begin(), last_of_parent.end(),
                             [parent](const auto& entry) { return entry.first == parent; });
    HWND after = last == last_of_parent.end() ? HWND_TOP : last->second;
    SetWindowPos(controls_[i], after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (last == last_of_parent.end())
      last_of_parent.emplace_back(parent, controls_[i]);
    else
      last->second = controls_[i];
  }
}

void Win32Window::MakeFonts() {
  if (default_font_ != nullptr) DeleteObject(default_font_);
  if (answer_font_ != nullptr) DeleteObject(answer_font_);
  if (toolbar_font_ != nullptr) DeleteObject(toolbar_font_);
  // The platform's default dialog font, at the window's DPI.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi_));
  default_font_ = CreateFontIndirectW(&metrics.lfMessageFont);
  const LabelSpec* answer = FindLabelSpec("lbPrj");
  answer_font_ = CreateFontW(-MulDiv(answer->point_size, dpi_, 72), 0, 0, 0, answer->weight, FALSE, FALSE, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, Wide(answer->font_family).c_str());
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const LabelSpec* label = FindLabelSpec(LayoutTable()[i].name);
    const HFONT font = label != nullptr && label->font_family != nullptr ? answer_font_ : default_font_;
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  SendMessageW(tab_, WM_SETFONT, reinterpret_cast<WPARAM>(default_font_), TRUE);
  // The toolbar's buttons are designed for the captions in "MS Sans Serif" 8 point: in the
  // wider message font (Tahoma) "Zielverzeichnis" is wider than its button and shortened.
  toolbar_font_ = CreateFontW(-MulDiv(8, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                              L"MS Sans Serif");
  SendMessageW(Control("Toolbar1"), WM_SETFONT, reinterpret_cast<WPARAM>(toolbar_font_), TRUE);
}

void Win32Window::Layout() {
  // The window's size for its client area: the frame as the system draws it now, around it.
  RECT outer{};
  RECT client{};
  GetWindowRect(window_, &outer);
  GetClientRect(window_, &client);
  SetWindowPos(window_, nullptr, 0, 0, Scaled(kClientWidth) + (outer.right - outer.left) - client.right,
               Scaled(kClientHeight) + (outer.bottom - outer.top) - client.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const ControlSpec& tab = *FindControlSpec("SSTab1");
  // The pages fill the tab control below its tab strip; a control's place on SSTab1 is
  // measured from the tab control's outer corner.
  const int page_left = Scaled(2);
  const int page_top = Scaled(kTabStripHeight) + Scaled(2);
  for (HWND page : pages_)
    SetWindowPos(page, nullptr, page_left, page_top, Scaled(tab.width) - 2 * page_left,
                 Scaled(tab.height) - page_top - Scaled(2), SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(tab_, TCM_SETITEMSIZE, 0, MAKELPARAM(0, Scaled(kTabStripHeight)));

  const auto table = LayoutTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const ControlSpec& row = table[i];
    const POINT place = OuterPlace(row);
    int left = Scaled(place.x);
    int top = Scaled(place.y);
    if (row.page != kNoPage) {
      left -= page_left;
      top -= page_top;
    }
    int height = Scaled(row.height);
    if (row.kind == ControlKind::kDriveList) {
      // The closed box has the designed height; the list drops below it.
      SendMessageW(controls_[i], CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Scaled(row.height) - Scaled(6));
      height = Scaled(row.height) + Scaled(200);
    }
    if (row.kind == ControlKind::kFolderList) {
      SendMessageW(controls_[i], LB_SETITEMHEIGHT, 0, Scaled(16));
    }
    SetWindowPos(controls_[i], nullptr, left, top, Scaled(row.width), height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (row.kind == ControlKind::kDriveList) {
      // The box's border does not grow with the DPI everywhere: the field makes up for it,
      // measured, in a few steps at most.
      for (int step = 0; step < 4; ++step) {
        RECT box{};
        GetWindowRect(controls_[i], &box);
        const int missing = Scaled(row.height) - static_cast<int>(box.bottom - box.top);
        const LRESULT field = SendMessageW(controls_[i], CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
        if (missing == 0 || field + missing <= 0) break;
        SendMessageW(controls_[i], CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + missing);
      }
    }
  }
  HWND toolbar = Control("Toolbar1");
  // Little padding, so that the captions have the button's width.
  SendMessageW(toolbar, TB_SETPADDING, 0, MAKELPARAM(Scaled(2), Scaled(6)));
  SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(Scaled(kToolbarButtonWidth), Scaled(kToolbarButtonHeight)));
  SendMessageW(toolbar, TB_SETBUTTONWIDTH, 0, MAKELPARAM(Scaled(kToolbarButtonWidth), Scaled(kToolbarButtonWidth)));
  // The shortened texts for the new size and fonts.
  ShowElided(Control("lbInfo"), info_text_);
  ShowElided(Control("StatusBar1"), status_text_);
  SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, Scaled(kClientWidth));
}

void Win32Window::ShowElided(HWND control, const std::wstring& whole) {
  RECT client{};
  GetClientRect(control, &client);
  const bool status_bar = control == Control("StatusBar1");
  // The status bar draws its text inside its borders, a few pixels in.
  const int width = client.right - (status_bar ? Scaled(8) : 0);
  const std::wstring shown = Elided(control, whole, width);
  if (status_bar)
    SendMessageW(control, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(shown.c_str()));
  else
    SetWindowTextW(control, shown.c_str());
  // The whole text as the tool tip only while it is shortened.
  std::wstring tip = shown == whole ? std::wstring() : whole;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = tip.data();
  SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Win32Window::ToolTipText(HWND control) const {
  std::wstring text(4096, L'\0');
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text.data();
  SendMessageW(tooltips_, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  text.resize(wcslen(text.c_str()));
  return text;
}

HWND Win32Window::Control(std::string_view name) const {
  const auto table = LayoutTable();
  for (std::size_t i = 0; i < table.size() && i < controls_.size(); ++i) {
    if (name == table[i].name) return controls_[i];
  }
  return nullptr;
}

HWND Win32Window::FolderList(Side side) const { return Control(side == Side::kSource ? "Dir1" : "Dir2"); }
HWND Win32Window::DriveList(Side side) const { return Control(side == Side::kSource ? "Drive1" : "Drive2"); }

void Win32Window::Form_Load() { presenter_.Form_Load(); }

void Win32Window::CenterOnScreen() {
  RECT frame{};
  GetWindowRect(window_, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Win32Window::PreTranslate(MSG& message) {
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
    for (Side side : {Side::kSource, Side::kTarget}) {
      if (message.hwnd == FolderList(side)) {
        OpenSelectedFolder(message.hwnd);
        return true;
      }
    }
  }
  return IsDialogMessageW(window_, &message) != FALSE;
}

// Folder lists.

void Win32Window::FillFolderList(Side side, const fs::path& selected) {
  HWND list = FolderList(side);
  auto& rows = rows_[Index(side)];
  rows = lists_[Index(side)].Rows();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const FolderRow& row : rows) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.name.c_str()));
  SendMessageW(list, LB_SETCURSEL, FolderListState::RowToSelect(rows, selected), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void Win32Window::OpenSelectedFolder(HWND list) {
  const Side side = list == FolderList(Side::kSource) ? Side::kSource : Side::kTarget;
  const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
  const auto& rows = rows_[Index(side)];
  if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return;
  // A folder that cannot be opened (gone meanwhile) leaves the list as it is.
  SetFolder(side, rows[static_cast<std::size_t>(row)].folder);
}

void Win32Window::RaiseDirChange(Side side) {
  if (side == Side::kSource)
    presenter_.Dir1_Change();
  else
    presenter_.Dir2_Change();
}

fs::path Win32Window::Folder(Side side) const { return lists_[Index(side)].Path(); }

bool Win32Window::SetFolder(Side side, const fs::path& path) {
  bool changed = false;
  if (!lists_[Index(side)].SetPath(path, &changed)) return false;
  FillFolderList(side, {});
  if (changed) RaiseDirChange(side);
  return true;
}

bool Win32Window::RefreshFolder(Side side) {
  HWND list = FolderList(side);
  const auto& rows = rows_[Index(side)];
  const LRESULT row = SendMessageW(list, LB_GETCURSEL, 0, 0);
  const fs::path selected =
      row >= 0 && static_cast<std::size_t>(row) < rows.size() ? rows[static_cast<std::size_t>(row)].folder : fs::path();
  const bool changed = lists_[Index(side)].Refresh();
  FillFolderList(side, changed ? fs::path() : selected);
  if (changed) RaiseDirChange(side);
  return changed;
}

void Win32Window::OnDrawFolderRow(const DRAWITEMSTRUCT& item) {
  const Side side = item.hwndItem == FolderList(Side::kSource) ? Side::kSource : Side::kTarget;
  const auto& rows = rows_[Index(side)];
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID < rows.size()) {
    const FolderRow& row = rows[item.itemID];
    RECT text = item.rcItem;
    text.left += Scaled(2 + kRowIndent * row.depth);
    // The folder mark: an open folder for the way down to the folder shown, a closed one below.
    RECT mark{text.left, text.top + Scaled(3), text.left + Scaled(12), text.bottom - Scaled(3)};
    HBRUSH yellow = CreateSolidBrush(RGB(0xE8, 0xC0, 0x40));
    FillRect(item.hDC, &mark, yellow);
    DeleteObject(yellow);
    FrameRect(item.hDC, &mark, GetSysColorBrush(COLOR_WINDOWTEXT));
    if (row.open) {
      RECT inner{mark.left + Scaled(2), mark.top + Scaled(2), mark.right - Scaled(2), mark.bottom - Scaled(2)};
      FillRect(item.hDC, &inner, GetSysColorBrush(COLOR_WINDOW));
    }
    text.left += Scaled(kFolderMark + 2);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(item.hDC, row.name.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
}

// Drive lists.

void Win32Window::ReadDrives() {
  if (fixed_drives_) {
    drives_ = *fixed_drives_;
    return;
  }
  drives_.clear();
  std::wstring buffer(512, L'\0');
  const DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length == 0 || length > buffer.size()) return;
  for (const wchar_t* drive = buffer.c_str(); *drive != L'\0'; drive += wcslen(drive) + 1) drives_.emplace_back(drive);
}

void Win32Window::FillDriveLists() {
  // A drive without a medium gives no label, and no box asking for one.
  const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  std::vector<std::wstring> texts;
  for (const fs::path& drive : drives_) {
    wchar_t label[MAX_PATH + 1] = L"";
    const UINT type = GetDriveTypeW(drive.c_str());
    if (type == DRIVE_FIXED || type == DRIVE_RAMDISK || type == DRIVE_REMOTE)
      if (!GetVolumeInformationW(drive.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
        label[0] = L'\0';
    texts.push_back(DriveText(drive, label));
  }
  SetErrorMode(old_mode);
  for (Side side : {Side::kSource, Side::kTarget}) {
    HWND list = DriveList(side);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& text : texts) SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (drive_row_[Index(side)] >= drives_.size()) drive_row_[Index(side)] = 0;
    SendMessageW(list, CB_SETCURSEL, drives_.empty() ? static_cast<WPARAM>(-1) : drive_row_[Index(side)], 0);
  }
}

void Win32Window::RereadDrives() {
  const fs::path shown[2] = {Drive(Side::kSource), Drive(Side::kTarget)};
  ReadDrives();
  for (Side side : {Side::kSource, Side::kTarget}) {
    // The drive shown keeps its row; one that is gone gives way to the drive of the folder.
    auto row = DriveRow(shown[Index(side)], drives_);
    if (!row) row = DriveRow(DriveOf(lists_[Index(side)].Path(), drives_), drives_);
    drive_row_[Index(side)] = row ? *row : 0;
  }
  FillDriveLists();
}

void Win32Window::OnDriveChosen(Side side) {
  const LRESULT row = SendMessageW(DriveList(side), CB_GETCURSEL, 0, 0);
  if (row < 0 || static_cast<std::size_t>(row) >= drives_.size() ||
      static_cast<std::size_t>(row) == drive_row_[Index(side)])
    return;
  drive_row_[Index(side)] = static_cast<std::size_t>(row);
  if (side == Side::kSource)
    presenter_.Drive1_Change();
  else
    presenter_.Drive2_Change();
}

fs::path Win32Window::Drive(Side side) const {
  return drives_.empty() ? fs::path() : drives_[drive_row_[Index(side)]];
}

void Win32Window::ShowDriveOf(Side side, const fs::path& folder) {
  const auto row = DriveRow(DriveOf(folder, drives_), drives_);
  if (!row) return;
  drive_row_[Index(side)] = *row;
  SendMessageW(DriveList(side), CB_SETCURSEL, *row, 0);
}

// The other displays.

void Win32Window::SetCaption(std::string_view text) { SetWindowTextW(window_, Wide(text).c_str()); }

void Win32Window::ShowAnswer(Side side, std::string_view text, std::uint32_t colour) {
  label_colours_[side == Side::kSource ? 1 : 2] = ColourRef(colour);
  HWND label = Control(side == Side::kSource ? "lbPrj" : "lbCr");
  SetWindowTextW(label, Wide(text).c_str());
  InvalidateRect(label, nullptr, TRUE);
}

void Win32Window::SetStatusText(std::string_view text) {
  status_text_ = Wide(text);
  ShowElided(Control("StatusBar1"), status_text_);
}

void Win32Window::SetInfoText(std::string_view text) {
  HWND label = Control("lbInfo");
  info_text_ = Wide(text);
  ShowElided(label, info_text_);
  InvalidateRect(label, nullptr, TRUE);
  UpdateWindow(label);
}

void Win32Window::SetPage(int page) {
  if (page == page_ || page < 0 || page >= static_cast<int>(pages_.size())) return;
  const int previous = page_;
  page_ = page;
  SendMessageW(tab_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  ShowWindow(pages_[static_cast<std::size_t>(page)], SW_SHOW);
  ShowWindow(pages_[static_cast<std::size_t>(previous)], SW_HIDE);
  presenter_.SSTab1_Click(previous);
}

bool Win32Window::ConvertEnabled() const { return IsWindowEnabled(Control("btnConvert(0)")) != FALSE; }

void Win32Window::SetConvertEnabled(bool enabled) { EnableWindow(Control("btnConvert(0)"), enabled ? TRUE : FALSE); }

void Win32Window::SetBusyPointer(bool busy) {
  busy_ = busy;
  dialogs_.SetMousePointer(busy ? kPointerBusy : kPointerNormal);
}

void Win32Window::Close() { SendMessageW(window_, WM_CLOSE, 0, 0); }

// Messages.

LRESULT CALLBACK Win32Window::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->window_ == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  return self->OnMessage(message, wparam, lparam);
}

LRESULT CALLBACK Win32Window::PageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      return Forward(window, message, wparam, lparam);
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT Win32Window::OnControlColour(HDC dc, HWND control) {
  for (const char* name : {"lbInfo", "lbPrj", "lbCr"}) {
    if (control == Control(name)) {
      SetTextColor(dc, label_colours_[static_cast<std::size_t>(LabelIndex(name))]);
      break;
    }
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void Win32Window::OnCommand(HWND control, int id, int code) {
  if (id > kFirstToolbarId && id <= kFirstToolbarId + static_cast<int>(ToolbarCaptions().size())) {
    presenter_.Toolbar1_ButtonClick(id - kFirstToolbarId);
    return;
  }
  for (Side side : {Side::kSource, Side::kTarget}) {
    if (control == DriveList(side)) {
      if (code == CBN_SELCHANGE) OnDriveChosen(side);
      // A drive added or removed since the list was filled shows when the list is opened.
      if (code == CBN_DROPDOWN) RereadDrives();
      return;
    }
    if (control == FolderList(side)) {
      if (code == LBN_DBLCLK) OpenSelectedFolder(control);
      return;
    }
  }
  if (code != BN_CLICKED) return;
  for (int index : {0, 1}) {
    if (control == Control(index == 0 ? "btnConvert(0)" : "btnConvert(1)")) presenter_.btnConvert_Click(index);
    if (control == Control(index == 0 ? "btnPath(0)" : "btnPath(1)")) presenter_.btnPath_Click(index);
  }
}

LRESULT Win32Window::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(reinterpret_cast<HWND>(lparam), LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->hwndFrom == tab_ && header->code == TCN_SELCHANGE) {
        const int chosen = static_cast<int>(SendMessageW(tab_, TCM_GETCURSEL, 0, 0));
        // The tab control shows the page already; SetPage brings its controls and the handler.
        const int previous = page_;
        if (chosen != previous && chosen >= 0) {
          page_ = chosen;
          ShowWindow(pages_[static_cast<std::size_t>(chosen)], SW_SHOW);
          ShowWindow(pages_[static_cast<std::size_t>(previous)], SW_HIDE);
          presenter_.SSTab1_Click(previous);
        }
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return OnControlColour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DRAWITEM:
      OnDrawFolderRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wparam);
      MakeFonts();
      Layout();
      const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      // During a pass the presenter keeps the window open until the pass has ended.
      if (presenter_.QueryClose() && !closed_) {
        closed_ = true;
        ShowWindow(window_, SW_HIDE);
        if (quit_on_close) PostQuitMessage(0);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace tavrin
