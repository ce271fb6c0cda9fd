#include "tests/support/json_value.h"

#include <cstdlib>

#include "runtime/shown_text.h"

namespace tavrin::testing {
namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  bool Document(JsonValue* value) {
    if (!Value(value)) return false;
    Blank();
    return at_ == text_.size() || Fail("text after the value");
  }
  std::string error() const { return error_ + " at byte " + std::to_string(at_); }

 private:
  bool Fail(const std::string& what) {
    if (error_.empty()) error_ = what;
    return false;
  }
  void Blank() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t')) {
      ++at_;
    }
  }
  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return Fail("unknown word");
    at_ += word.size();
    return true;
  }
  bool Value(JsonValue* value) {
    Blank();
    if (at_ == text_.size()) return Fail("value missing");
    const char c = text_[at_];
    if (c == '{') return Object(value);
    if (c == '[') return Array(value);
    if (c == '"') {
      value->kind = JsonValue::Kind::kString;
      return String(&value->text);
    }
    if (c == 't' || c == 'f') {
      value->kind = JsonValue::Kind::kBool;
      value->boolean = c == 't';
      return Word(c == 't' ? "true" : "false");
    }
    if (c == 'n') return Word("null");
    value->kind = JsonValue::Kind::kNumber;
    const std::size_t start = at_;
    while (at_ < text_.size() && std::string_view("+-0123456789.eE").find(text_[at_]) != std::string_view::npos) ++at_;
    if (at_ == start) return Fail("not a value");
    value->number = std::strtod(std::string(text_.substr(start, at_ - start)).c_str(), nullptr);
    return true;
  }
  bool String(std::string* out) {
    ++at_;  // the opening quote
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '"') {
        ++at_;
        return true;
      }
      if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a string");
      if (c != '\\') {
        const std::size_t length = Utf8SequenceLength(text_.substr(at_));
        if (length == 0) return Fail("not UTF-8");
        out->append(text_.substr(at_, length));
        at_ += length;
        continue;
      }
      if (++at_ == text_.size()) break;
      const char e = text_[at_++];
      const std::string_view simple = "\"\\/bfnrt";
      const std::string_view meant = "\"\\/\b\f\n\r\t";
      if (const std::size_t k = simple.find(e); k != std::string_view::npos) {
        out->push_back(meant[k]);
      } else if (e == 'u' && at_ + 4 <= text_.size()) {
        const unsigned code = static_cast<unsigned>(std::strtoul(std::string(text_.substr(at_, 4)).c_str(), nullptr, 16));
        at_ += 4;
        if (code >= 0x80) return Fail("\\u beyond ASCII is not used here");
        out->push_back(static_cast<char>(code));
      } else {
        return Fail("bad escape");
      }
    }
    return Fail("string not closed");
  }
  bool Array(JsonValue* value) {
    value->kind = JsonValue::Kind::kArray;
    ++at_;
    Blank();
    if (at_ < text_.size() && text_[at_] == ']') return ++at_, true;
    for (;;) {
      value->items.emplace_back();
      if (!Value(&value->items.back())) return false;
      Blank();
      if (at_ < text_.size() && text_[at_] == ',') {
        ++at_;
        continue;
      }
      if (at_ < text_.size() && text_[at_] == ']') return ++at_, true;
      return Fail("',' or ']' expected");
    }
  }
  bool Object(JsonValue* value) {
    value->kind = JsonValue::Kind::kObject;
    ++at_;
    Blank();
    if (at_ < text_.size() && text_[at_] == '}') return ++at_, true;
    for (;;) {
      Blank();
      std::string key;
      if (at_ == text_.size() || text_[at_] != '"' || !String(&key)) return Fail("key expected");
      Blank();
      if (at_ == text_.size() || text_[at_++] != ':') return Fail("':' expected");
      if (!Value(&value->fields[key])) return false;
      Blank();
      if (at_ < text_.size() && text_[at_] == ',') {
        ++at_;
        continue;
      }
      if (at_ < text_.size() && text_[at_] == '}') return ++at_, true;
      return Fail("',' or '}' expected");
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
  std::string error_;
};

}  // namespace

bool ParseJson(std::string_view document, JsonValue* value, std::string* error) {
  Parser parser(document);
  if (parser.Document(value)) return true;
  *error = parser.error();
  return false;
}

}  // namespace tavrin::testing
