#include "window/presenter/mount_table.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace tavrin {
namespace {

// Types whose mount points are offered as drives. Everything not listed is left out: pseudo
// file systems have no user files, and a list of what to keep stays short and safe where a
// list of what to drop would have to follow every new kernel feature. tmpfs and overlay are
// left out on purpose: they are scratch or container layers, and "/" is offered anyway.
constexpr std::string_view kUserFileSystems[] = {
    "ext2",     "ext3",    "ext4",  "xfs",   "btrfs",     "bcachefs",   "f2fs",  "jfs",     "reiserfs",
    "nilfs2",   "zfs",     "vfat",  "msdos", "exfat",     "ntfs",       "ntfs3", "fuseblk", "hfs",
    "hfsplus",  "iso9660", "udf",   "nfs",   "nfs4",      "cifs",       "smb3",  "smbfs",   "9p",
    "virtiofs", "vboxsf",  "drvfs", "ceph",  "glusterfs", "fuse.sshfs",
};

// Splits a line at single spaces; mountinfo escapes the spaces inside its fields.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (start <= line.size()) {
    const size_t end = std::min(line.find(' ', start), line.size());
    if (end > start) fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

}  // namespace

bool IsUserFileSystem(std::string_view type) {
  return std::find(std::begin(kUserFileSystems), std::end(kUserFileSystems), type) !=
         std::end(kUserFileSystems);
}

std::string UnescapeMountPoint(std::string_view field) {
  std::string bytes;
  bytes.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    // A byte is written as a backslash and three octal digits, the first of them 0 to 3.
    if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
        IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
      bytes.push_back(static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                        (field[i + 3] - '0')));
      i += 3;
    } else {
      bytes.push_back(field[i]);
    }
  }
  return bytes;
}

namespace {

// The mount points of the lines of `mountinfo` whose file system type and root (the folder of
// the file system mounted there, "/" unless bound from inside it) `keep` accepts.
template <typename Keep>
std::vector<std::filesystem::path> MountPoints(std::string_view mountinfo, Keep keep) {
  std::vector<std::filesystem::path> points{"/"};
  size_t start = 0;
  while (start < mountinfo.size()) {
    const size_t end = std::min(mountinfo.find('\n', start), mountinfo.size());
    const std::vector<std::string_view> fields = Fields(mountinfo.substr(start, end - start));
    start = end + 1;
    // id, parent id, major:minor, root, mount point, options, optional fields..., "-", type, ...
    const auto separator = std::find(fields.begin() + std::min<size_t>(fields.size(), 6), fields.end(), "-");
    if (fields.size() < 6 || separator == fields.end() || separator + 1 == fields.end()) continue;
    if (!keep(*(separator + 1), UnescapeMountPoint(fields[3]))) continue;
    std::string point = UnescapeMountPoint(fields[4]);
    if (!point.empty() && point.front() == '/') points.emplace_back(std::move(point));
  }
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  return points;
}

}  // namespace

std::vector<std::filesystem::path> UserMountPoints(std::string_view mountinfo) {
  return MountPoints(mountinfo, [](std::string_view type, const std::string&) { return IsUserFileSystem(type); });
}

std::vector<std::filesystem::path> VolumeRoots(std::string_view mountinfo) {
  return MountPoints(mountinfo,
                     [](std::string_view type, const std::string& root) { return root == "/" && IsUserFileSystem(type); });
}

std::vector<std::filesystem::path> AllMountPoints(std::string_view mountinfo) {
  return MountPoints(mountinfo, [](std::string_view, const std::string&) { return true; });
}

std::string ReadMountTable() {
  std::ifstream file("/proc/self/mountinfo", std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace tavrin
