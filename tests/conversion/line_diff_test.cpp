#include "conversion/line_diff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin {
namespace {

class Collected : public TextSink {
 public:
  Status Append(std::string_view bytes) override {
    text += bytes;
    return Status::Ok();
  }
  std::string text;
};

// The diff of `old_text` and `new_text`, the new text handed over ahead of the old in pieces
// of `piece` bytes, as the rewriting does.
std::string Diff(const std::string& old_text, const std::string& new_text, std::size_t piece = 64 * 1024) {
  Collected sink;
  LineDiff diff(sink, "alt", "neu");
  for (std::size_t at = 0; at < old_text.size() || at < new_text.size(); at += piece) {
    if (at < new_text.size()) {
      EXPECT_TRUE(diff.Append(new_text.substr(at, piece)).ok());
    }
    if (at < old_text.size()) diff.Old(old_text.substr(at, piece));
  }
  std::string result = diff.Finish();
  EXPECT_EQ(sink.text, new_text) << "the new text passes through unchanged";
  return result;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The "-" and "+" lines of a diff.
std::vector<std::string> Changed(const std::string& diff, char sign) {
  std::vector<std::string> changed;
  for (const std::string& line : Lines(diff)) {
    if (!line.empty() && line[0] == sign && line.rfind("--- ", 0) != 0 && line.rfind("+++ ", 0) != 0) {
      changed.push_back(line.substr(1));
    }
  }
  return changed;
}

// A changed line always shows its change, however long it is and wherever the change lies:
// up to 4096 bytes whole, beyond that around its first change.
TEST(LineDiffTest, AChangedLineShowsItsChangeAtAnyLength) {
  const struct {
    std::size_t length;   // of the old line
    std::size_t changed;  // where `from` stands in it
    const char* from;
    const char* to;
    bool whole;  // shown whole
  } cases[] = {
      {4096, 4095, "b", "c", true},     // exactly the limit, the change its last byte
      {4097, 4096, "b", "c", false},    // one past it
      {4097, 0, "b", "c", false},
      {4096, 4086, "ComctlLib.", "MSComctlLib.", false},  // the new line is longer than the limit
      {9000, 5000, "ComctlLib.", "MSComctlLib.", false},  // a change after byte 5000
      {9000, 8990, "ComctlLib.", "MSComctlLib.", false},
      {20000, 10000, "MSComctlLib.", "ComctlLib.", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("length " + std::to_string(c.length) + ", change at " + std::to_string(c.changed));
    std::string old_line(c.length, 'a');
    const std::string from = c.from;
    old_line.replace(c.changed, from.size(), from);
    std::string new_line = old_line;
    new_line.replace(c.changed, from.size(), c.to);
    for (const std::size_t piece : {std::size_t{7}, std::size_t{4096}, std::size_t{65536}}) {
      SCOPED_TRACE("pieces of " + std::to_string(piece));
      const std::string diff = Diff("x\r\n" + old_line + "\r\ny\r\n", "x\r\n" + new_line + "\r\ny\r\n", piece);
      const auto removed = Changed(diff, '-');
      const auto added = Changed(diff, '+');
      ASSERT_EQ(removed.size(), 1u);
      ASSERT_EQ(added.size(), 1u);
      EXPECT_TRUE(removed[0] != added[0]) << "the change must be in sight";
      if (c.whole) {
        EXPECT_TRUE(removed[0] == old_line);
        EXPECT_TRUE(added[0] == new_line);
        continue;
      }
      // Around the change: at most 2048 bytes before it and 2048 from it on, "…" at each cut.
      const std::size_t before = std::min<std::size_t>(c.changed, 2048);
      const std::string cut_before = c.changed > before ? "… " : "";
      const std::size_t old_after = std::min<std::size_t>(old_line.size() - c.changed, 2048);
      const std::size_t new_after = std::min<std::size_t>(new_line.size() - c.changed, 2048);
      const std::string old_shown = cut_before + old_line.substr(c.changed - before, before + old_after) +
                                    (c.changed + old_after < old_line.size() ? " …" : "");
      const std::string new_shown = cut_before + new_line.substr(c.changed - before, before + new_after) +
                                    (c.changed + new_after < new_line.size() ? " …" : "");
      EXPECT_TRUE(removed[0] == old_shown) << removed[0].substr(0, 20) << "…" << removed[0].substr(removed[0].size() - 20);
      EXPECT_TRUE(added[0] == new_shown) << added[0].substr(0, 20) << "…" << added[0].substr(added[0].size() - 20);
    }
  }
}

// An unchanged line beyond the limit is cut after its first 4096 bytes, as context.
TEST(LineDiffTest, AnUnchangedLongLineIsCutAfterTheLimit) {
  const std::string context(5000, 'k');
  const std::string diff = Diff(context + "\r\nb\r\n", context + "\r\nc\r\n");
  const auto lines = Lines(diff);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_TRUE(lines[3] == " " + context.substr(0, 4096) + " …");
  EXPECT_EQ(lines[4], "-b");
  EXPECT_EQ(lines[5], "+c");
}

// A cut never leaves half a character: it is moved to the character's edge.
TEST(LineDiffTest, ACutAroundAChangeKeepsWholeCharacters) {
  std::string old_line;
  for (int i = 0; i < 3000; ++i) old_line += "\xc3\xbc";  // "ü", two bytes
  old_line += "ComctlLib.";
  for (int i = 0; i < 3000; ++i) old_line += "\xc3\xbc";
  std::string new_line = old_line;
  new_line.replace(6000, 10, "MSComctlLib.");
  const std::string diff = Diff(old_line, new_line, 1000);
  const auto removed = Changed(diff, '-');
  ASSERT_EQ(removed.size(), 1u);
  EXPECT_EQ(removed[0].find("\\x"), std::string::npos) << "no piece of a character escaped";
  EXPECT_EQ(removed[0].rfind("… \xc3\xbc", 0), 0u);
  EXPECT_NE(removed[0].find("ComctlLib."), std::string::npos);
}

// Lines paired by number; at most six unchanged lines between two changes keep them in one
// hunk (three lines of context after the first, three before the second), seven part them.
TEST(LineDiffTest, SixUnchangedLinesJoinTwoChangesSevenPartThem) {
  for (const int between : {5, 6, 7, 8}) {
    SCOPED_TRACE(std::to_string(between) + " unchanged lines between");
    std::string old_text = "ComctlLib.1\r\n";
    std::string new_text = "MSComctlLib.1\r\n";
    for (int i = 0; i < between; ++i) {
      old_text += "u" + std::to_string(i) + "\r\n";
      new_text += "u" + std::to_string(i) + "\r\n";
    }
    old_text += "ComctlLib.2\r\nz\r\n";
    new_text += "MSComctlLib.2\r\nz\r\n";
    const std::string diff = Diff(old_text, new_text);
    std::vector<std::string> hunks;
    for (const std::string& line : Lines(diff)) {
      if (line.rfind("@@", 0) == 0) hunks.push_back(line);
    }
    if (between <= 6) {
      const std::string length = std::to_string(between + 3);
      EXPECT_EQ(hunks, (std::vector<std::string>{"@@ -1," + length + " +1," + length + " @@"}));
    } else {
      const std::string second = std::to_string(between + 2 - 3);
      EXPECT_EQ(hunks, (std::vector<std::string>{"@@ -1,4 +1,4 @@", "@@ -" + second + ",5 +" + second + ",5 @@"}));
    }
  }
}

}  // namespace
}  // namespace tavrin
