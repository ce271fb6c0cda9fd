#include "window/lists/drive_list.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "window/lists/list_icons.h"
#include "window/lists/path_text.h"

#ifdef _WIN32
#include <windows.h>

#include <cwctype>
#else
#include "window/lists/mount_table.h"
#endif

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// The parts of `path` after working out "." and "..", without the empty part that a
// separator at the end leaves.
std::vector<fs::path> Parts(const fs::path& path) {
  std::vector<fs::path> parts;
  for (const fs::path& part : path.lexically_normal()) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

bool SamePart(const fs::path& a, const fs::path& b) {
#ifdef _WIN32
  // Drive letters and names on Windows do not depend on letter case.
  const std::wstring& x = a.native();
  const std::wstring& y = b.native();
  return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                    [](wchar_t c, wchar_t d) { return std::towlower(c) == std::towlower(d); });
#else
  return a.native() == b.native();
#endif
}

// True when `leading` are the first parts of `parts`.
bool StartsWith(const std::vector<fs::path>& parts, const std::vector<fs::path>& leading) {
  return leading.size() <= parts.size() &&
         std::equal(leading.begin(), leading.end(), parts.begin(), SamePart);
}

}  // namespace

std::vector<fs::path> AvailableDrives() {
  std::vector<fs::path> drives;
#ifdef _WIN32
  const DWORD letters = GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if (letters & (DWORD{1} << letter)) drives.push_back(std::wstring{wchar_t(L'A' + letter), L':', L'\\'});
  }
#else
  drives = UserMountPoints(ReadMountTable());
  // Files can be mounted too (a container's /etc/hosts); only folders can be drives.
  std::erase_if(drives, [](const fs::path& drive) {
    std::error_code error;
    return drive != "/" && !fs::is_directory(drive, error);
  });
#endif
  return drives;
}

fs::path DriveOf(const fs::path& folder, const std::vector<fs::path>& drives) {
  const std::vector<fs::path> folder_parts = Parts(folder);
  fs::path best;
  size_t best_length = 0;
  for (const fs::path& drive : drives) {
    const std::vector<fs::path> drive_parts = Parts(drive);
    if (!drive_parts.empty() && drive_parts.size() > best_length && StartsWith(folder_parts, drive_parts)) {
      best = drive;
      best_length = drive_parts.size();
    }
  }
  return best;
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

void DriveList::Fill() {
  quiet_ = true;
  clear();
  const QIcon icon = DriveIcon();
  for (const fs::path& drive : drives_) addItem(icon, DisplayText(drive), PathBytes(drive));
  quiet_ = false;
}

int DriveList::IndexOf(const fs::path& drive) const {
  const std::vector<fs::path> parts = Parts(drive);
  if (parts.empty()) return -1;
  for (size_t index = 0; index < drives_.size(); ++index) {
    const std::vector<fs::path> drive_parts = Parts(drives_[index]);
    if (drive_parts.size() == parts.size() && StartsWith(drive_parts, parts)) return static_cast<int>(index);
  }
  return -1;
}

}  // namespace tavrin
