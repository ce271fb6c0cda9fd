#pragma once

#include <windows.h>
#include <commctrl.h>
// The dialog services' MessageBox is ours, not the macro for MessageBoxW.
#undef MessageBox

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/dialog_services.h"
#include "runtime/file_services.h"
#include "window/presenter/convert_presenter.h"
#include "window/presenter/folder_list_state.h"
#include "window/presenter/layout_table.h"
#include "window/presenter/window_view.h"

namespace tavrin {

// The main window drawn with the Win32 controls (user32, comctl32 version 6): the controls of
// the layout table, scaled from 96 DPI to the monitor's, forwarding their events to the
// presenter. The pages of SSTab1 are child windows of the tab control; the controls of a frame
// are siblings of the frame on its page, placed relative to it.
class Win32Window : public WindowView {
 public:
  // Creates the window, hidden. `drives` replaces the machine's drives (for tests). Throws
  // std::runtime_error when a control cannot be created.
  Win32Window(DialogServices& dialogs, FileServices& files,
              std::optional<std::vector<std::filesystem::path>> drives = std::nullopt);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND Handle() const { return window_; }
  // The control of the layout table named `name`, or nullptr.
  HWND Control(std::string_view name) const;
  // The child window of SSTab1 that holds the controls of `page`.
  HWND PageWindow(int page) const { return pages_[static_cast<std::size_t>(page)]; }
  // The tool tip of `control` (lbInfo, StatusBar1): its whole text while the control shows it
  // shortened, else empty.
  std::wstring ToolTipText(HWND control) const;
  // The window's scale: its DPI over 96.
  int Dpi() const { return dpi_; }
  ConvertPresenter& Presenter() { return presenter_; }
  // True once the window has been closed (it is hidden then).
  bool Closed() const { return closed_; }
  // Whether closing the window ends the thread's message loop.
  bool quit_on_close = false;

  // Runs the Load handler and centres the window on its monitor.
  void Form_Load();
  void CenterOnScreen();
  // Lets `message` take its way through the keyboard navigation and the folder lists' Enter
  // key; false when the message is still to be dispatched.
  bool PreTranslate(MSG& message);

  // WindowView.
  void SetCaption(std::string_view text) override;
  std::filesystem::path Folder(Side side) const override;
  bool SetFolder(Side side, const std::filesystem::path& path) override;
  bool RefreshFolder(Side side) override;
  std::filesystem::path Drive(Side side) const override;
  void ShowDriveOf(Side side, const std::filesystem::path& folder) override;
  void ShowAnswer(Side side, std::string_view text, std::uint32_t colour) override;
  void SetStatusText(std::string_view text) override;
  void SetInfoText(std::string_view text) override;
  int Page() const override { return page_; }
  void SetPage(int page) override;
  bool ConvertEnabled() const override;
  void SetConvertEnabled(bool enabled) override;
  void SetBusyPointer(bool busy) override;
  void Close() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnControlColour(HDC dc, HWND control);
  void OnCommand(HWND control, int id, int code);
  void OnDrawFolderRow(const DRAWITEMSTRUCT& item);

  void CreateControls();
  // Places every control and sets the fonts for the window's DPI.
  void Layout();
  int Scaled(int pixels) const;
  void MakeFonts();
  // Shows `whole` in `control`, shortened to its width, with the tool tip that goes with it.
  void ShowElided(HWND control, const std::wstring& whole);

  static std::size_t Index(Side side) { return side == Side::kSource ? 0 : 1; }
  HWND FolderList(Side side) const;
  HWND DriveList(Side side) const;
  // Reads the folder list's rows again and selects `selected`'s row (else the folder shown's).
  void FillFolderList(Side side, const std::filesystem::path& selected);
  void OpenSelectedFolder(HWND list);
  void RaiseDirChange(Side side);
  void ReadDrives();
  void FillDriveLists();
  // Reads the drives again; each list keeps the drive it shows while the drive is there.
  void RereadDrives();
  void OnDriveChosen(Side side);

  DialogServices& dialogs_;
  ConvertPresenter presenter_;
  HWND window_ = nullptr;
  HWND tab_ = nullptr;
  std::array<HWND, 3> pages_{};
  std::vector<HWND> controls_;  // in the order of LayoutTable()
  int dpi_ = 96;
  int page_ = 2;
  HFONT default_font_ = nullptr;
  HFONT answer_font_ = nullptr;
  HFONT toolbar_font_ = nullptr;
  HWND tooltips_ = nullptr;
  // The whole texts of lbInfo and the status bar, which may show them shortened.
  std::wstring info_text_;
  std::wstring status_text_;
  HIMAGELIST normal_images_ = nullptr;
  HIMAGELIST hot_images_ = nullptr;
  std::array<COLORREF, 3> label_colours_{};  // lbInfo, lbPrj, lbCr
  bool busy_ = false;
  bool closed_ = false;

  std::optional<std::vector<std::filesystem::path>> fixed_drives_;
  std::vector<std::filesystem::path> drives_;
  std::array<std::size_t, 2> drive_row_{};
  std::array<FolderListState, 2> lists_;
  std::array<std::vector<FolderRow>, 2> rows_;
};

// The text of a drive as a drive list shows it: "c: [Label]", or "c:" without a label.
std::wstring DriveText(const std::filesystem::path& drive, std::wstring_view label);

}  // namespace tavrin
