// Converts each example project under examples/ through the conversion request and compares
// the target folder byte for byte with the result checked in under tests/data/expected/.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "conversion/conversion_request.h"
#include "conversion/folder_path.h"
#include "runtime/path_text.h"
#include "tests/cli/folder_snapshot.h"
#include "tests/support/platform_entries.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

using testing::ExamplesFolder;
using testing::ExpectedFolder;
using testing::FolderSnapshot;
using testing::ReadExpectedCounts;
using testing::RecordingHost;
using testing::TempFolder;

// Runs the request from `source` into the fresh folder `target` and returns its result.
RequestResult Convert(const std::filesystem::path& source, const std::filesystem::path& target,
                      RecordingHost* host, RequestOptions options = {}) {
  std::filesystem::create_directories(target);
  host->source = FolderPath(source);
  host->target = FolderPath(target);
  host->record_lines = false;
  ConversionRequest request(*host, DiskFileServices(), options);
  return request.Tavrin();
}

void ExpectSameFolder(const std::filesystem::path& actual, const std::filesystem::path& expected) {
  const auto have = FolderSnapshot(actual);
  const auto want = FolderSnapshot(expected);
  ASSERT_FALSE(want.empty()) << expected;
  for (const auto& [file, bytes] : want) {
    ASSERT_EQ(have.count(file), 1u) << file << " is missing";
    EXPECT_TRUE(have.at(file) == bytes) << file << " differs from " << (expected / file);
  }
  for (const auto& [file, bytes] : have) EXPECT_EQ(want.count(file), 1u) << file << " is extra";
}

TEST(ExamplesTest, EachExampleConvertsToItsExpectedResult) {
  int variants = 0;
  for (const testing::ExpectedVariant& variant : testing::ExpectedVariants()) {
    SCOPED_TRACE(variant.name);
    ++variants;
    TempFolder temp;
    const std::filesystem::path source = temp.path() / "Quelle";
    std::filesystem::copy(ExamplesFolder() / variant.example, source, std::filesystem::copy_options::recursive);
    testing::HideDotEntries(source);

    RecordingHost host;
    const RequestResult result =
        Convert(source, temp.path() / "Ziel", &host, {.recursive = variant.recursive, .complete = variant.complete});
    ASSERT_EQ(result.outcome, RequestResult::Outcome::kConverted) << result.refusal;
    // No refusal, no failure; at most the box of hints.
    const auto boxes = host.EventsStartingWith("MessageBox");
    EXPECT_TRUE(boxes.empty() || (boxes.size() == 1 && boxes[0].rfind("MessageBox 64 Konvertierungshinweise", 0) == 0));
    ExpectSameFolder(temp.path() / "Ziel", ExpectedFolder() / variant.name);
    EXPECT_EQ(FolderSnapshot(source), FolderSnapshot(ExamplesFolder() / variant.example)) << "the source was changed";

    const auto counts = ReadExpectedCounts(ExpectedFolder() / (variant.name + ".report"));
    const int rows = variant.complete ? KeyTable::kCompleteUpper : KeyTable::kUpper;
    ASSERT_EQ(counts.size(), 4u + static_cast<std::size_t>(rows));
    EXPECT_EQ(result.report.folders, counts.at("folders"));
    EXPECT_EQ(result.report.files_copied, counts.at("files_copied"));
    EXPECT_EQ(result.report.files_rewritten, counts.at("files_rewritten"));
    EXPECT_EQ(result.report.lines_changed, counts.at("lines_changed"));
    for (int row = KeyTable::kLower; row <= rows; ++row) {
      EXPECT_EQ(result.report.replacements[static_cast<std::size_t>(row)], counts.at("row" + std::to_string(row)))
          << "row " << row;
    }
  }
  EXPECT_GE(variants, 3);
}

// A converted project converted once more stays byte for byte the same: nothing is replaced
// twice ("MSComctlLib." does not become "MSMSComctlLib."), and its line ends are already CR LF.
TEST(ExamplesTest, ConvertingAnExpectedResultAgainChangesNothing) {
  int variants = 0;
  for (const testing::ExpectedVariant& variant : testing::ExpectedVariants()) {
    SCOPED_TRACE(variant.name);
    ++variants;
    TempFolder temp;
    const std::filesystem::path source = temp.path() / "Quelle";
    const std::filesystem::path expected = ExpectedFolder() / variant.name;
    std::filesystem::copy(expected, source, std::filesystem::copy_options::recursive);
    testing::HideDotEntries(source);
    RecordingHost host;
    const RequestResult result =
        Convert(source, temp.path() / "Ziel", &host, {.recursive = variant.recursive, .complete = variant.complete});
    ASSERT_EQ(result.outcome, RequestResult::Outcome::kConverted) << result.refusal;
    EXPECT_EQ(result.report.lines_changed, 0u);
    ExpectSameFolder(temp.path() / "Ziel", expected);
  }
  EXPECT_GE(variants, 3);
}

}  // namespace
}  // namespace tavrin
