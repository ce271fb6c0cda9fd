#include "cli/arguments.h"

namespace tavrin::cli {
namespace {

constexpr const char* kSynopsis =
    "Aufruf: tavrin-convert [--help] [--version] [-r|--recursive] [--complete] [-n|--dry-run [--diff]]\n"
    "                      [--json] [--all-hints] [--] QUELLE ZIEL\n";

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& words) {
  Arguments result;
  bool help = false;
  bool version = false;
  bool options_ended = false;
  std::vector<std::string> folders;
  for (const std::string& word : words) {
    if (options_ended || word.size() < 2 || word[0] != '-') {
      folders.push_back(word);
    } else if (word == "--") {
      options_ended = true;
    } else if (word == "--help") {
      help = true;
    } else if (word == "--version") {
      version = true;
    } else if (word == "-r" || word == "--recursive") {
      result.recursive = true;
    } else if (word == "--complete") {
      result.complete = true;
    } else if (word == "-n" || word == "--dry-run") {
      result.dry_run = true;
    } else if (word == "--diff") {
      result.diff = true;
    } else if (word == "--json") {
      result.json = true;
    } else if (word == "--all-hints") {
      result.all_hints = true;
    } else {
      result.error = "Unbekannte Option: " + word;
      return result;
    }
  }
  if (help) {
    result.action = Arguments::Action::kHelp;
  } else if (version) {
    result.action = Arguments::Action::kVersion;
  } else if (result.diff && !result.dry_run) {
    result.error = "--diff geht nur zusammen mit --dry-run";
  } else if (result.diff && result.json) {
    result.error = "--diff und --json schließen einander aus";
  } else if (folders.size() != 2) {
    result.error = folders.size() < 2 ? "Quell- und Zielverzeichnis müssen angegeben werden"
                                      : "Zu viele Argumente: genau ein Quell- und ein Zielverzeichnis erwartet";
  } else {
    result.action = Arguments::Action::kConvert;
    result.source = folders[0];
    result.target = folders[1];
  }
  return result;
}

std::string HelpText() {
  return std::string(kSynopsis) +
         "\n"
         "Konvertiert ein Visual-Basic-Projekt von den VB5-Common-Controls (COMCTL32.OCX,\n"
         "COMCT232.OCX) auf die erweiterten VB6-Common-Controls (MSCOMCTL.OCX,\n"
         "MSCOMCT2.OCX). Alle Dateien aus QUELLE werden nach ZIEL kopiert; Projekttextdateien\n"
         "(vbp vbg frm cls ctl bas dob pag wct) werden dabei Zeile für Zeile umgeschrieben,\n"
         "alle anderen Dateien unverändert übernommen. QUELLE wird nie verändert.\n"
         "\n"
         "QUELLE muss eine Projektdatei (*.vbp) enthalten. ZIEL darf keine Dateien\n"
         "enthalten (Unterverzeichnisse stören nicht) und wird angelegt, wenn es fehlt.\n"
         "\n"
         "Optionen:\n"
         "  -r, --recursive  auch alle Unterverzeichnisse von QUELLE konvertieren, jedes in\n"
         "                   das gleichnamige Unterverzeichnis von ZIEL (versteckte\n"
         "                   Verzeichnisse und symbolische Verknüpfungen auf\n"
         "                   Verzeichnisse ausgenommen)\n"
         "  --complete       vollständige Konvertierung: auch die Klassen-IDs der\n"
         "                   Unterobjekte (ColumnHeader, Panel, Button, ...) und die\n"
         "                   Bibliotheksnamen in jeder Schreibweise (comctl32.ocx);\n"
         "                   je Projektdatei nur die erste Object=-Zeile jeder Bibliothek\n"
         "  -n, --dry-run    Probelauf: alles prüfen und lesen, aber nichts schreiben;\n"
         "                   zeigt je Datei \"kopieren\" oder \"umschreiben\"\n"
         "  --diff           beim Probelauf die geänderten Zeilen jeder Datei als\n"
         "                   Unterschiede (unified diff) zeigen\n"
         "  --json           statt des deutschen Berichts ein JSON-Dokument ausgeben\n"
         "  --all-hints      alle Hinweise zeigen, nicht nur die ersten 40 jeder Art\n"
         "  --help           diese Hilfe anzeigen\n"
         "  --version        die Programmversion anzeigen\n"
         "  --               beendet die Optionen (für Verzeichnisse, die mit \"-\" beginnen)\n"
         "\n"
         "Nach der Konvertierung prüft tavrin-convert das Ergebnis und nennt unter\n"
         "\"Hinweise\", was noch von Hand zu tun ist: Projekteinträge, deren Dateien im\n"
         "Ziel fehlen, verbliebene Klassen-IDs der VB5-Steuerelemente, doppelte\n"
         "Verweise, ersetzte Steuerelemente und geänderte Zeilenenden.\n"
         "\n"
         "Rückgabewerte:\n"
         "  0   alle Dateien wurden übertragen (beim Probelauf: würden übertragen)\n"
         "  1   einzelne Dateien wurden nicht übertragen (auf der Fehlerausgabe aufgeführt;\n"
         "      beim Probelauf: sind nicht lesbar)\n"
         "  2   Konvertierung abgelehnt, falscher Aufruf oder Quellverzeichnis nicht lesbar\n"
         "  3   Ausgabe oder Fehlerausgabe konnte nicht geschrieben werden\n"
         "  130 abgebrochen mit Strg+C (SIGINT), 143 mit SIGTERM, 129 mit SIGHUP: im\n"
         "      Zielverzeichnis stehen nur die fertigen Dateien; vor neuem Lauf leeren\n";
}

std::string ShortUsage() {
  return std::string(kSynopsis) + "Weitere Hinweise: tavrin-convert --help\n";
}

}  // namespace tavrin::cli
