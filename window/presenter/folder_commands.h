#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/file_services.h"

namespace tavrin {

// The pieces of the two target-folder commands ("&Neu..." and "&Löschen...") that do not need
// the window: their fixed texts, the checks of a new name and of a folder to delete, and the
// deletion itself.

inline constexpr std::string_view kNewFolderTitle = "Neues Verzeichnis";
// The prompt names the separator of the platform's paths.
#ifdef _WIN32
inline constexpr std::string_view kNewFolderPrompt =
    "Bitte geben Sie das neu anzulegende Verzeichnis ohne führenden Backslash an (z.B. Test)!";
#else
inline constexpr std::string_view kNewFolderPrompt =
    "Bitte geben Sie das neu anzulegende Verzeichnis ohne führenden Schrägstrich an (z.B. Test)!";
#endif
inline constexpr std::string_view kDeleteFolderTitle = "Verzeichnis löschen";
inline constexpr std::string_view kNewFolderDuringPass =
    "Während einer Konvertierung können keine Verzeichnisse angelegt werden.";
inline constexpr std::string_view kDeleteFolderDuringPass =
    "Während einer Konvertierung können keine Verzeichnisse gelöscht werden.";

// The question before deleting `folder` (a folder path, ending in a separator), UTF-8.
std::string DeleteConfirmation(const std::filesystem::path& folder);

// The folder that the name entered makes inside `target` (a folder path): `target` followed
// by the name's bytes exactly as entered (UTF-8), blanks included. Nothing (std::nullopt) for
// an empty name and for a name that would not make exactly one folder inside `target`: "."
// and "..", and names holding a separator or a NUL byte.
std::optional<std::filesystem::path> NewFolderPath(const std::filesystem::path& target,
                                                   std::string_view name);

// What the delete command finds when it is about to ask: why `folder` (a folder path) must not
// be deleted while `source` (a folder path) is the source folder, as a German message (UTF-8),
// or, when it may be, the folder the question is about, opened.
struct DeletionCheck {
  std::string refusal;  // empty: the question may be asked
  // The folder `folder` names now, when `refusal` is empty. Kept open while the question waits:
  // a folder removed meanwhile keeps its number until it is closed, so a new folder made in its
  // place cannot take that number and pass for it.
  std::unique_ptr<OpenedFolder> confirmed;
};

// Refused are, in this order: a folder that is itself a link (the message says where it
// points; its files live elsewhere), the top folder of a drive ("Stammverzeichnis": a root,
// or the top of a volume mounted) or of anything else mounted: pseudo file systems, bind
// mounts, volumes mounted at a folder on Windows ("Einhängepunkt"; it cannot be removed, but
// its files would go first), the source folder itself and every folder that holds it, however
// spelled (compared by id: links and other spellings that lead to the same folder count as the
// same folder), and a folder that cannot be opened. The folder confirmed is opened to remove
// itself: on Windows nobody can rename or remove it while the question waits.
// `mountinfo` is the text of the mount table (see mount_table.h); the first form reads it.
DeletionCheck CheckDeletion(FileServices& files, const std::filesystem::path& folder,
                            const std::filesystem::path& source);
DeletionCheck CheckDeletion(FileServices& files, const std::filesystem::path& folder,
                            const std::filesystem::path& source, std::string_view mountinfo);

// Deletes the ordinary files directly in `folder` (a folder path; a link is removed as a link,
// never its target), then removes the folder, which succeeds only if nothing is left in it
// (subfolders and hidden entries stay). Acts only when `folder` still names the very folder
// `confirmed` (compared by id; a link as its last component is never followed), and lists and
// removes the files through `confirmed`, whatever happens to its path meanwhile; where the
// system allows (Windows) the folder too is removed through it, else by its path. Returns why
// nothing was deleted (a German message) when `folder` has become a link or another folder;
// empty otherwise. Other failures (the folder gone, a file that resists) are skipped silently.
// `confirmed` is closed on return.
std::string DeleteConfirmedFolder(FileServices& files, const std::filesystem::path& folder,
                                  std::unique_ptr<OpenedFolder>& confirmed);

}  // namespace tavrin
