#include "window/qt/lists/drive_list.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "window/qt/lists/list_icons.h"
#include "window/qt/lists/path_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "window/presenter/mount_table.h"
#endif

namespace tavrin {

namespace fs = std::filesystem;

std::vector<fs::path> AvailableDrives() {
  std::vector<fs::path> drives;
#ifdef _WIN32
  const DWORD letters = GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if (letters & (DWORD{1} << letter)) drives.push_back(std::wstring{wchar_t(L'A' + letter), L':', L'\\'});
  }
#else
  drives = MountedDrives(ReadMountTable());
#endif
  return drives;
}

DriveList::DriveList(QWidget* parent) : DriveList(AvailableDrives(), parent) {
  std::error_code error;
  const fs::path current = fs::current_path(error);
  if (!error) ShowDriveOf(current);
}

DriveList::DriveList(const std::vector<fs::path>& drives, QWidget* parent)
    : QComboBox(parent), drives_(drives) {
  Fill();
  connect(this, &QComboBox::currentIndexChanged, this, [this] {
    if (!quiet_) emit Change();
  });
}

fs::path DriveList::Drive() const {
  const int index = currentIndex();
  return index < 0 ? fs::path() : drives_[static_cast<size_t>(index)];
}

void DriveList::ShowDriveOf(const fs::path& folder) {
  const int index = IndexOf(DriveOf(folder, drives_));
  if (index < 0) return;
  quiet_ = true;
  setCurrentIndex(index);
  quiet_ = false;
}

bool DriveList::PickDrive(const fs::path& drive) {
  const int index = IndexOf(drive);
  if (index < 0) return false;
  setCurrentIndex(index);
  return true;
}

void DriveList::SetDrives(const std::vector<fs::path>& drives) {
  if (drives == drives_) return;
  const fs::path shown = Drive();
  drives_ = drives;
  Fill();
  const int index = IndexOf(shown);
  quiet_ = true;
  setCurrentIndex(index < 0 ? (drives_.empty() ? -1 : 0) : index);
  quiet_ = false;
}

void DriveList::showPopup() {
  emit Opening();
  QComboBox::showPopup();
}

void DriveList::Fill() {
  quiet_ = true;
  clear();
  const QIcon icon = DriveIcon();
  for (const fs::path& drive : drives_) addItem(icon, DisplayText(drive), PathBytes(drive));
  quiet_ = false;
}

int DriveList::IndexOf(const fs::path& drive) const {
  const std::optional<std::size_t> row = DriveRow(drive, drives_);
  return row ? static_cast<int>(*row) : -1;
}

}  // namespace tavrin
