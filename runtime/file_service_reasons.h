#pragma once

namespace tavrin {

// The first half of a failed file service's reason; Status::FromErrno adds the system's
// reason in brackets. Shared by the disk and by the test doubles, so both speak alike.
inline constexpr const char* kSourceUnreadable = "Quelldatei kann nicht gelesen werden";
// A source that turned out longer or shorter than when it was opened.
inline constexpr const char* kSourceChanged = "Quelldatei hat sich während des Lesens verändert";
inline constexpr const char* kTargetNotCreatable = "Zieldatei kann nicht angelegt werden";
inline constexpr const char* kTargetUnwritable = "Zieldatei kann nicht geschrieben werden";
inline constexpr const char* kFileNotRemovable = "Datei kann nicht gelöscht werden";
inline constexpr const char* kFolderNotCreatable = "Verzeichnis kann nicht angelegt werden";
inline constexpr const char* kFolderNotRemovable = "Verzeichnis kann nicht entfernt werden";

}  // namespace tavrin
