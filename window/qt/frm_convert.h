#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "conversion/conversion_request.h"
#include "runtime/dialog_services.h"
#include "runtime/file_services.h"
#include "window/qt/image_list.h"
#include "window/qt/lists/drive_list.h"
#include "window/qt/lists/folder_list.h"
#include "window/presenter/convert_presenter.h"
#include "window/presenter/layout_table.h"
#include "window/presenter/window_view.h"
#include "window/qt/status_bar.h"
#include "window/qt/tab_control.h"
#include "window/qt/tool_bar.h"
#include "window/qt/window_controls.h"

namespace tavrin {

// The main window drawn with Qt: one view of the window's behaviour (ConvertPresenter), which
// it holds. Its controls carry the object names of the layout table ("Dir1", "btnConvert(0)",
// ...) and raise the presenter's handlers; the handlers below run them as the controls do.
class frmConvert : public QWidget, public WindowView {
  Q_OBJECT

 public:
  // Creates the window with its controls in their initial state (page 2 in front, the
  // labels reading "Nein"); Form_Load runs when the window is first shown, or earlier when
  // called. `drives`, when given, replaces the machine's drives in both drive lists.
  frmConvert(DialogServices& dialogs, FileServices& files,
             std::optional<std::vector<std::filesystem::path>> drives = std::nullopt, QWidget* parent = nullptr);

  // The source and target folder paths: what Dir1 and Dir2 show, ending in a separator.
  std::filesystem::path QuellPfad() { return presenter_.QuellPfad(); }
  std::filesystem::path ZielPfad() { return presenter_.ZielPfad(); }

  // Writes "Bearbeite: <text> [<wert>]..." (or without the number when `wert` is 0) into
  // lbInfo and repaints it at once. `text` is UTF-8.
  void WriteInfo(std::string_view text, std::int32_t wert) { presenter_.WriteInfo(text, wert); }

  void DoEvents() { presenter_.DoEvents(); }
  void SetMousePointer(int pointer) { presenter_.SetMousePointer(pointer); }
  int MessageBox(std::string_view text, int style, std::string_view title) {
    return presenter_.MessageBox(text, style, title);
  }

  // Event handlers; each also runs on its control's event.
  void Form_Load() { presenter_.Form_Load(); }
  void Drive1_Change() { presenter_.Drive1_Change(); }
  void Drive2_Change() { presenter_.Drive2_Change(); }
  void Dir1_Change() { presenter_.Dir1_Change(); }
  void Dir2_Change() { presenter_.Dir2_Change(); }
  void SSTab1_Click(int previous_tab) { presenter_.SSTab1_Click(previous_tab); }
  void Toolbar1_ButtonClick(int index) { presenter_.Toolbar1_ButtonClick(index); }
  void btnConvert_Click(int index) { presenter_.btnConvert_Click(index); }
  void btnPath_Click(int index) { presenter_.btnPath_Click(index); }

  // The conversion request (see ConvertPresenter::Tavrin).
  RequestResult Tavrin() { return presenter_.Tavrin(); }
  // Shows the about message.
  void prgAbout() { presenter_.prgAbout(); }
  // True while a conversion pass runs.
  bool converting() const { return presenter_.converting(); }

  // The view's side of the presenter (see WindowView).
  void SetCaption(std::string_view text) override;
  std::filesystem::path Folder(Side side) const override;
  bool SetFolder(Side side, const std::filesystem::path& path) override;
  bool RefreshFolder(Side side) override;
  std::filesystem::path Drive(Side side) const override;
  void ShowDriveOf(Side side, const std::filesystem::path& folder) override;
  void ShowDrives(const std::vector<std::filesystem::path>& drives) override;
  void ShowAnswer(Side side, std::string_view text, std::uint32_t colour) override;
  void SetStatusText(std::string_view text) override;
  void SetInfoText(std::string_view text) override;
  int Page() const override;
  void SetPage(int page) override;
  bool ConvertEnabled() const override;
  void SetBusyPointer(bool busy) override;
  void SetConvertEnabled(bool enabled) override;
  void Close() override;

  // Moves the window to the middle of its screen's free area.
  void CenterOnScreen();

  bool loaded() const { return presenter_.loaded(); }
  // For tests: where the drives and the mount table come from (see ConvertPresenter).
  ConvertPresenter& presenter() { return presenter_; }

  // The controls, by their names.
  QWidget* Control(const QString& name) const { return controls_.by_name.value(name); }
  Toolbar* Toolbar1() const { return controls_.toolbar1; }
  TabControl* SSTab1() const { return controls_.sstab1; }
  StatusBar* StatusBar1() const { return controls_.statusbar1; }
  FolderList* Dir1() const { return controls_.dir1; }
  FolderList* Dir2() const { return controls_.dir2; }
  DriveList* Drive1() const { return controls_.drive1; }
  DriveList* Drive2() const { return controls_.drive2; }
  ElidedLabel* lbPrj() const { return controls_.lbprj; }
  ElidedLabel* lbCr() const { return controls_.lbcr; }
  ElidedLabel* lbInfo() const { return controls_.lbinfo; }
  QPushButton* btnConvert(int index) const { return controls_.btnconvert.at(static_cast<std::size_t>(index)); }
  QPushButton* btnPath(int index) const { return controls_.btnpath.at(static_cast<std::size_t>(index)); }
  const ImageList& ImgList() const { return *controls_.imglist; }
  const ImageList& ImgHotList() const { return *controls_.imghotlist; }

 protected:
  void showEvent(QShowEvent* event) override;
  // While a pass runs the window stays open and closes as soon as the pass has ended.
  void closeEvent(QCloseEvent* event) override;

 private:
  void StyleLabels();
  void SetTabOrder();
  void ConnectHandlers();
  FolderList* FolderListOf(Side side) const { return side == Side::kSource ? controls_.dir1 : controls_.dir2; }
  DriveList* DriveListOf(Side side) const { return side == Side::kSource ? controls_.drive1 : controls_.drive2; }

  // The pointer is the dialog services' own: they show it over every window of the program.
  DialogServices& dialogs_;
  WindowControls controls_;
  ConvertPresenter presenter_;
};

}  // namespace tavrin
