// The "Object=" lines of a project file and the filter that keeps one per library.
#include "conversion/duplicate_references.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "conversion/line_diff.h"
#include "runtime/path_text.h"

namespace tavrin {
namespace {

class StringSink : public TextSink {
 public:
  Status Append(std::string_view bytes) override {
    text += bytes;
    return Status::Ok();
  }
  std::string text;
};

TEST(DuplicateReferences, ObjectLinesNameTheirLibraryAndVersion) {
  struct Case {
    std::string line;
    std::optional<std::string> class_id;
    std::string version;
  };
  const std::vector<Case> cases = {
      {"Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0; MSCOMCTL.OCX", "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}", "2.1"},
      {"object = {831fdd16-0c5c-11d2-a9fc-0000f8754da1}#2.0#0; mscomctl.ocx\r\n", "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}", "2.0"},
      {"Object={0ECD9B60-23AA-11D0-B351-00A0C9055D8E}; MSHFLXGD.OCX", "{0ECD9B60-23AA-11D0-B351-00A0C9055D8E}", ""},
      {"Object=*\\AUserCtl.vbp", std::nullopt, ""},           // a control of a project in the group
      {" Object={A}#1.0#0; X.OCX", std::nullopt, ""},          // not at the line's start
      {"Objects={A}#1.0#0; X.OCX", std::nullopt, ""},
      {"Object={831FDD16-0C5C-11D2", std::nullopt, ""},        // no closing brace
      {"Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<ObjectReference> reference = ParseObjectLine(c.line);
    ASSERT_EQ(reference.has_value(), c.class_id.has_value());
    if (!reference) continue;
    EXPECT_EQ(reference->class_id, *c.class_id);
    EXPECT_EQ(reference->version, c.version);
  }
  EXPECT_TRUE(IsProjectFileName(NativeString(PathFromText("a/Projekt1.VBP").native())));
  EXPECT_FALSE(IsProjectFileName(NativeString(PathFromText("Gruppe.vbg").native())));
  EXPECT_FALSE(IsProjectFileName(NativeString(PathFromText("vbp").native())));
}

// Fed in pieces of every size, the filter drops the same lines: later ones naming a library an
// earlier one named, whatever their letter case or version; the first stays.
TEST(DuplicateReferences, TheFilterKeepsTheFirstLineOfEachLibraryInPiecesOfAnySize) {
  const std::string in =
      "Type=Exe\r\n"
      "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0; MSCOMCTL.OCX\r\n"
      "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
      "Obj\r\n"
      "\r\n"
      "Object={86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCT2.OCX\r\n"
      "Object=*\\AUserCtl.vbp\r\n"
      "Object=*\\AUserCtl.vbp\r\n"
      "Form=Form1.frm\r\n"
      "object={831fdd16-0c5c-11d2-a9fc-0000f8754da1}#2.0#0; mscomctl.ocx";  // the last, without end
  const std::string out =
      "Type=Exe\r\n"
      "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0; MSCOMCTL.OCX\r\n"
      "Obj\r\n"
      "\r\n"
      "Object={86CF1D34-0C5F-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCT2.OCX\r\n"
      "Object=*\\AUserCtl.vbp\r\n"
      "Object=*\\AUserCtl.vbp\r\n"
      "Form=Form1.frm\r\n";
  for (std::size_t piece = 1; piece <= in.size(); ++piece) {
    SCOPED_TRACE(piece);
    StringSink sink;
    std::vector<std::uint64_t> lines;
    DuplicateReferenceFilter filter(sink, [&lines](std::uint64_t line) { lines.push_back(line); });
    for (std::size_t at = 0; at < in.size(); at += piece) ASSERT_TRUE(filter.Append(in.substr(at, piece)).ok());
    ASSERT_TRUE(filter.Finish().ok());
    EXPECT_EQ(sink.text, out);
    EXPECT_EQ(lines, (std::vector<std::uint64_t>{3, 10}));
    EXPECT_EQ(filter.dropped(), 2u);
  }
}

// A line is held back up to kMostHeld bytes, its line end included; a longer one passes.
TEST(DuplicateReferences, TheFilterHoldsALineUpToItsLimitAndPassesALongerOne) {
  const std::string first = "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0; MSCOMCTL.OCX\r\n";
  const std::string start = "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; ";
  for (const std::size_t size : {DuplicateReferenceFilter::kMostHeld, DuplicateReferenceFilter::kMostHeld + 1}) {
    SCOPED_TRACE(size);
    const std::string later = start + std::string(size - start.size() - 2, 'x') + "\r\n";
    ASSERT_EQ(later.size(), size);
    StringSink sink;
    DuplicateReferenceFilter filter(sink);
    ASSERT_TRUE(filter.Append(first + later + "End\r\n").ok());
    ASSERT_TRUE(filter.Finish().ok());
    const bool held = size <= DuplicateReferenceFilter::kMostHeld;
    EXPECT_EQ(sink.text, held ? first + "End\r\n" : first + later + "End\r\n");
    EXPECT_EQ(filter.dropped(), held ? 1u : 0u);
  }
}

// Past kMostClassIds libraries no new one is remembered, but the ones remembered still count.
TEST(DuplicateReferences, TheFilterRemembersALimitedNumberOfLibraries) {
  std::string in;
  std::string out;
  auto object = [](std::size_t n) { return "Object={" + std::to_string(n) + "}#1.0#0; L.OCX\r\n"; };
  for (std::size_t n = 0; n <= DuplicateReferenceFilter::kMostClassIds; ++n) in += object(n);
  out = in;
  in += object(DuplicateReferenceFilter::kMostClassIds - 1);  // the last one remembered: dropped
  in += object(DuplicateReferenceFilter::kMostClassIds);      // one past the limit: passes
  out += object(DuplicateReferenceFilter::kMostClassIds);
  StringSink sink;
  DuplicateReferenceFilter filter(sink);
  ASSERT_TRUE(filter.Append(in).ok());
  ASSERT_TRUE(filter.Finish().ok());
  EXPECT_EQ(filter.dropped(), 1u);
  EXPECT_TRUE(sink.text == out) << "the text differs";
}

// A dropped line shows in the diff as removed, and the new side's numbers move up.
TEST(DuplicateReferences, TheDiffShowsADroppedLineAsRemoved) {
  std::string old_text = "Type=Exe\r\nObject={A}#2.1#0; X.OCX\r\nObject={A}#2.0#0; X.OCX\r\n";
  for (int i = 0; i < 10; ++i) old_text += "Zeile" + std::to_string(i) + "\r\n";
  old_text += "Object={A}#1.0#0; X.OCX\r\nEnde\r\n";
  StringSink sink;
  LineDiff diff(sink, "alt", "neu");
  DuplicateReferenceFilter filter(diff, [&diff](std::uint64_t line) { diff.Dropped(line); });
  for (std::size_t at = 0; at < old_text.size(); at += 7) {
    ASSERT_TRUE(filter.Append(old_text.substr(at, 7)).ok());
    diff.Old(old_text.substr(at, 7));
  }
  ASSERT_TRUE(filter.Finish().ok());
  EXPECT_EQ(diff.Finish(),
            "--- alt\n+++ neu\n"
            "@@ -1,6 +1,5 @@\n Type=Exe\n Object={A}#2.1#0; X.OCX\n-Object={A}#2.0#0; X.OCX\n Zeile0\n Zeile1\n Zeile2\n"
            "@@ -11,5 +10,4 @@\n Zeile7\n Zeile8\n Zeile9\n-Object={A}#1.0#0; X.OCX\n Ende\n");
  EXPECT_EQ(filter.dropped(), 2u);
}

}  // namespace
}  // namespace tavrin
