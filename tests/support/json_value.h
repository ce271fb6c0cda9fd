#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::testing {

// A JSON value read back by a small strict parser, so that tests can check that a document is
// well formed (and valid UTF-8) and look at its fields.
struct JsonValue {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject } kind = Kind::kNull;
  bool boolean = false;
  double number = 0;
  std::string text;  // UTF-8
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> fields;

  const JsonValue& operator[](const std::string& key) const { return fields.at(key); }
  const JsonValue& operator[](std::size_t index) const { return items.at(index); }
};

// Parses `document`; false (and `*error` says where) when it is not one valid JSON value.
bool ParseJson(std::string_view document, JsonValue* value, std::string* error);

}  // namespace tavrin::testing
