#include "window/presenter/drive_rules.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "window/presenter/mount_table.h"

#ifdef _WIN32
#include <cwctype>
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

std::optional<std::size_t> DriveRow(const fs::path& drive, const std::vector<fs::path>& drives) {
  const std::vector<fs::path> parts = Parts(drive);
  if (parts.empty()) return std::nullopt;
  for (size_t index = 0; index < drives.size(); ++index) {
    const std::vector<fs::path> drive_parts = Parts(drives[index]);
    if (drive_parts.size() == parts.size() && StartsWith(drive_parts, parts)) return index;
  }
  return std::nullopt;
}

std::vector<fs::path> MountedDrives(std::string_view mountinfo) {
  std::vector<fs::path> drives = UserMountPoints(mountinfo);
  std::erase_if(drives, [](const fs::path& drive) {
    std::error_code error;
    return drive != "/" && !fs::is_directory(drive, error);
  });
  return drives;
}

}  // namespace tavrin
