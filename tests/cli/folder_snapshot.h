#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>
#include <system_error>

#include "runtime/path_text.h"
#include "tavrin_version.h"

// Helpers for comparing whole folders, shared by the end-to-end tests of the core and of
// tavrin-convert. Header only, so either test binary can use it.
namespace tavrin::testing {

// Every entry directly in `folder`: a file's name maps to its bytes, a subfolder's name to
// "<Ordner>" followed by its own snapshot, anything else to "<Sonstiges>".
inline std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> entries;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = PathText(entry.path().filename());
    if (entry.is_symlink()) {
      entries[name] = "<Sonstiges>";
    } else if (entry.is_regular_file()) {
      std::ifstream in(entry.path(), std::ios::binary);
      entries[name] = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else if (entry.is_directory()) {
      std::string nested = "<Ordner>";
      for (const auto& [inner, bytes] : FolderSnapshot(entry.path())) nested += "\n" + inner + "=" + bytes;
      entries[name] = nested;
    } else {
      entries[name] = "<Sonstiges>";
    }
  }
  if (error) entries["<Fehler>"] = error.message();
  return entries;
}

// The counts that make_expected.py writes beside each expected folder ("key value" lines).
inline std::map<std::string, std::uint64_t> ReadExpectedCounts(const std::filesystem::path& report) {
  std::map<std::string, std::uint64_t> counts;
  std::ifstream in(report);
  std::string key;
  std::uint64_t value = 0;
  while (in >> key >> value) counts[key] = value;
  return counts;
}

// The example projects (every folder under examples/) with their expected results.
inline std::filesystem::path ExamplesFolder() { return std::filesystem::path(TAVRIN_SOURCE_DIR) / "examples"; }
inline std::filesystem::path ExpectedFolder() {
  return std::filesystem::path(TAVRIN_SOURCE_DIR) / "tests" / "data" / "expected";
}

// One expected result under tests/data/expected/: the example it comes from and how it was
// converted ("Lager+r+c": the whole tree, with the complete upgrade).
struct ExpectedVariant {
  std::string name;
  std::string example;
  bool recursive = false;
  bool complete = false;
};

inline std::vector<ExpectedVariant> ExpectedVariants() {
  std::vector<ExpectedVariant> variants;
  for (const auto& entry : std::filesystem::directory_iterator(ExpectedFolder())) {
    if (!entry.is_directory()) continue;
    ExpectedVariant variant;
    variant.name = PathText(entry.path().filename());
    variant.example = variant.name.substr(0, variant.name.find('+'));
    variant.recursive = variant.name.find("+r") != std::string::npos;
    variant.complete = variant.name.find("+c") != std::string::npos;
    variants.push_back(variant);
  }
  return variants;
}

}  // namespace tavrin::testing
