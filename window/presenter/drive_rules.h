#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace tavrin {

// The rules of a drive list, whatever toolkit draws it.

// The drive that holds `folder`: the longest drive in `drives` that is a leading part of it,
// compared part by part ("/mnt/a" holds "/mnt/a/x" but not "/mnt/ab"; letter case does not
// count on Windows); empty when none is.
std::filesystem::path DriveOf(const std::filesystem::path& folder,
                              const std::vector<std::filesystem::path>& drives);

// The row of `drive` in `drives` (compared part by part, as DriveOf compares), or nothing.
std::optional<std::size_t> DriveRow(const std::filesystem::path& drive,
                                    const std::vector<std::filesystem::path>& drives);

// The drives of a POSIX system, from the text of its mount table (see mount_table.h): "/" and
// the mount points of user file systems that are folders (files can be mounted too), sorted.
std::vector<std::filesystem::path> MountedDrives(std::string_view mountinfo);

}  // namespace tavrin
