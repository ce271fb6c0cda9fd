#pragma once

#include <memory>

#include "runtime/file_services.h"

namespace tavrin {

// A target that takes everything and keeps nothing, for a dry run: files "created" in it read
// nothing back, and its "folders" exist only in it. Nothing reaches the disk.
std::unique_ptr<OpenedFolder> MakeNullFolder();

}  // namespace tavrin
