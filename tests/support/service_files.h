#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "runtime/file_services.h"

// Files made and read through the file services, for paths that not every tool takes (longer
// than 260 characters on Windows).
namespace tavrin::testing {

// Makes the folder `folder` and every missing folder above it; fails the current test when one
// cannot be made.
void MakeFoldersThrough(FileServices& files, const std::filesystem::path& folder);

// Writes `bytes` as the new file `name` of `folder` (made as needed).
void WriteFileThrough(FileServices& files, const std::filesystem::path& folder, const std::filesystem::path& name,
                      std::string_view bytes);

// The whole content of the file `name` of `folder`; fails the current test when it cannot be read.
std::string ReadFileThrough(FileServices& files, const std::filesystem::path& folder,
                            const std::filesystem::path& name);

// `folder` and `count` levels of folders below it, each named by `length` times the letter `letter`.
std::filesystem::path Chain(std::filesystem::path folder, int count, std::size_t length, char letter = 'd');

// A path of exactly `length` characters below `folder`: a chain of 100-character folders and
// one of up to 101 characters at the end.
std::filesystem::path PathOfLength(const std::filesystem::path& folder, std::size_t length);

}  // namespace tavrin::testing
