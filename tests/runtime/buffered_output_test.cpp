#include "runtime/buffered_output.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "tests/support/faulty_file_services.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

// Remembers every write; fails the write numbered `fail_write` (from 1) and every later one.
class RecordingOutput : public OutputFile {
 public:
  Status Write(std::string_view bytes) override {
    ++write_calls;
    if (fail_write != 0 && write_calls >= fail_write)
      return Status::FromErrno(ENOSPC, "Zieldatei kann nicht geschrieben werden");
    writes.emplace_back(bytes);
    return Status::Ok();
  }
  Status Close() override {
    ++close_calls;
    return close_result;
  }

  std::string Content() const {
    std::string all;
    for (const std::string& write : writes) all += write;
    return all;
  }

  std::vector<std::string> writes;
  int write_calls = 0;
  int fail_write = 0;
  int close_calls = 0;
  Status close_result;
};

TEST(BufferedOutputTest, SmallAppendsBecomeFewFullWrites) {
  RecordingOutput output;
  BufferedOutput buffered(output, 100);
  std::string expected;
  for (int i = 0; i < 1000; ++i) {
    const std::string line = "Zeile " + std::to_string(i) + "\r\n";
    ASSERT_TRUE(buffered.Append(line).ok());
    expected += line;
  }
  EXPECT_LT(output.writes.size(), expected.size() / 80) << "the buffer is not used";
  ASSERT_TRUE(buffered.Close().ok());
  EXPECT_EQ(output.Content(), expected);
  EXPECT_EQ(output.close_calls, 1);
  for (const std::string& write : output.writes) EXPECT_LE(write.size(), 100u);
}

TEST(BufferedOutputTest, LargeAppendKeepsTheOrder) {
  // Pieces larger than the buffer, and pieces of half the buffer or more that still fit
  // behind bytes that wait: either way the bytes leave in the order they came.
  const struct {
    std::size_t capacity;
    std::vector<std::string> pieces;
  } cases[] = {
      {16, {"vorher", std::string(50, 'L'), "nachher"}},
      {64, {std::string(10, 'a'), std::string(32, 'B'), std::string(5, 'c')}},
      {64, {std::string(31, 'a'), std::string(33, 'B'), std::string(40, 'C'), "d"}},
  };
  for (const auto& c : cases) {
    RecordingOutput output;
    BufferedOutput buffered(output, c.capacity);
    std::string expected;
    for (const std::string& piece : c.pieces) {
      ASSERT_TRUE(buffered.Append(piece).ok());
      expected += piece;
    }
    ASSERT_TRUE(buffered.Close().ok());
    EXPECT_EQ(output.Content(), expected) << "capacity " << c.capacity;
  }
}

TEST(BufferedOutputTest, NothingIsWrittenBeforeTheBufferFillsOrCloses) {
  RecordingOutput output;
  BufferedOutput buffered(output, 64);
  ASSERT_TRUE(buffered.Append("abc").ok());
  ASSERT_TRUE(buffered.Append("").ok());
  EXPECT_EQ(output.write_calls, 0);
  ASSERT_TRUE(buffered.Close().ok());
  EXPECT_EQ(output.writes, std::vector<std::string>{"abc"});
}

TEST(BufferedOutputTest, FirstFailureSticksAndNothingMoreIsWritten) {
  RecordingOutput output;
  output.fail_write = 2;
  BufferedOutput buffered(output, 8);
  ASSERT_TRUE(buffered.Append("1234567").ok());
  ASSERT_TRUE(buffered.Append("89").ok());            // flushes "1234567", keeps "89"
  const Status failed = buffered.Append("abcdefgh");  // flushing "89" fails
  EXPECT_EQ(failed.reason(),
            "Zieldatei kann nicht geschrieben werden (Kein Speicherplatz mehr auf dem Datenträger)");
  const int writes_at_failure = output.write_calls;

  output.fail_write = 0;  // even when the file would take more now
  EXPECT_EQ(buffered.Append("x").reason(), failed.reason());
  EXPECT_EQ(buffered.Append(std::string(100, 'y')).reason(), failed.reason());
  EXPECT_EQ(buffered.Close().reason(), failed.reason());
  EXPECT_EQ(output.write_calls, writes_at_failure);
  EXPECT_EQ(output.Content(), "1234567");
  EXPECT_EQ(output.close_calls, 1) << "the file is still closed after a failure";
}

TEST(BufferedOutputTest, FailedCloseIsTheAnswer) {
  RecordingOutput output;
  output.close_result = Status::FromErrno(EIO, "Zieldatei kann nicht geschrieben werden");
  BufferedOutput buffered(output);
  ASSERT_TRUE(buffered.Append("Text").ok());
  EXPECT_EQ(buffered.Close().reason(), "Zieldatei kann nicht geschrieben werden (Ein-/Ausgabefehler)");
  EXPECT_EQ(output.Content(), "Text");
}

TEST(BufferedOutputTest, DiskFullHalfwayLeavesExactlyWhatFitted) {
  testing::TempFolder temp;
  testing::FaultyFileServices files;
  files.FailWriteAfter("Form1.frm", 1000, ENOSPC);
  const std::filesystem::path file = temp.path() / "Form1.frm";
  std::unique_ptr<OpenedFolder> folder;
  ASSERT_TRUE(files.OpenFolder(temp.path(), &folder).ok());
  std::unique_ptr<OutputFile> output;
  ASSERT_TRUE(folder->CreateOutput("Form1.frm", &output).ok());
  BufferedOutput buffered(*output, 64);
  Status status;
  std::string appended;
  for (int i = 0; i < 200 && status.ok(); ++i) {
    status = buffered.Append("0123456789");
    appended += "0123456789";
  }
  EXPECT_FALSE(status.ok());
  EXPECT_FALSE(buffered.Close().ok());
  EXPECT_EQ(testing::ReadFile(file), appended.substr(0, 1000));
}

}  // namespace
}  // namespace tavrin
