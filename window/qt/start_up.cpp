#include "window/qt/start_up.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>
#include <cstdlib>
#include <system_error>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace tavrin {

bool DisplayAvailable() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
#else
  return true;
#endif
}

std::string ShellWord(std::string_view word) {
  constexpr std::string_view kPlain =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._+-,:@%=";
  if (!word.empty() && word.find_first_not_of(kPlain) == std::string_view::npos) return std::string(word);
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string NoDisplayMessage(const std::filesystem::path& program_folder) {
  std::string message =
      "Tavrin: Keine grafische Anzeige verfügbar (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt).\n";
  std::error_code error;
  const std::filesystem::path tool = program_folder / "tavrin-convert";
  if (!program_folder.empty() && std::filesystem::is_regular_file(tool, error)) {
    message += "Die Konvertierung ohne Fenster leistet das Befehlszeilenwerkzeug:\n    ";
    message += ShellWord(tool.string()) + " QUELLE ZIEL\n";
  } else {
    message +=
        "Die Konvertierung ohne Fenster leistet das Befehlszeilenwerkzeug tavrin-convert. Es wird mit\n"
        "Tavrin gebaut (build/bin/tavrin-convert) und mit \"cmake --install build\" installiert; dann:\n"
        "    tavrin-convert QUELLE ZIEL\n";
  }
  return message;
}

void NameRuntimeFolder() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
  const passwd* user = getpwuid(geteuid());
  if (user == nullptr) return;
  const QString folder = QDir::tempPath() + QStringLiteral("/runtime-") + QFile::decodeName(user->pw_name);
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
#endif
}

}  // namespace tavrin
