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

// The result of a request as one JSON document (valid UTF-8 always; a byte of a name that is
// not valid UTF-8 appears as the text \xNN in its string):
// {"source", "target", "recursive", "complete", "dry_run", "files": {"copied", "rewritten",
// "failed"}, "folders": {"unreadable", "not_made"}, "lines_changed", "replacements": [{"row",
// "old", "new", "count"}], "failures": [{"kind": "source_folder" or "target_folder", "folder",
// "reason"} or {"kind": "file", "file", "reason"}], "hints": [{"kind", "file", "line", "text",
// "message"}]}. "failed" is the number of failures of kind "file".
std::string JsonReport(const RequestResult& result, const JsonContext& context);

// `bytes` as a JSON string, quotes included.
std::string JsonString(std::string_view bytes);

}  // namespace tavrin::cli
