#include "cli/json_report.h"

#include <utility>
#include <vector>

#include "conversion/key_table.h"
#include "runtime/path_text.h"
#include "runtime/shown_text.h"

namespace tavrin::cli {
namespace {

void AppendHex(std::string& out, const char* prefix, unsigned value, int digits) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  out += prefix;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

// A name, or a text that may quote names or bytes of files: escaped as everywhere else.
std::string ShownJson(std::string_view bytes) { return JsonString(ShownText(bytes)); }
std::string Text(const std::filesystem::path& path) { return ShownJson(PathText(path)); }

}  // namespace

std::string JsonString(std::string_view bytes) {
  std::string out = "\"";
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8SequenceLength(bytes.substr(i));
    if (length == 0) {  // not UTF-8: the byte as the text \xNN
      AppendHex(out, "\\\\x", static_cast<unsigned char>(bytes[i]), 2);
      ++i;
      continue;
    }
    const char c = bytes[i];
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      AppendHex(out, "\\u", static_cast<unsigned char>(c), 4);
    } else {
      out.append(bytes.substr(i, length));
    }
    i += length;
  }
  return out + "\"";
}

std::string JsonReport(const RequestResult& result, const JsonContext& context) {
  const PassReport& report = result.report;
  auto boolean = [](bool value) { return value ? "true" : "false"; };
  std::string json = "{\n";
  json += "  \"source\": " + Text(context.source) + ",\n";
  json += "  \"target\": " + Text(context.target) + ",\n";
  json += std::string("  \"recursive\": ") + boolean(context.recursive) + ",\n";
  json += std::string("  \"complete\": ") + boolean(context.complete) + ",\n";
  json += std::string("  \"dry_run\": ") + boolean(context.dry_run) + ",\n";
  json += "  \"files\": {\"copied\": " + std::to_string(report.files_copied) +
          ", \"rewritten\": " + std::to_string(report.files_rewritten) +
          ", \"failed\": " + std::to_string(report.failures.size()) + "},\n";
  json += "  \"folders\": {\"unreadable\": " + std::to_string(report.folder_failures.size()) +
          ", \"not_made\": " + std::to_string(report.target_folder_failures.size()) + "},\n";
  json += "  \"lines_changed\": " + std::to_string(report.lines_changed) + ",\n";
  json += "  \"lines_removed\": " + std::to_string(report.lines_removed) + ",\n";
  json += "  \"replacements\": [";
  const KeyTable keys = KeyTable::Build(report.rows > KeyTable::kUpper);
  for (int i = KeyTable::kLower; i <= keys.upper(); ++i) {
    json += i == KeyTable::kLower ? "\n" : ",\n";
    json += "    {\"row\": " + std::to_string(i) + ", \"old\": " + JsonString(keys.OldKey(i)) +
            ", \"new\": " + JsonString(keys.NewKey(i)) +
            ", \"count\": " + std::to_string(report.replacements[static_cast<std::size_t>(i)]) + "}";
  }
  json += "\n  ],\n  \"failures\": [";
  // Each failure says its kind: a file, a source folder that could not be read, a target
  // folder that could not be made; "failed" counts the files only.
  bool first = true;
  const std::pair<const std::vector<FileFailure>*, const char*> lists[] = {
      {&report.folder_failures, "\"kind\": \"source_folder\", \"folder\": "},
      {&report.target_folder_failures, "\"kind\": \"target_folder\", \"folder\": "},
      {&report.failures, "\"kind\": \"file\", \"file\": "}};
  for (const auto& [list, kind] : lists) {
    for (const FileFailure& failure : *list) {
      json += first ? "\n" : ",\n";
      first = false;
      json += "    {" + std::string(kind) + Text(failure.name) + ", \"reason\": " + ShownJson(failure.reason) + "}";
    }
  }
  json += first ? "],\n" : "\n  ],\n";
  json += "  \"hints\": [";
  first = true;
  for (const Hint& hint : result.hints) {
    json += first ? "\n" : ",\n";
    first = false;
    json += "    {\"kind\": " + JsonString(hint.kind) + ", \"file\": " + Text(std::filesystem::path(hint.file)) +
            ", \"line\": " + std::to_string(hint.line) + ", \"text\": " + ShownJson(hint.text) +
            ", \"message\": " + ShownJson(hint.message) + ", \"count\": " + std::to_string(hint.count) + "}";
  }
  json += first ? "]\n}\n" : "\n  ]\n}\n";
  return json;
}

}  // namespace tavrin::cli
