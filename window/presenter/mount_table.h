#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Reading the mount table of Linux (/proc/self/mountinfo) for the drive list.

// True for the types of file systems that hold the user's files: disk file systems (ext4,
// xfs, btrfs, vfat, exfat, ntfs, ...), optical media, and network or host shares (nfs, cifs,
// 9p, virtiofs, ...). False for everything else, above all the kernel's pseudo file systems
// (proc, sysfs, cgroup, devpts, tmpfs, overlay, squashfs images, ...).
bool IsUserFileSystem(std::string_view type);

// A mount point as mountinfo writes it, with the octal escapes ("\040" for a space, "\011",
// "\012", "\134") turned back into their bytes. Other text stays as it is.
std::string UnescapeMountPoint(std::string_view field);

// The mount points of user file systems in the text of a mountinfo file, sorted (path order)
// and without duplicates; "/" is always among them. Lines that do not have the mountinfo layout
// are skipped.
std::vector<std::filesystem::path> UserMountPoints(std::string_view mountinfo);

// As UserMountPoints, but only where a file system is mounted from its own top folder: the
// tops of volumes, without bind mounts of folders inside them.
std::vector<std::filesystem::path> VolumeRoots(std::string_view mountinfo);

// As UserMountPoints, but the mount points of every file system, pseudo ones and bind mounts
// included: every folder on which something is mounted.
std::vector<std::filesystem::path> AllMountPoints(std::string_view mountinfo);

// The text of this process's mount table (/proc/self/mountinfo); empty when it cannot be read.
std::string ReadMountTable();

}  // namespace tavrin
