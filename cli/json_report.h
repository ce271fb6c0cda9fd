#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "conversion/conversion_request.h"

namespace tavrin::cli {

// What the JSON document says besides the result of the request.
struct JsonContext {
  std::filesystem::path source;
  std::filesystem::path target;
  bool recursive = false;
  bool complete = false;
  bool dry_run = false;
};

// The result of a request as one JSON document, valid UTF-8 always. Names, reasons and the
// texts of hints are written as the summary shows them (ShownText: a byte that is not UTF-8
// as the text \xNN, a control character escaped, a backslash doubled where it is no
// separator), so two different names never come out alike:
// {"source", "target", "recursive", "complete", "dry_run", "files": {"copied", "rewritten",
// "failed"}, "folders": {"unreadable", "not_made"}, "lines_changed", "replacements": [{"row",
// "old", "new", "count"}], "failures": [{"kind": "source_folder" or "target_folder", "folder",
// "reason"} or {"kind": "file", "file", "reason"}], "hints": [{"kind", "file", "line", "text",
// "message"}]}. "failed" is the number of failures of kind "file".
std::string JsonReport(const RequestResult& result, const JsonContext& context);

// `bytes` as a JSON string, quotes included. Bytes that are not UTF-8 become the text \xNN; for
// texts that can hold them, escape them by ShownText first.
std::string JsonString(std::string_view bytes);

}  // namespace tavrin::cli
