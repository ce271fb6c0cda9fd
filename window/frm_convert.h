#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "conversion/conversion_host.h"
#include "conversion/conversion_request.h"
#include "runtime/dialog_services.h"
#include "runtime/file_services.h"
#include "window/image_list.h"
#include "window/layout_table.h"
#include "window/lists/drive_list.h"
#include "window/lists/folder_list.h"
#include "window/status_bar.h"
#include "window/tab_control.h"
#include "window/throttled_caption_host.h"
#include "window/tool_bar.h"
#include "window/window_controls.h"

namespace tavrin {

// Fixed texts of the window.
inline constexpr std::string_view kWindowCaption = "CommonControls - Projektkonvertierung";
inline constexpr std::string_view kYes = "Ja";
inline constexpr std::string_view kNo = "Nein";
inline constexpr std::string_view kConversionPossible = "Konvertierung kann durchgeführt werden...";
inline constexpr std::string_view kChooseOtherFolders =
    "Bitte wählen Sie ein anderes Projekt oder ein anderes Zielverzeichnis...";
inline constexpr std::string_view kDriveTitle = "Laufwerk";
// The status bar's text from a close during a pass until the window closes.
inline constexpr std::string_view kClosingAfterPass = "Das Fenster wird nach der Konvertierung geschlossen...";

// The message shown when `drive` cannot be read.
std::string DriveUnreadableMessage(const std::filesystem::path& drive);

// The main window. It holds all its state in its controls: the source folder is whatever
// Dir1 shows, the target folder whatever Dir2 shows. Every control carries the object name
// of the layout table ("Dir1", "btnConvert(0)", ...).
//
// A conversion runs on the window's thread and lets pending events run once per text file,
// so every command stays usable during it. The running pass keeps the folders, and the list
// of files, that it started with; a second request starts no second pass, the folder commands
// are refused, and closing the window waits until the pass has ended.
class frmConvert : public QWidget, public ConversionHost {
  Q_OBJECT

 public:
  // Creates the window with its controls in their initial state (page 2 in front, the
  // labels reading "Nein"); Form_Load runs when the window is first shown, or earlier when
  // called. `drives`, when given, replaces the machine's drives in both drive lists.
  frmConvert(DialogServices& dialogs, FileServices& files,
             std::optional<std::vector<std::filesystem::path>> drives = std::nullopt, QWidget* parent = nullptr);

  // The source and target folder paths: what Dir1 and Dir2 show, ending in a separator.
  std::filesystem::path QuellPfad() override;
  std::filesystem::path ZielPfad() override;

  // Writes "Bearbeite: <text> [<wert>]..." (or without the number when `wert` is 0) into
  // lbInfo and repaints it at once. `text` is UTF-8.
  void WriteInfo(std::string_view text, std::int32_t wert) override;

  void DoEvents() override;
  void SetMousePointer(int pointer) override;
  int MessageBox(std::string_view text, int style, std::string_view title) override;

  // Event handlers; each also runs on its control's event.
  void Form_Load();
  void Drive1_Change();
  void Drive2_Change();
  void Dir1_Change();
  void Dir2_Change() override;
  void SSTab1_Click(int previous_tab);
  void Toolbar1_ButtonClick(int index);
  void btnConvert_Click(int index);
  void btnPath_Click(int index);

  // The conversion request: checks the folder pair and runs the pass, or says why not (see
  // ConversionRequest). Made while a pass runs, it does nothing and returns kAlreadyRunning.
  RequestResult Tavrin();
  // Shows the about message.
  void prgAbout();
  // True while a conversion pass runs.
  bool converting() const { return request_.running(); }

  // Moves the window to the middle of its screen's free area.
  void CenterOnScreen();

  bool loaded() const { return loaded_; }

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
  void ShowAnswer(ElidedLabel* label, bool yes);
  // Writes the status bar's text.
  void ShowStatus(const QString& text);
  void ChangeDrive(DriveList* drive, FolderList* folder);
  void ShowSelectionSummary();
  void NewFolder();
  void DeleteFolder();
  // Rereads both folder lists and brings the displays up to date with the disk: the folders
  // shown (one that is gone gives way to the nearest folder above it), their drives, lbPrj,
  // lbCr, the status bar and, on the conversion page, btnConvert(0).
  void ShowDiskState();

  DialogServices& dialogs_;
  FileServices& files_;
  bool loaded_ = false;
  // The pass reports through this host, which passes on at most one line text every ~15 ms.
  ThrottledCaptionHost conversion_host_;
  ConversionRequest request_;
  bool close_after_pass_ = false;

  WindowControls controls_;
};

}  // namespace tavrin
