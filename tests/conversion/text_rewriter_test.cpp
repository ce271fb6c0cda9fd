#include "conversion/text_rewriter.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "runtime/buffered_output.h"

namespace tavrin {
namespace {

// Collects what is written, in memory.
class MemoryOutput : public OutputFile {
 public:
  Status Write(std::string_view bytes) override {
    content.append(bytes);
    return Status::Ok();
  }
  Status Close() override { return Status::Ok(); }
  std::string content;
};

struct Rewritten {
  std::string text;
  std::uint64_t lines_changed = 0;
  KeyTable::Counts replacements{};
  std::vector<std::uint64_t> line_starts;
  std::vector<std::uint64_t> found_lines;  // of the watched text, one per occurrence
};

// A text no row replaces, for the rewriter to look out for.
const std::vector<WatchedText> kWatched = {{"{0713E8C7-850A-101B-AFC0-4210102A8DA7}", 7}};

// Feeds `text` to a rewriter in pieces of 1 to `largest_piece` bytes (chosen by `random`), the
// way a pass reads a file: the bytes not taken come again in front of the next piece.
Rewritten Rewrite(const KeyTable& keys, std::string_view text, std::mt19937& random, std::size_t largest_piece,
                  bool captions) {
  const OpeningFilter filter(TextRewriter::OpeningsOf(keys, &kWatched));
  MemoryOutput memory;
  Rewritten result;
  {
    BufferedOutput output(memory, 64);
    TextRewriter::Observers observers;
    if (captions) observers.line_start = [&](std::uint64_t line) { result.line_starts.push_back(line); };
    observers.watched = &kWatched;
    observers.found = [&](int kind, std::uint64_t line, std::string_view) {
      EXPECT_EQ(kind, 7);
      result.found_lines.push_back(line);
    };
    TextRewriter rewriter(keys, filter, output, observers);
    std::string pending;
    std::size_t position = 0;
    for (;;) {
      const std::size_t piece = std::min<std::size_t>(1 + random() % largest_piece, text.size() - position);
      const bool final = piece == 0;
      const std::string data = pending + std::string(text.substr(position, piece));
      position += piece;
      const std::size_t taken = rewriter.Rewrite(data.data(), data.size(), final);
      EXPECT_LE(taken, data.size());
      EXPECT_LE(data.size() - taken, final ? 0 : rewriter.most_untaken()) << "holds back more than it may";
      pending = data.substr(taken);
      if (final) break;
    }
    EXPECT_TRUE(rewriter.status().ok());
    result.lines_changed = rewriter.lines_changed();
    result.replacements = rewriter.replacements();
    EXPECT_TRUE(output.Close().ok());
  }
  result.text = memory.content;
  return result;
}

Rewritten RewriteWhole(const KeyTable& keys, std::string_view text) {
  std::mt19937 random(1);
  return Rewrite(keys, text, random, text.size() + 1, false);
}

std::string Upper(std::string text) {
  for (char& c : text) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  return text;
}

// The rows applied the plain way: each whole line, row after row, each row on the result of
// the rows before it; an occurrence that stands inside its row's new text stays; a bare id
// takes a version suffix along (a regular expression says which).
std::string ReferenceLine(const KeyTable& keys, std::string line, KeyTable::Counts& counts, bool* changed) {
  static const std::regex kVersion("#[0-9A-Fa-f]+\\.[0-9A-Fa-f]+#[0-9A-Fa-f]+");
  for (int i = KeyTable::kLower; i <= keys.upper(); ++i) {
    const KeyTable::Row& row = keys.row(i);
    const std::string from(row.old_key);
    const std::string to(row.new_key);
    const std::string haystack = row.match == KeyTable::Match::kAnyCase ? Upper(line) : line;
    std::string next;
    std::size_t done = 0;
    for (std::size_t pos = haystack.find(from); pos != std::string::npos; pos = haystack.find(from, pos)) {
      bool inside = false;
      for (std::size_t offset : keys.InsideNew(i)) {
        inside = inside || (pos >= offset && line.compare(pos - offset, to.size(), to) == 0);
      }
      if (inside) {
        pos += from.size();
        continue;
      }
      std::size_t end = pos + from.size();
      std::string replacement = to;
      std::smatch suffix;
      if (row.match == KeyTable::Match::kExactWithVersion &&
          std::regex_search(line.cbegin() + static_cast<std::ptrdiff_t>(end), line.cend(), suffix, kVersion,
                            std::regex_constants::match_continuous)) {
        end += static_cast<std::size_t>(suffix.length(0));
        replacement += "#2.0#0";
      }
      next += line.substr(done, pos - done) + replacement;
      done = pos = end;
      ++counts[static_cast<std::size_t>(i)];
      *changed = true;
    }
    line = next + line.substr(done);
  }
  return line;
}

Rewritten Reference(const KeyTable& keys, const std::string& text) {
  Rewritten result;
  std::string line;
  std::uint64_t lines = 0;
  auto end_line = [&] {
    bool changed = false;
    const std::string rewritten = ReferenceLine(keys, line, result.replacements, &changed);
    // The watched text counts where it stands after the rewriting (no row took it).
    for (std::size_t at = rewritten.find(kWatched[0].text); at != std::string::npos;
         at = rewritten.find(kWatched[0].text, at + 1)) {
      result.found_lines.push_back(lines + 1);
    }
    result.text += rewritten + "\r\n";
    result.lines_changed += changed ? 1 : 0;
    result.line_starts.push_back(++lines);
    line.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      end_line();
    } else {
      line += text[i];
    }
  }
  if (!line.empty()) end_line();
  return result;
}

TEST(TextRewriterTest, RewritesLinesAsTheConversionRequires) {
  const KeyTable keys = KeyTable::Build();
  const struct {
    const char* line;
    const char* expected;
  } cases[] = {
      {"Object={6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.3#0; COMCTL32.OCX",
       "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX"},
      {"Object={FE0065C0-1B7B-11CF-9D53-00AA003C9CB6}#1.1#0; COMCT232.OCX",
       "Object={86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCT2.OCX"},
      {"Begin ComctlLib.Toolbar Toolbar1", "Begin MSComctlLib.Toolbar Toolbar1"},
      {"Begin ComCtl2.UpDown UpDown1", "Begin MSComCtl2.UpDown UpDown1"},
      // A version that is not in the table becomes the one that exists.
      {"{6B7E6392-850A-101B-AFC0-4210102A8DA7}#1.4#0", "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"},
      // Letter case must match.
      {"Begin comctllib.Toolbar Toolbar1", "Begin comctllib.Toolbar Toolbar1"},
      {"comctl32.ocx COMCTL32.ocx", "comctl32.ocx COMCTL32.ocx"},
      // Every occurrence, left to right, also right after its own first byte.
      {"ComctlLib.A ComctlLib.B ComctlLib.", "MSComctlLib.A MSComctlLib.B MSComctlLib."},
      {"ComctlLib.ComctlLib.", "MSComctlLib.MSComctlLib."},
      {"CComctlLib.", "CMSComctlLib."},
      {"{{6B7E6392-850A-101B-AFC0-4210102A8DA7}", "{{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}"},
      {"COMCTL32.OCXCOMCT232.OCX", "MSCOMCTL.OCXMSCOMCT2.OCX"},
      // An already converted project is left as it is.
      {"Begin MSComctlLib.Toolbar Toolbar1", "Begin MSComctlLib.Toolbar Toolbar1"},
      {"Begin MSComCtl2.UpDown UpDown1", "Begin MSComCtl2.UpDown UpDown1"},
      {"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX",
       "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX"},
      // Mixed: old and new in one line; only the old one moves.
      {"MSComctlLib.A ComctlLib.B", "MSComctlLib.A MSComctlLib.B"},
      {"XComctlLib.", "XMSComctlLib."},
      {"SComctlLib.", "SMSComctlLib."},
      // Nothing to do; NUL and high bytes stay.
      {"Caption = \"Kunden\xfc" "bersicht\"", "Caption = \"Kunden\xfc" "bersicht\""},
      {"{ ComctlLib", "{ ComctlLib"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RewriteWhole(keys, std::string(c.line) + "\r\n").text, std::string(c.expected) + "\r\n") << c.line;
  }
  EXPECT_EQ(RewriteWhole(keys, std::string("\0\x80" "ComctlLib.\xff\0", 14)).text,
            std::string("\0\x80" "MSComctlLib.\xff\0\r\n", 18));
}

TEST(TextRewriterTest, LineEndsBecomeCrLfAndEmptyTextStaysEmpty) {
  const KeyTable keys = KeyTable::Build();
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"a", "a\r\n"},
      {"\n", "\r\n"},
      {"\r", "\r\n"},
      {"a\r\nb\nc\rd", "a\r\nb\r\nc\r\nd\r\n"},
      {"\r\r\n\n\r", "\r\n\r\n\r\n\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(RewriteWhole(keys, c.text).text, c.expected) << c.text;
}

TEST(TextRewriterTest, EveryRuleRewritesItsExampleAndCountsIt) {
  const KeyTable keys = KeyTable::Build(/*complete=*/true);
  for (int i = KeyTable::kLower; i <= keys.upper(); ++i) {
    const KeyTable::Row& row = keys.row(i);
    SCOPED_TRACE(std::string(row.name));
    // The complete upgrade's rows come after the fourteen and must not change their results.
    const KeyTable& table = i <= KeyTable::kUpper ? KeyTable::Build() : keys;
    const Rewritten result = RewriteWhole(table, std::string(row.example) + "\r\n");
    EXPECT_EQ(result.text, std::string(row.example_after) + "\r\n");
    KeyTable::Counts expected{};
    expected[static_cast<std::size_t>(i)] = 1;
    EXPECT_EQ(result.replacements, expected);
    EXPECT_FALSE(row.description.empty());
  }
}

// The major and the minor part of a version suffix are taken along up to 4096 hex digits; one
// more and the text is no version: the id alone is replaced. The last part has no limit.
TEST(TextRewriterTest, VersionPartsOfAtMost4096DigitsAreTakenAlong) {
  const KeyTable keys = KeyTable::Build();
  const std::string old_id = "{6B7E6392-850A-101B-AFC0-4210102A8DA7}";
  const std::string new_id = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}";
  std::mt19937 random(7);
  for (const std::size_t digits : {std::size_t{4095}, std::size_t{4096}, std::size_t{4097}}) {
    for (const int part : {0, 1, 2}) {
      SCOPED_TRACE(std::to_string(digits) + " digits in part " + std::to_string(part));
      const std::string run(digits, 'f');
      const std::string suffix = part == 0 ? "#" + run + ".0#0" : part == 1 ? "#1." + run + "#0" : "#1.4#" + run;
      const bool taken = digits <= 4096 || part == 2;
      const std::string expected = (taken ? new_id + "#2.0#0" : new_id + suffix) + "; x\r\n";
      const std::string line = old_id + suffix + "; x\r\n";
      const Rewritten whole = RewriteWhole(keys, line);
      EXPECT_TRUE(whole.text == expected) << whole.text.substr(0, 60);
      EXPECT_EQ(whole.replacements[5], 1u);
      for (const std::size_t piece : {std::size_t{1}, std::size_t{100}, std::size_t{5000}}) {
        const Rewritten pieces = Rewrite(keys, line, random, piece, false);
        EXPECT_TRUE(pieces.text == expected) << "pieces of up to " << piece << ": " << pieces.text.substr(0, 60);
      }
    }
  }
}

TEST(TextRewriterTest, VersionsAndTheCompleteUpgrade) {
  const KeyTable keys = KeyTable::Build(/*complete=*/true);
  const std::string old_id = "{6B7E6392-850A-101B-AFC0-4210102A8DA7}";
  const std::string new_id = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}";
  const std::string long_run(5000, '1');
  const struct {
    std::string line;
    std::string expected;
  } cases[] = {
      {old_id + "#1.4#0", new_id + "#2.0#0"},
      {old_id + "#a.Bc#409; x", new_id + "#2.0#0; x"},
      {old_id + "#1.4#0409ff", new_id + "#2.0#0"},
      {"Reference=*\\G" + old_id + "#1.5#0#..\\comctl32.ocx#Lib", "Reference=*\\G" + new_id + "#2.0#0#..\\MSCOMCTL.OCX#Lib"},
      {old_id + "#1.4", new_id + "#1.4"},          // not a whole version: the id alone
      {old_id + "#1.#0", new_id + "#1.#0"},
      {old_id + "#" + long_run + ".0#0", new_id + "#" + long_run + ".0#0"},  // beyond any real version
      {"{0713E8C7-850A-101B-AFC0-4210102A8DA7}", "{BDD1F052-858B-11D1-B16A-00C0F0283628}"},
      {"Object = \"x\"; \"cOmCtL32.oCx\"", "Object = \"x\"; \"MSCOMCTL.OCX\""},
      {"ComCt232.ocx COMCT232.OCX", "MSCOMCT2.OCX MSCOMCT2.OCX"},
      // Nothing else: the font id and _Version lines stay.
      {"BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} ", "BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} "},
      {"      _Version        =   327682", "      _Version        =   327682"},
  };
  std::mt19937 random(3);
  for (const auto& c : cases) {
    EXPECT_EQ(RewriteWhole(keys, c.line + "\r\n").text, c.expected + "\r\n") << c.line.substr(0, 80);
    // A byte at a time, so that every part of a version ends a piece once.
    EXPECT_EQ(Rewrite(keys, c.line + "\r\n", random, 1, false).text, c.expected + "\r\n") << c.line.substr(0, 80);
  }
  // Without the complete upgrade, sub-objects and lower-case file names stay.
  const KeyTable fourteen = KeyTable::Build();
  EXPECT_EQ(RewriteWhole(fourteen, "{0713E8C7-850A-101B-AFC0-4210102A8DA7} comctl32.ocx\r\n").text,
            "{0713E8C7-850A-101B-AFC0-4210102A8DA7} comctl32.ocx\r\n");
}

TEST(TextRewriterTest, AgreesWithWholeLineRewritingWhateverThePieces) {
  for (const bool complete : {false, true}) {
  const KeyTable keys = KeyTable::Build(complete);
  // Fragments that make old texts, new texts, near misses and line ends meet at every place.
  std::vector<std::string> fragments = {"\r\n", "\n", "\r", "MS", "C", "Co", "{", "{6", "x", "Lib.", "#1.3#0",
                                        std::string(1, '\0'), "\xff", "OCX", "#", "1", "a", ".", "#1.4", "#0",
                                        "cOmCtl32.ocx", "comct2", kWatched[0].text, "{07"};
  for (int i = KeyTable::kLower; i <= keys.upper(); ++i) {
    fragments.emplace_back(keys.OldKey(i));
    fragments.emplace_back(keys.NewKey(i));
    fragments.emplace_back(keys.OldKey(i).substr(0, keys.OldKey(i).size() / 2));
  }
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 40);
    for (int i = 0; i < count; ++i) text += fragments[random() % fragments.size()];
    if (round % 10 == 0) text += std::string(random() % 5000, 'y');  // a long last line
    const Rewritten want = Reference(keys, text);
    for (const bool captions : {false, true}) {
      const Rewritten got = Rewrite(keys, text, random, 1 + random() % 64, captions);
      ASSERT_EQ(got.text, want.text) << "input: " << text;
      ASSERT_EQ(got.lines_changed, want.lines_changed) << text;
      ASSERT_EQ(got.replacements, want.replacements) << text;
      ASSERT_EQ(got.found_lines, want.found_lines) << "lines of the watched text in: " << text;
      if (captions) {
        ASSERT_EQ(got.line_starts, want.line_starts) << text;
      }
    }
  }
  }
}

}  // namespace
}  // namespace tavrin
