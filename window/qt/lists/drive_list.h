#pragma once

#include <QComboBox>
#include <filesystem>
#include <vector>

#include "window/presenter/drive_rules.h"

namespace tavrin {

// The drives a folder list can start from: the drive letters on Windows; elsewhere "/" and
// the mount points of real (not pseudo) file systems, sorted.
std::vector<std::filesystem::path> AvailableDrives();


// A drop-down list of drives. Picking another drive raises Change().
class DriveList : public QComboBox {
  Q_OBJECT

 public:
  // Fills the list from AvailableDrives() and shows the drive of the process's current folder.
  explicit DriveList(QWidget* parent = nullptr);
  // For tests: a fixed set of drives.
  DriveList(const std::vector<std::filesystem::path>& drives, QWidget* parent = nullptr);

  // The drive shown.
  std::filesystem::path Drive() const;

  // Shows the drive that holds `folder` without raising Change() (used to return to the
  // drive of the folder list after a drive could not be read).
  void ShowDriveOf(const std::filesystem::path& folder);

  // Shows `drive` as the user would pick it: raises Change() when the drive shown changes.
  // Returns false when `drive` is not in the list.
  bool PickDrive(const std::filesystem::path& drive);

  const std::vector<std::filesystem::path>& drives() const { return drives_; }
  // Shows `drives` as the list's rows, without raising Change(); the drive shown stays when
  // it is among them (else the first row is shown).
  void SetDrives(const std::vector<std::filesystem::path>& drives);

  // Raises Opening(), then opens the rows.
  void showPopup() override;

 signals:
  void Change();
  // The rows are about to open (a click, Alt+Down, F4): a moment to read the drives again.
  void Opening();

 private:
  void Fill();
  // The row of `drive` (compared part by part), or -1.
  int IndexOf(const std::filesystem::path& drive) const;
  std::vector<std::filesystem::path> drives_;
  bool quiet_ = false;
};

}  // namespace tavrin
