#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>

// Entries whose making differs between the systems, so that one test can ask for "a link" or
// "a hidden file" on either; and the facts in which the systems differ.
namespace tavrin::testing {

// Windows: names in UTF-16, letter case ignored, "\" as separator, hidden by attribute.
inline constexpr bool kWindows = std::filesystem::path::preferred_separator == '\\';
// Two spellings of a name that differ in letter case name the same entry.
inline constexpr bool kNamesIgnoreCase = kWindows;

// Makes a symbolic link at `link` that leads to `target` (relative to the link's folder or
// absolute; it need not exist). `folder` says whether it is a link to a folder, which Windows
// tells apart. Fails the current test when no link could be made.
void MakeLink(const std::filesystem::path& target, const std::filesystem::path& link, bool folder = false);

// False under Wine: the links it stands on are the Unix system's, which it shows as the files
// they lead to, and removing one there removes its target. True on POSIX systems and Windows.
bool LinksAreSeenAsLinks();

// Hides the entry `path` as the system hides entries: on Windows by the hidden attribute;
// elsewhere its name must already start with ".".
void Hide(const std::filesystem::path& path);

// Removes `folder` with everything in it, links as links; errors are ignored.
void RemoveTree(const std::filesystem::path& folder);

// Hides, in `folder` and below, every entry whose name starts with ".", as a checkout on
// Windows has them (Subversion hides its ".svn"); nothing to do elsewhere.
void HideDotEntries(const std::filesystem::path& folder);

// Puts an ordinary-looking file at `file` whose reading fails for as long as the returned
// object lives: a link to /proc/self/mem on Linux, a file held open without sharing on Windows.
std::shared_ptr<void> UnreadableFile(const std::filesystem::path& file);

// How many files, folders and other handles the process holds open now.
std::size_t OpenHandleCount();

}  // namespace tavrin::testing
