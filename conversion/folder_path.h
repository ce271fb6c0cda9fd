#pragma once

#include <filesystem>

namespace tavrin {

using NativeString = std::filesystem::path::string_type;
inline constexpr auto kSeparator = std::filesystem::path::preferred_separator;

// The folder path of a folder shown in a folder list: the shown text with one separator
// appended when it does not end with one already; an empty text gives the separator alone.
// File paths and listing patterns are formed by appending to it.
std::filesystem::path FolderPath(const std::filesystem::path& shown);

// The part of `file` after its last separator; all of `file` if it holds none.
NativeString FileNameFromPath(const NativeString& file);

// The part of `file` after its first "."; empty if it holds none. Letter case is kept.
NativeString GetSuffix(const NativeString& file);

// A path below a top folder: `name` in the folder `relative` ("" for the top folder itself).
NativeString Join(const NativeString& relative, const NativeString& name);

// `folder` (a folder path, ending in a separator) followed directly by `tail`.
std::filesystem::path Append(const std::filesystem::path& folder, const NativeString& tail);

}  // namespace tavrin
