#include "runtime/status.h"

#include <cerrno>

namespace tavrin {
namespace {

struct ErrorText {
  int error_number;
  const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {ENOENT, "Datei oder Verzeichnis nicht gefunden"},
    {EACCES, "Zugriff verweigert"},
    {EPERM, "Zugriff verweigert"},
    {EEXIST, "existiert bereits"},
    {ENOSPC, "Kein Speicherplatz mehr auf dem Datenträger"},
#ifdef EDQUOT  // not on Windows
    {EDQUOT, "Speicherkontingent überschritten"},
#endif
    {EISDIR, "ist ein Verzeichnis"},
    {ENOTDIR, "ist kein Verzeichnis"},
    {EIO, "Ein-/Ausgabefehler"},
    {ENOTEMPTY, "Verzeichnis ist nicht leer"},
    {EROFS, "Dateisystem ist schreibgeschützt"},
    {ENAMETOOLONG, "Dateiname ist zu lang"},
    {ELOOP, "Zu viele Ebenen symbolischer Verknüpfungen"},
    {EMFILE, "Zu viele offene Dateien"},
    {ENFILE, "Zu viele offene Dateien im System"},
    {EFBIG, "Datei ist zu groß"},
    {EBUSY, "Gerät oder Ressource ist belegt"},
    {ETXTBSY, "Datei wird gerade benutzt"},
    {EINVAL, "Ungültiges Argument"},
    {ENOMEM, "Nicht genügend Hauptspeicher"},
    {ENXIO, "Gerät oder Adresse nicht vorhanden"},
    {ENODEV, "Gerät nicht vorhanden"},
    {EXDEV, "Verknüpfung über Gerätegrenzen hinweg nicht möglich"},
    {EAGAIN, "Ressource vorübergehend nicht verfügbar"},
    {EINTR, "Unterbrochener Systemaufruf"},
    {EBADF, "Ungültige Dateinummer"},
#ifdef ESTALE  // not on Windows
    {ESTALE, "Veralteter Verweis auf eine Netzwerkdatei"},
#endif
    {EOVERFLOW, "Wert zu groß für den Datentyp"},
    {EOPNOTSUPP, "Vorgang wird nicht unterstützt"},
    {ETIMEDOUT, "Zeitüberschreitung"},
    {EPIPE, "Datenübergabe unterbrochen"},
    {ECANCELED, "Vorgang abgebrochen"},
};

}  // namespace

Status Status::FromErrno(int error_number, const std::string& what) {
  std::string text = GermanErrorText(error_number);
  if (what.empty()) return Status(std::move(text), error_number);
  return Status(what + " (" + text + ")", error_number);
}

std::string GermanErrorText(int error_number) {
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.error_number == error_number) return entry.text;
  }
  return "Systemfehler " + std::to_string(error_number);
}

}  // namespace tavrin
