#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "window/presenter/convert_presenter.h"
#include "window/presenter/drive_rules.h"
#include "window/presenter/folder_list_state.h"
#include "window/presenter/window_view.h"

namespace tavrin::testing {

// A window without a toolkit: it keeps what the presenter shows, records every text written,
// and raises the presenter's handlers as the controls of a real window do (a folder list that
// changes its folder, a drive picked, a page brought to the front), before the call returns.
class RecordingView : public WindowView {
 public:
  struct Answer {
    std::string text;
    std::uint32_t colour = 0;
  };

  // Both folder lists show `start`; the drive lists hold `drives` and show the drive of `start`.
  RecordingView(const std::filesystem::path& start, std::vector<std::filesystem::path> drives)
      : drives_(std::move(drives)) {
    for (FolderListState& list : lists_) list = FolderListState(start);
    for (Side side : {Side::kSource, Side::kTarget}) ShowDriveOf(side, start);
  }

  // Must be set before any handler runs.
  ConvertPresenter* presenter = nullptr;

  // What the window shows now.
  std::string caption;
  std::optional<Answer> answer[2];  // lbPrj, lbCr: nothing until first written
  std::string status;
  std::string info = "keine Bearbeitung aktiv...";
  int page = 2;                 // the window is designed with page 2 in front
  bool convert_enabled = true;  // btnConvert(0)
  bool closed = false;
  // Every pointer set, true for the busy one.
  std::vector<bool> busy_pointer;
  // Everything written, in order.
  std::vector<std::string> statuses;
  std::vector<std::string> infos;
  // The handlers raised by the controls ("Dir1_Change", "SSTab1_Click 2", ...), in order.
  std::vector<std::string> raised;

  const Answer& AnswerOf(Side side) const { return *answer[Index(side)]; }
  const std::filesystem::path& Folder(int list) const { return lists_[list].Path(); }

  // What a user does.
  // Picks `drive` in a drive list: its change handler runs when the drive shown changes.
  void PickDrive(Side side, const std::filesystem::path& drive) {
    const std::optional<std::size_t> row = DriveRow(drive, drives_);
    if (!row || *row == drive_row_[Index(side)]) return;
    drive_row_[Index(side)] = *row;
    Raise(side == Side::kSource ? "Drive1_Change" : "Drive2_Change");
    if (side == Side::kSource)
      presenter->Drive1_Change();
    else
      presenter->Drive2_Change();
  }
  // Clicks a tab.
  void ClickTab(int tab) { SetPage(tab); }
  // Closes the window with its close box: false when the window stays open.
  bool CloseBox() { return closed = presenter->QueryClose(); }

  // The view's side.
  void SetCaption(std::string_view text) override { caption = text; }
  std::filesystem::path Folder(Side side) const override { return lists_[Index(side)].Path(); }
  bool SetFolder(Side side, const std::filesystem::path& path) override {
    bool changed = false;
    if (!lists_[Index(side)].SetPath(path, &changed)) return false;
    if (changed) RaiseDirChange(side);
    return true;
  }
  bool RefreshFolder(Side side) override {
    const bool changed = lists_[Index(side)].Refresh();
    if (changed) RaiseDirChange(side);
    return changed;
  }
  std::filesystem::path Drive(Side side) const override {
    return drives_.empty() ? std::filesystem::path() : drives_[drive_row_[Index(side)]];
  }
  void ShowDriveOf(Side side, const std::filesystem::path& folder) override {
    if (const auto row = DriveRow(DriveOf(folder, drives_), drives_)) drive_row_[Index(side)] = *row;
  }
  void ShowDrives(const std::vector<std::filesystem::path>& drives) override {
    ++drives_shown;
    for (Side side : {Side::kSource, Side::kTarget}) {
      const std::optional<std::size_t> row = DriveRow(Drive(side), drives);
      drive_row_[Index(side)] = row ? *row : 0;
    }
    drives_ = drives;
  }
  // The rows of the drive lists.
  const std::vector<std::filesystem::path>& drives() const { return drives_; }
  // How often the drive lists were filled again.
  int drives_shown = 0;
  void ShowAnswer(Side side, std::string_view text, std::uint32_t colour) override {
    answer[Index(side)] = Answer{std::string(text), colour};
  }
  void SetStatusText(std::string_view text) override {
    status = text;
    statuses.push_back(status);
  }
  void SetInfoText(std::string_view text) override {
    info = text;
    infos.push_back(info);
  }
  int Page() const override { return page; }
  void SetPage(int new_page) override {
    if (new_page == page) return;
    const int previous = page;
    page = new_page;
    Raise("SSTab1_Click " + std::to_string(new_page));
    presenter->SSTab1_Click(previous);
  }
  bool ConvertEnabled() const override { return convert_enabled; }
  void SetConvertEnabled(bool enabled) override { convert_enabled = enabled; }
  void SetBusyPointer(bool busy) override { busy_pointer.push_back(busy); }
  void Close() override { closed = presenter->QueryClose(); }

 private:
  static std::size_t Index(Side side) { return side == Side::kSource ? 0 : 1; }
  void Raise(std::string handler) { raised.push_back(std::move(handler)); }
  void RaiseDirChange(Side side) {
    Raise(side == Side::kSource ? "Dir1_Change" : "Dir2_Change");
    if (side == Side::kSource)
      presenter->Dir1_Change();
    else
      presenter->Dir2_Change();
  }

  FolderListState lists_[2];
  std::vector<std::filesystem::path> drives_;
  std::size_t drive_row_[2] = {0, 0};
};

}  // namespace tavrin::testing
