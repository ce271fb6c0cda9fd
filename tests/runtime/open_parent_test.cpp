// The climb from an opened folder to the folder above it, at any length of path.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "runtime/file_services.h"
#include "runtime/path_text.h"
#include "tests/support/service_files.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// From a folder whose path has exactly `length` characters, OpenParent reaches every folder
// above it in turn, the very folders that their paths name.
TEST(OpenParentTest, ClimbsFromAFolderOfAnyPathLength) {
  FileServices& disk = DiskFileServices();
  for (const std::size_t length : {259u, 260u, 261u, 300u, 1000u, 4000u}) {
    SCOPED_TRACE(length);
    testing::TempFolder temp;
    const fs::path deep = testing::PathOfLength(temp.path(), length);
    ASSERT_EQ(deep.native().size(), length);
    testing::MakeFoldersThrough(disk, deep);
    std::unique_ptr<OpenedFolder> at;
    Status status = disk.OpenFolder(deep, &at);
    ASSERT_TRUE(status.ok()) << status.reason();
    for (fs::path path = deep; path != temp.path();) {
      path = path.parent_path();
      std::unique_ptr<OpenedFolder> parent;
      status = at->OpenParent(&parent);
      ASSERT_TRUE(status.ok()) << PathText(path) << ": " << status.reason();
      std::unique_ptr<OpenedFolder> named;
      ASSERT_TRUE(disk.OpenFolder(path, &named).ok()) << PathText(path);
      EXPECT_EQ(parent->id(), named->id()) << PathText(path);
      at = std::move(parent);
    }
  }
}

}  // namespace
}  // namespace tavrin
