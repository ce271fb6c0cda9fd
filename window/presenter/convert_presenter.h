#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "conversion/conversion_host.h"
#include "conversion/conversion_request.h"
#include "runtime/dialog_services.h"
#include "runtime/file_services.h"
#include "window/presenter/throttled_caption_host.h"
#include "window/presenter/window_view.h"

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

// The behaviour of the main window, whatever toolkit draws it: the handlers of its controls,
// its commands and the displays they keep current. It holds no folder of its own: the source
// folder is whatever the view's source folder list shows, the target folder whatever the
// target list shows.
//
// A conversion runs on the window's thread and lets pending events run once per text file,
// so every command stays usable during it. The running pass keeps the folders, and the list
// of files, that it started with; a second request starts no second pass, the folder commands
// are refused, and closing the window waits until the pass has ended.
class ConvertPresenter : public ConversionHost {
 public:
  // `view`, `dialogs` and `files` must outlive the presenter. Nothing is shown yet.
  ConvertPresenter(WindowView& view, DialogServices& dialogs, FileServices& files);

  // Gives the view its caption; done once, when the window is created.
  void ShowCaption();

  using MountTableReader = std::function<std::string()>;
  using DriveReader = std::function<std::vector<std::filesystem::path>()>;
  // Where the window's knowledge of the disk comes from; tests replace them. The mount table
  // (text of /proc/self/mountinfo; ReadMountTable by default) tells drive roots and mount
  // points apart for "Löschen...". The drives (read again at every refresh of the displays
  // and when a drive list is opened) default, on POSIX systems, to the drives of the mount
  // table; on Windows there is no default and the view's own drives stay. nullptr restores
  // the default.
  void SetMountTableReader(MountTableReader reader);
  void SetDriveReader(DriveReader reader);
  // The clock by which the pass lets events run during a long file (the steady clock by
  // default; nullptr restores it).
  void SetClock(ThrottledCaptionHost::Clock clock) { conversion_host_.SetClock(std::move(clock)); }

  // The source and target folder paths: what the folder lists show, ending in a separator.
  std::filesystem::path QuellPfad() override;
  std::filesystem::path ZielPfad() override;

  // Writes "Bearbeite: <text> [<wert>]..." (or without the number when `wert` is 0) into
  // lbInfo, which repaints at once. `text` is UTF-8 and shown escaped.
  void WriteInfo(std::string_view text, std::int32_t wert) override;

  void DoEvents() override;
  // kPointerBusy: the view's busy pointer; any other value: the normal one.
  void SetMousePointer(int pointer) override;
  int MessageBox(std::string_view text, int style, std::string_view title) override;

  // Event handlers.
  void Form_Load();
  void Drive1_Change();
  void Drive2_Change();
  void Dir1_Change();
  void Dir2_Change() override;
  void SSTab1_Click(int previous_tab);
  void Toolbar1_ButtonClick(int index);
  void btnConvert_Click(int index);
  void btnPath_Click(int index);
  // A drive list is about to open its rows: they are read again first.
  void DriveListOpened(Side side);

  // The conversion request: checks the folder pair and runs the pass, or says why not (see
  // ConversionRequest). Made while a pass runs, it does nothing and returns kAlreadyRunning.
  RequestResult Tavrin();
  // Shows the about message.
  void prgAbout();

  // The window is asked to close. True when it may close now; false while a pass runs: the
  // window then closes as soon as the pass has ended, and the status bar says so meanwhile.
  bool QueryClose();

  // True while a conversion pass runs.
  bool converting() const { return request_.running(); }
  bool loaded() const { return loaded_; }

 private:
  void ShowAnswer(Side side, bool yes);
  // Writes the status bar's text.
  void ShowStatus(std::string_view text);
  void ChangeDrive(Side side);
  void ShowSelectionSummary();
  void NewFolder();
  void DeleteFolder();
  // Rereads both folder lists and brings the displays up to date with the disk: the folders
  // shown (one that is gone gives way to the nearest folder above it), their drives, lbPrj,
  // lbCr, the status bar and, on the conversion page, btnConvert(0).
  void ShowDiskState();
  // Reads the drives again and gives them to the view; each drive list then shows the drive
  // of its folder list's folder.
  void ReadDrives();

  WindowView& view_;
  DialogServices& dialogs_;
  FileServices& files_;
  bool loaded_ = false;
  // The pass reports through this host, which passes on at most one line text every ~15 ms.
  ThrottledCaptionHost conversion_host_;
  ConversionRequest request_;
  bool close_after_pass_ = false;
  MountTableReader mount_table_;
  DriveReader drive_reader_;
};

}  // namespace tavrin
