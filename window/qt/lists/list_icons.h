#pragma once

#include <QIcon>

namespace tavrin {

// The small pictures of the folder and drive lists (16 x 16, also drawn at 32 x 32 for high
// resolution screens), rendered from the SVG drawings built into the lists library.
QIcon OpenFolderIcon();
QIcon ClosedFolderIcon();
QIcon DriveIcon();

}  // namespace tavrin
