// The Win32 window under Wine: every control of the layout table at its place with its text,
// fonts and colours; messages to the controls drive the presenter's handlers and the displays
// follow; a conversion started from the window equals tavrin-convert.exe's output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "conversion/conversion_pass.h"
#include "runtime/path_text.h"
#include "tests/cli/folder_snapshot.h"
#include "tests/cli/tool_run.h"
#include "tests/support/temp_folder.h"
#include "tests/window/win32/win32_test_window.h"
#include "window/presenter/colours.h"
#include "window/presenter/convert_presenter.h"
#include "window/presenter/layout_table.h"

namespace fs = std::filesystem;
using tavrin::ControlKind;
using tavrin::Side;
using tavrin::Utf8;
using tavrin::testing::FolderSnapshot;
using tavrin::testing::TempFolder;
using tavrin::testing::Win32TestWindow;

namespace {

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// The outer rectangle of a control's container: the window's client area or the container.
RECT ContainerRect(const Win32TestWindow& w, const tavrin::ControlSpec& row) {
  if (*row.container != '\0') return ScreenRect(w[row.container]);
  RECT client{};
  GetClientRect(w.window.Handle(), &client);
  MapWindowPoints(w.window.Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring ExpectedClass(ControlKind kind) {
  switch (kind) {
    case ControlKind::kToolbar: return TOOLBARCLASSNAMEW;
    case ControlKind::kTabControl: return WC_TABCONTROLW;
    case ControlKind::kStatusBar: return STATUSCLASSNAMEW;
    case ControlKind::kFrame:
    case ControlKind::kPushButton: return L"Button";
    case ControlKind::kFolderList: return L"ListBox";
    case ControlKind::kDriveList: return L"ComboBox";
    case ControlKind::kLabel: return L"Static";
  }
  return {};
}

bool SameClass(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

// The text colour that `label`'s parent gives it when it paints.
COLORREF TextColourOf(HWND label) {
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
  const COLORREF colour = GetTextColor(dc);
  DeleteDC(dc);
  return colour;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

std::vector<std::string> ListRows(HWND list, UINT count_message, UINT text_message) {
  std::vector<std::string> rows;
  const auto count = SendMessageW(list, count_message, 0, 0);
  for (WPARAM row = 0; static_cast<LRESULT>(row) < count; ++row) {
    wchar_t text[MAX_PATH * 2] = L"";
    SendMessageW(list, text_message, row, reinterpret_cast<LPARAM>(text));
    rows.push_back(Utf8(text));
  }
  return rows;
}

std::vector<std::string> FolderRows(HWND list) { return ListRows(list, LB_GETCOUNT, LB_GETTEXT); }
std::vector<std::string> DriveRows(HWND list) { return ListRows(list, CB_GETCOUNT, CB_GETLBTEXT); }

int RowOf(const std::vector<std::string>& rows, const std::string& text) {
  const auto found = std::find(rows.begin(), rows.end(), text);
  return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

// The way folders and drives are shown in the status bar: with a separator at the end.
std::string Shown(const fs::path& folder) { return tavrin::PathText(folder) + "\\"; }

// Clicks tab `page` of SSTab1 as the tab control reports it.
void ClickTab(Win32TestWindow& w, int page) {
  HWND tab = w["SSTab1"];
  SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  NMHDR header{tab, static_cast<UINT_PTR>(GetDlgCtrlID(tab)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(GetParent(tab), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// Clicks toolbar button `index` (from 1): the toolbar's command to its parent.
void ClickToolbar(Win32TestWindow& w, int index) {
  HWND toolbar = w["Toolbar1"];
  TBBUTTON button{};
  ASSERT_TRUE(SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&button)));
  SendMessageW(GetParent(toolbar), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED),
               reinterpret_cast<LPARAM>(toolbar));
}

TEST(Win32Window, OpensWithTheDesignedCaptionSizeAndIcon) {
  TempFolder tree;
  Win32TestWindow w(tree.path());
  EXPECT_EQ(Utf8(tavrin::WindowText(w.window.Handle())), std::string(tavrin::kWindowCaption));
  ASSERT_EQ(w.window.Dpi(), 96) << "the geometry below is the design's at 96 DPI";
  RECT client{};
  GetClientRect(w.window.Handle(), &client);
  EXPECT_EQ(client.right, tavrin::kClientWidth);
  EXPECT_EQ(client.bottom, tavrin::kClientHeight);
  const LONG style = GetWindowLongW(w.window.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0) << "fixed size, no minimize or maximize";
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_NE(GetClassLongPtrW(w.window.Handle(), GCLP_HICON), 0) << "the icon resource";
  EXPECT_NE(GetClassLongPtrW(w.window.Handle(), GCLP_HICONSM), 0);
  EXPECT_TRUE(IsWindowVisible(w.window.Handle()));
  // The Load handler brought page 0 to the front.
  EXPECT_EQ(w.window.Page(), 0);
  EXPECT_EQ(SendMessageW(w["SSTab1"], TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(w.Status(), Shown(tree.path()));
}

TEST(Win32Window, EveryControlAtItsDesignedPlaceWithItsText) {
  TempFolder tree;
  Win32TestWindow w(tree.path(), std::nullopt, /*load=*/false);
  ASSERT_EQ(w.window.Dpi(), 96);
  for (const tavrin::ControlSpec& row : tavrin::LayoutTable()) {
    SCOPED_TRACE(row.name);
    HWND control = w[row.name];
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(SameClass(ClassOf(control), ExpectedClass(row.kind))) << Utf8(ClassOf(control));
    const RECT outer = ContainerRect(w, row);
    const RECT rect = ScreenRect(control);
    EXPECT_EQ(rect.left - outer.left, row.left);
    EXPECT_EQ(rect.top - outer.top, row.top);
    EXPECT_EQ(rect.right - rect.left, row.width);
    EXPECT_EQ(rect.bottom - rect.top, row.height);
    if (row.kind == ControlKind::kFrame || row.kind == ControlKind::kPushButton ||
        (row.kind == ControlKind::kLabel && std::string_view(row.name) == "lbInfo")) {
      EXPECT_EQ(w.Text(row.name), row.caption);
    }
    // On its page: a child of the page window of SSTab1, shown only with its page.
    if (row.page != tavrin::kNoPage) {
      EXPECT_EQ(GetParent(control), w.window.PageWindow(row.page));
      EXPECT_EQ(GetParent(GetParent(control)), w["SSTab1"]);
      EXPECT_EQ(IsWindowVisible(control) != FALSE, row.page == 2) << "page 2 in front as created";
    }
  }
  // The tab strip and the toolbar.
  const auto pages = tavrin::PageCaptions();
  ASSERT_EQ(SendMessageW(w["SSTab1"], TCM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(pages.size()));
  for (std::size_t page = 0; page < pages.size(); ++page) {
    wchar_t text[64] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(w["SSTab1"], TCM_GETITEMW, page, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(Utf8(text), pages[page]);
    RECT tab_rect{};
    SendMessageW(w["SSTab1"], TCM_GETITEMRECT, page, reinterpret_cast<LPARAM>(&tab_rect));
    EXPECT_LE(tab_rect.bottom, tavrin::kTabStripHeight + 2) << "the tab strip's height";
  }
  const auto captions = tavrin::ToolbarCaptions();
  ASSERT_EQ(SendMessageW(w["Toolbar1"], TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(captions.size()));
  for (std::size_t index = 0; index < captions.size(); ++index) {
    TBBUTTON button{};
    SendMessageW(w["Toolbar1"], TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
    wchar_t text[64] = L"";
    SendMessageW(w["Toolbar1"], TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand), reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(Utf8(text), captions[index]);
    RECT button_rect{};
    SendMessageW(w["Toolbar1"], TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button_rect));
    EXPECT_EQ(button_rect.right - button_rect.left, tavrin::kToolbarButtonWidth);
    EXPECT_EQ(button_rect.bottom - button_rect.top, tavrin::kToolbarButtonHeight);
  }
  // The labels' fonts and colours: lbPrj and lbCr "MS Sans Serif" 12 point bold, in red
  // while they say "Nein"; lbInfo in the default font, purple.
  for (const tavrin::LabelSpec& label : tavrin::LabelTable()) {
    SCOPED_TRACE(label.name);
    const LOGFONTW font = FontOf(w[label.name]);
    if (label.font_family != nullptr) {
      EXPECT_EQ(Utf8(font.lfFaceName), label.font_family);
      EXPECT_EQ(font.lfHeight, -MulDiv(label.point_size, 96, 72));
      EXPECT_EQ(font.lfWeight, label.weight);
      EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
    } else {
      EXPECT_EQ(font.lfWeight, FontOf(w["Frame1"]).lfWeight);
      EXPECT_EQ(Utf8(font.lfFaceName), Utf8(FontOf(w["Frame1"]).lfFaceName)) << "the default font";
    }
    EXPECT_EQ(TextColourOf(w[label.name]), label.colour);
    EXPECT_NE(GetWindowLongW(w[label.name], GWL_STYLE) & SS_CENTER, 0);
  }
  EXPECT_EQ(w.Text("lbPrj"), "Nein");
  EXPECT_EQ(w.Text("lbCr"), "Nein");
  EXPECT_EQ(w.Status(), "");
}

// Each toolbar caption whole within its button, as the toolbar's font measures it: the toolbar
// draws the caption in the button less an edge on either side and shortens one that is wider
// ("Zielverzeic...").
TEST(Win32Window, ToolbarCaptionsFitTheirButtons) {
  TempFolder temp;
  Win32TestWindow w(temp.path());
  HWND toolbar = w["Toolbar1"];
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(toolbar, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr) << "the toolbar's font";
  HDC dc = GetDC(toolbar);
  HGDIOBJ old = SelectObject(dc, font);
  const int edge = GetSystemMetrics(SM_CXEDGE);
  const auto captions = tavrin::ToolbarCaptions();
  for (std::size_t index = 0; index < captions.size(); ++index) {
    SCOPED_TRACE(captions[index]);
    RECT button{};
    ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)));
    const std::wstring caption = tavrin::Wide(captions[index]);
    SIZE extent{};
    ASSERT_TRUE(GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent));
    EXPECT_EQ(button.right - button.left, tavrin::kToolbarButtonWidth);
    EXPECT_LE(extent.cx, button.right - button.left - 2 * edge) << "the caption's width";
    // Beneath the 16-pixel image, within the button's height.
    EXPECT_LE(16 + extent.cy, button.bottom - button.top) << "the caption's height";
  }
  SelectObject(dc, old);
  ReleaseDC(toolbar, dc);
}

// lbInfo and the status bar shorten a text too wide for them and then have the whole text as
// their tool tip; a text that fits stands whole, without a tool tip, also after a long one.
TEST(Win32Window, ShortenedTextsHaveTheWholeTextAsToolTip) {
  TempFolder temp;
  Win32TestWindow w(temp.path());
  std::string path = "C:\\Projekte";
  for (int level = 0; level < 12; ++level) path += "\\Langer_Verzeichnisname_" + std::to_string(level);
  const std::string long_text = "Bearbeite: " + path + "\\frmHaupt.frm [12]...";
  const std::string short_text = "keine Bearbeitung aktiv...";
  struct Case {
    const char* name;
    void (tavrin::Win32Window::*set)(std::string_view);
  };
  for (const Case& c : {Case{"lbInfo", &tavrin::Win32Window::SetInfoText},
                        Case{"StatusBar1", &tavrin::Win32Window::SetStatusText}}) {
    SCOPED_TRACE(c.name);
    const auto shown = [&] { return std::string(c.name) == "lbInfo" ? w.Text("lbInfo") : w.Status(); };
    (w.window.*c.set)(long_text);
    w.Pump();
    EXPECT_NE(shown(), long_text);
    EXPECT_NE(shown().find("\u2026"), std::string::npos) << shown();
    EXPECT_EQ(shown().rfind("frmHaupt.frm [12]..."), shown().size() - 20) << shown();
    EXPECT_EQ(Utf8(w.window.ToolTipText(w[c.name])), long_text);
    (w.window.*c.set)(short_text);
    w.Pump();
    EXPECT_EQ(shown(), short_text);
    EXPECT_EQ(Utf8(w.window.ToolTipText(w[c.name])), "");
  }
}

// The toolbar's client area as it paints itself.
std::vector<std::uint32_t> PaintedPixels(HWND toolbar) {
  RECT client{};
  GetClientRect(toolbar, &client);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(toolbar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> copy(pixels, pixels + client.right * client.bottom);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return copy;
}

TEST(Win32Window, ToolbarShowsItsImagesAndTheHotOneUnderThePointer) {
  TempFolder tree;
  Win32TestWindow w(tree.path());
  HWND toolbar = w["Toolbar1"];
  const auto normal = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
  const auto hot = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETHOTIMAGELIST, 0, 0));
  for (HIMAGELIST list : {normal, hot}) {
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 5);
    int width = 0, height = 0;
    ImageList_GetIconSize(list, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
  }
  for (int index = 0; index < 5; ++index) {
    TBBUTTON button{};
    SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(button.iBitmap, index);
  }
  // Button 2 under the pointer paints its hot image: the card index, not the folder with the
  // magnifying glass; only button 2 changes.
  SendMessageW(toolbar, TB_SETHOTITEM, 1, 0);
  const std::vector<std::uint32_t> with_hot_images = PaintedPixels(toolbar);
  SendMessageW(toolbar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(normal));
  const std::vector<std::uint32_t> with_normal_images = PaintedPixels(toolbar);
  SendMessageW(toolbar, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hot));
  ASSERT_EQ(with_hot_images.size(), with_normal_images.size());
  RECT second{};
  SendMessageW(toolbar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  RECT client{};
  GetClientRect(toolbar, &client);
  int inside = 0, outside = 0;
  for (std::size_t i = 0; i < with_hot_images.size(); ++i) {
    if (with_hot_images[i] == with_normal_images[i]) continue;
    const POINT at{static_cast<LONG>(i % static_cast<std::size_t>(client.right)),
                   static_cast<LONG>(i / static_cast<std::size_t>(client.right))};
    (PtInRect(&second, at) ? inside : outside) += 1;
  }
  EXPECT_GT(inside, 20) << "the hot image differs from the normal one in many pixels";
  EXPECT_EQ(outside, 0);
}

TEST(Win32Window, ScalesToTheMonitorDpi) {
  TempFolder tree;
  Win32TestWindow w(tree.path());
  // The window moved to a monitor of 144 DPI.
  RECT suggested{10, 10, 700, 600};
  SendMessageW(w.window.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ASSERT_EQ(w.window.Dpi(), 144);
  const auto scaled = [](int pixels) { return MulDiv(pixels, 144, 96); };
  RECT client{};
  GetClientRect(w.window.Handle(), &client);
  EXPECT_NEAR(client.right, scaled(tavrin::kClientWidth), 2);
  EXPECT_NEAR(client.bottom, scaled(tavrin::kClientHeight), 2);
  for (const tavrin::ControlSpec& row : tavrin::LayoutTable()) {
    SCOPED_TRACE(row.name);
    const RECT outer = ContainerRect(w, row);
    const RECT rect = ScreenRect(w[row.name]);
    // Within a pixel: places inside frames are rounded as a whole. A drive list is at least
    // as high as its font needs, which does not scale exactly.
    EXPECT_NEAR(rect.left - outer.left, scaled(row.left), 1);
    EXPECT_NEAR(rect.top - outer.top, scaled(row.top), 1);
    EXPECT_NEAR(rect.right - rect.left, scaled(row.width), 1);
    EXPECT_NEAR(rect.bottom - rect.top, scaled(row.height), row.kind == ControlKind::kDriveList ? 2 : 1);
  }
  EXPECT_EQ(FontOf(w["lbPrj"]).lfHeight, -MulDiv(12, 144, 72));
}

TEST(Win32Window, TabsAndToolbarBringPagesToTheFront) {
  TempFolder tree;
  Win32TestWindow w(tree.path());
  ClickTab(w, 1);
  EXPECT_EQ(w.window.Page(), 1);
  EXPECT_TRUE(IsWindowVisible(w["Dir2"]));
  EXPECT_FALSE(IsWindowVisible(w["Dir1"]));
  ClickToolbar(w, 3);  // Konvertierung
  EXPECT_EQ(w.window.Page(), 2);
  EXPECT_EQ(SendMessageW(w["SSTab1"], TCM_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(IsWindowVisible(w["btnConvert(0)"]));
  EXPECT_FALSE(IsWindowVisible(w["Dir2"]));
  ClickToolbar(w, 1);  // Projekt
  EXPECT_EQ(w.window.Page(), 0);
  EXPECT_TRUE(IsWindowVisible(w["Dir1"]));
  EXPECT_TRUE(w.dialogs.shown().empty());
}

TEST(Win32Window, FolderListsOpenWithDoubleClickAndEnter) {
  TempFolder tree;
  const fs::path project = tree.MakeFolder(fs::path(L"Projekt äöü Кириллица"));
  tree.WriteFile(fs::path(L"Projekt äöü Кириллица") / "A.vbp", "Type=Exe\r\nForm=F.frm\r\n");
  tree.MakeFolder(fs::path(L"Projekt äöü Кириллица") / "Unter");
  tree.MakeFolder("Zweiter");
  Win32TestWindow w(tree.path());
  HWND dir1 = w["Dir1"];
  std::vector<std::string> rows = FolderRows(dir1);
  // The way down to the folder shown, then its subfolders in name order.
  ASSERT_GE(rows.size(), 3u);
  EXPECT_EQ(rows[rows.size() - 3], Utf8(tree.path().filename().wstring()));
  EXPECT_EQ(rows[rows.size() - 2], "Projekt äöü Кириллица");
  EXPECT_EQ(rows.back(), "Zweiter");
  EXPECT_EQ(SendMessageW(dir1, LB_GETCURSEL, 0, 0), static_cast<LRESULT>(rows.size() - 3));

  // A double click opens the row's folder: lbPrj and the status bar follow.
  SendMessageW(dir1, LB_SETCURSEL, rows.size() - 2, 0);
  EXPECT_EQ(w.window.Folder(Side::kSource), tree.path()) << "a selection alone opens nothing";
  w.Notify("Dir1", LBN_DBLCLK);
  EXPECT_EQ(w.window.Folder(Side::kSource), project);
  EXPECT_EQ(w.Text("lbPrj"), "Ja");
  EXPECT_EQ(TextColourOf(w["lbPrj"]), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(w.Status(), Shown(project));
  rows = FolderRows(dir1);
  EXPECT_EQ(rows.back(), "Unter");

  // Enter opens the selected row: here the folder above.
  SendMessageW(dir1, LB_SETCURSEL, rows.size() - 3, 0);
  MSG enter{dir1, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(w.window.PreTranslate(enter));
  EXPECT_EQ(w.window.Folder(Side::kSource), tree.path());
  EXPECT_EQ(w.Text("lbPrj"), "Nein");
  EXPECT_EQ(TextColourOf(w["lbPrj"]), static_cast<COLORREF>(tavrin::kColourRed));
  EXPECT_EQ(w.Status(), Shown(tree.path()));
  EXPECT_TRUE(w.dialogs.shown().empty());
}

TEST(Win32Window, DriveListsShowTheDrivesAndChangeTheFolder) {
  TempFolder tree;
  // The machine's drives, "c: [Label]" as Windows users know them.
  {
    Win32TestWindow w(tree.path());
    wchar_t drives[512] = L"";
    ASSERT_NE(GetLogicalDriveStringsW(512, drives), 0u);
    std::vector<std::string> expected;
    for (const wchar_t* drive = drives; *drive != L'\0'; drive += wcslen(drive) + 1) {
      wchar_t label[MAX_PATH + 1] = L"";
      std::string text = Utf8(std::wstring(drive, 2));
      text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
      if (GetDriveTypeW(drive) == DRIVE_FIXED &&
          GetVolumeInformationW(drive, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) && *label != 0)
        text += " [" + Utf8(label) + "]";
      expected.push_back(text);
    }
    EXPECT_EQ(DriveRows(w["Drive1"]), expected);
    EXPECT_EQ(DriveRows(w["Drive2"]), expected);
    const int shown = static_cast<int>(SendMessageW(w["Drive1"], CB_GETCURSEL, 0, 0));
    ASSERT_GE(shown, 0);
    std::string own = Utf8(tree.path().root_name().wstring());
    own[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(own[0])));
    EXPECT_EQ(expected[static_cast<std::size_t>(shown)].substr(0, 2), own) << "the drive of the folder shown";
  }
  // Picking a drive opens its root; a drive that cannot be read says so and the list returns
  // to the drive of the folder shown.
  const fs::path own_drive = tree.path().root_path();
  const fs::path missing = L"Q:\\";
  ASSERT_FALSE(fs::exists(missing));
  Win32TestWindow w(tree.path(), std::vector<fs::path>{own_drive, missing});
  EXPECT_EQ(DriveRows(w["Drive1"]).size(), 2u);
  EXPECT_EQ(DriveRows(w["Drive1"])[1], "q:");
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  SendMessageW(w["Drive1"], CB_SETCURSEL, 1, 0);
  w.Notify("Drive1", CBN_SELCHANGE);
  ASSERT_EQ(w.dialogs.shown().size(), 1u);
  EXPECT_EQ(w.dialogs.shown()[0].text, tavrin::DriveUnreadableMessage(missing));
  EXPECT_EQ(w.dialogs.shown()[0].title, std::string(tavrin::kDriveTitle));
  EXPECT_EQ(SendMessageW(w["Drive1"], CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(w.window.Folder(Side::kSource), tree.path());
  // The target's drive list opens the root of its drive.
  Win32TestWindow other(tree.path(), std::vector<fs::path>{missing, own_drive});
  EXPECT_EQ(SendMessageW(other["Drive2"], CB_GETCURSEL, 0, 0), 1);
  SendMessageW(other["Drive2"], CB_SETCURSEL, 0, 0);
  other.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);
  other.Notify("Drive2", CBN_SELCHANGE);
  EXPECT_EQ(other.window.Folder(Side::kTarget), tree.path());
  SendMessageW(other["Drive2"], CB_SETCURSEL, 1, 0);
  other.Notify("Drive2", CBN_SELCHANGE);  // the same drive: nothing changes
  EXPECT_EQ(other.window.Folder(Side::kTarget), tree.path());
  EXPECT_TRUE(w.dialogs.script_used_up());
  EXPECT_TRUE(other.dialogs.script_used_up());
}

TEST(Win32Window, AnOpenedDriveListShowsTheDrivesOfNow) {
  TempFolder tree;
  Win32TestWindow w(tree.path());
  const std::vector<std::string> at_start = DriveRows(w["Drive1"]);
  const LRESULT shown = SendMessageW(w["Drive1"], CB_GETCURSEL, 0, 0);
  // A drive mapped after the start shows when the list is opened; the drive shown stays.
  wchar_t letter = 0;
  for (wchar_t candidate = L'R'; candidate <= L'Y' && letter == 0; ++candidate) {
    const wchar_t root[] = {candidate, L':', L'\\', 0};
    if (GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR) letter = candidate;
  }
  ASSERT_NE(letter, 0);
  const std::wstring device = {letter, L':'};
  ASSERT_TRUE(DefineDosDeviceW(0, device.c_str(), tree.path().c_str()));
  w.Notify("Drive1", CBN_DROPDOWN);
  const std::vector<std::string> with_drive = DriveRows(w["Drive1"]);
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
  EXPECT_EQ(with_drive.size(), at_start.size() + 1);
  std::string added = Utf8(device);
  added[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(added[0])));
  EXPECT_NE(std::find_if(with_drive.begin(), with_drive.end(),
                         [&](const std::string& row) { return row.rfind(added, 0) == 0; }),
            with_drive.end());
  EXPECT_EQ(with_drive[static_cast<std::size_t>(SendMessageW(w["Drive1"], CB_GETCURSEL, 0, 0))],
            at_start[static_cast<std::size_t>(shown)]);
  EXPECT_EQ(w.window.Folder(Side::kSource), tree.path());
}

TEST(Win32Window, ConversionFromTheWindowEqualsTavrinConvert) {
  TempFolder tree;
  const fs::path source = tree.path() / "Beispiel";
  fs::copy(tavrin::testing::ExamplesFolder() / "Beispiel", source, fs::copy_options::recursive);
  const fs::path target = tree.MakeFolder("Ziel");
  const fs::path tool_target = tree.MakeFolder("Ziel-Werkzeug");
  Win32TestWindow w(tree.path());

  // Source and target opened in their lists, then Konvertieren clicked on its page.
  ASSERT_TRUE(w.window.SetFolder(Side::kSource, source));
  EXPECT_EQ(w.Text("lbPrj"), "Ja");
  ClickTab(w, 1);
  HWND dir2 = w["Dir2"];
  const int row = RowOf(FolderRows(dir2), "Ziel");
  ASSERT_GE(row, 0);
  SendMessageW(dir2, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  w.Notify("Dir2", LBN_DBLCLK);
  EXPECT_EQ(w.window.Folder(Side::kTarget), target);
  EXPECT_EQ(w.Text("lbCr"), "Ja");
  ClickTab(w, 2);
  ASSERT_TRUE(w.window.ConvertEnabled());
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);  // the hints
  SendMessageW(w["btnConvert(0)"], BM_CLICK, 0, 0);

  const tavrin::testing::ToolRun run = tavrin::testing::RunTool({tavrin::PathText(source), tavrin::PathText(tool_target)});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(FolderSnapshot(target), FolderSnapshot(tool_target));
  EXPECT_EQ(FolderSnapshot(target), FolderSnapshot(tavrin::testing::ExpectedFolder() / "Beispiel"));
  EXPECT_EQ(FolderSnapshot(source), FolderSnapshot(tavrin::testing::ExamplesFolder() / "Beispiel"));
  // The displays after the pass.
  EXPECT_EQ(w.Text("lbInfo"), "Bearbeite: Konvertierung abgeschlossen......");
  EXPECT_EQ(w.Text("lbCr"), "Nein");
  EXPECT_EQ(w.Status(), Shown(target));
  EXPECT_EQ(w.dialogs.pointers(), (std::vector<int>{tavrin::kPointerBusy, tavrin::kPointerNormal}));
  ASSERT_EQ(w.dialogs.shown().size(), 1u);
  EXPECT_EQ(w.dialogs.shown()[0].title, "Konvertierungshinweise");
  EXPECT_TRUE(w.dialogs.script_used_up());
  EXPECT_FALSE(w.window.Presenter().converting());
  // Closing the window after the pass closes it at once.
  w.window.Close();
  EXPECT_TRUE(w.window.Closed());
  EXPECT_FALSE(IsWindowVisible(w.window.Handle()));
}

TEST(Win32Window, ControlsOfAPageFollowTheTabOrder) {
  TempFolder tree;
  Win32TestWindow w(tree.path());
  // On page 1: Frame3 (5), Dir2 (6), Drive2 (7), btnPath(0) (9), btnPath(1) (10), Frame5 (15), lbCr
  // (16) as siblings; lbCr's frame and label come after the buttons.
  std::vector<std::string> names;
  for (HWND child = GetWindow(w.window.PageWindow(1), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    for (const tavrin::ControlSpec& row : tavrin::LayoutTable()) {
      if (w[row.name] == child) names.push_back(row.name);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Frame3", "Dir2", "Drive2", "btnPath(0)", "btnPath(1)", "Frame5", "lbCr"}));
  // Tab from the folder list goes to the drive list.
  ClickTab(w, 1);
  SetFocus(w["Dir2"]);
  EXPECT_EQ(GetNextDlgTabItem(w.window.Handle(), w["Dir2"], FALSE), w["Drive2"]);
}

TEST(Win32Window, ClosingDuringAPassWaitsAndSaysSo) {
  TempFolder tree;
  const fs::path source = tree.path() / "Beispiel";
  fs::copy(tavrin::testing::ExamplesFolder() / "Beispiel", source, fs::copy_options::recursive);
  const fs::path target = tree.MakeFolder("Ziel");
  Win32TestWindow w(tree.path());
  ASSERT_TRUE(w.window.SetFolder(Side::kSource, source));
  ASSERT_TRUE(w.window.SetFolder(Side::kTarget, target));
  bool open_during_pass = false;
  std::string status_during_pass;
  w.dialogs.during_do_events = [&] {
    if (status_during_pass.empty()) {
      SendMessageW(w.window.Handle(), WM_CLOSE, 0, 0);  // the close box
      open_during_pass = IsWindowVisible(w.window.Handle()) && !w.window.Closed();
      status_during_pass = w.Status();
    }
  };
  w.dialogs.AnswerNextMessageBox(tavrin::kAnswerOk);  // the hints
  ClickToolbar(w, 3);
  EXPECT_TRUE(open_during_pass);
  EXPECT_EQ(status_during_pass, std::string(tavrin::kClosingAfterPass));
  EXPECT_TRUE(w.window.Closed()) << "closed once the pass had ended";
  EXPECT_FALSE(IsWindowVisible(w.window.Handle()));
  EXPECT_EQ(FolderSnapshot(target), FolderSnapshot(tavrin::testing::ExpectedFolder() / "Beispiel"));
}

}  // namespace
