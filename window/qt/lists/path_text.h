#pragma once

#include <QByteArray>
#include <QString>
#include <filesystem>

namespace tavrin {

// How the lists carry paths inside Qt. A path's bytes travel unchanged (PathBytes and
// PathFromBytes are exact inverses); text is made from a path only for display and is never
// turned back into a path.

// The text shown for `path`: its native bytes as UTF-8, with control characters and bytes
// that are not valid UTF-8 written as escapes ("Gr\xFC\xDF", "a\nb"; see ShownText), as
// the command line shows names. So a name is always one line, and two different names never
// look alike.
QString DisplayText(const std::filesystem::path& path);

// The native representation of `path`, byte for byte, for keeping in item data.
QByteArray PathBytes(const std::filesystem::path& path);

// The path whose native representation is `bytes` (the inverse of PathBytes).
std::filesystem::path PathFromBytes(const QByteArray& bytes);

}  // namespace tavrin
