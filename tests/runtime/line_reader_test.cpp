#include "runtime/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/support/faulty_file_services.h"
#include "tests/support/temp_folder.h"

namespace tavrin {
namespace {

// Input from memory that hands out at most `step` bytes per read, so that reads end at any
// chosen place; remembers the largest request, which shows how large the reader's buffer got.
class MemoryInput : public InputFile {
 public:
  explicit MemoryInput(std::string content, std::size_t step = SIZE_MAX)
      : content_(std::move(content)), step_(step) {}

  Status Read(char* buffer, std::size_t capacity, std::size_t* got) override {
    largest_request = std::max(largest_request, capacity);
    *got = std::min({capacity, step_, content_.size() - position_});
    std::memcpy(buffer, content_.data() + position_, *got);
    position_ += *got;
    return Status::Ok();
  }

  std::size_t largest_request = 0;

 private:
  std::string content_;
  std::size_t step_;
  std::size_t position_ = 0;
};

// What the reader must give, worked out on the whole text at once.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(line);
      line.clear();
    } else {
      line += text[i];
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Reads every line, asking AtEnd before each as a caller of the reader does.
std::vector<std::string> ReadLines(LineReader& reader) {
  std::vector<std::string> lines;
  std::string_view line;
  while (!reader.AtEnd()) {
    if (!reader.Next(&line)) {
      ADD_FAILURE() << "Next failed although AtEnd was false";
      break;
    }
    lines.emplace_back(line);
  }
  EXPECT_FALSE(reader.Next(&line)) << "a line after AtEnd";
  EXPECT_TRUE(reader.AtEnd());
  return lines;
}

struct LineCase {
  std::string text;
  std::vector<std::string> lines;
};

TEST(LineReaderTest, SplitsAtEveryKindOfLineEndWhateverTheBufferAndReadSizes) {
  const LineCase cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\r\r\n", {"a", ""}},
      {"a\n\r", {"a", ""}},
      {"\r\n", {""}},
      {"\n\n\n", {"", "", ""}},
      {"\r\r", {"", ""}},
      {"\r\n\r\n", {"", ""}},
      {"Zeile ohne Ende", {"Zeile ohne Ende"}},
      {"eins\r\nzwei", {"eins", "zwei"}},
      {std::string("n\0l\r\n\0", 6), {std::string("n\0l", 3), std::string("\0", 1)}},
      {"\x80\xff\xe4\r\n\x1a", {"\x80\xff\xe4", "\x1a"}},
      {"Begin ComctlLib.Toolbar Toolbar1\r\n   Height = 420\r\nEnd\r\n",
       {"Begin ComctlLib.Toolbar Toolbar1", "   Height = 420", "End"}},
  };
  for (const LineCase& c : cases) {
    ASSERT_EQ(SplitLines(c.text), c.lines) << "the reference splitter itself";
    for (std::size_t buffer_size : {1u, 2u, 3u, 4u, 5u, 64u * 1024u}) {
      for (std::size_t step : {1u, 2u, 3u, 1000u}) {
        MemoryInput input(c.text, step);
        LineReader reader(input, buffer_size);
        EXPECT_EQ(ReadLines(reader), c.lines)
            << "text \"" << c.text << "\" buffer " << buffer_size << " step " << step;
        EXPECT_EQ(reader.bytes_read(), c.text.size());
        EXPECT_TRUE(reader.status().ok());
      }
    }
  }
}

TEST(LineReaderTest, RandomTextsOfLineEndsAndOddBytes) {
  // Texts made mostly of line end bytes put a CR at every buffer and read boundary sooner or later.
  const char alphabet[] = {'a', '\r', '\n', '\r', '\0', '\xe4'};
  std::mt19937 random(20240601);
  for (int round = 0; round < 400; ++round) {
    std::string text(random() % 40, '\0');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    const std::size_t buffer_size = 1 + random() % 6;
    const std::size_t step = 1 + random() % 7;
    MemoryInput input(text, step);
    LineReader reader(input, buffer_size);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(&line)) lines.emplace_back(line);  // here without AtEnd in between
    EXPECT_EQ(lines, SplitLines(text)) << "round " << round << " buffer " << buffer_size << " step " << step;
    EXPECT_EQ(reader.bytes_read(), text.size());
  }
}

TEST(LineReaderTest, BytesReadCountsLineEndsAsTheyAreConsumed) {
  MemoryInput input("ab\r\ncd\nef\rg");
  LineReader reader(input, 4);
  std::string_view line;
  std::vector<std::uint64_t> after_each;
  while (reader.Next(&line)) after_each.push_back(reader.bytes_read());
  EXPECT_EQ(after_each, (std::vector<std::uint64_t>{4, 7, 10, 11}));
}

TEST(LineReaderTest, LineLongerThanTheBufferIsWholeAndMemoryStaysBounded) {
  const std::string long_line(10000, 'x');
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "kurze Zeile\r\n";
  text += long_line + "\r\n";
  for (int i = 0; i < 2000; ++i) text += "kurze Zeile\r\n";

  MemoryInput input(text);
  LineReader reader(input, 64);
  const std::vector<std::string> lines = ReadLines(reader);
  ASSERT_EQ(lines.size(), 4001u);
  EXPECT_EQ(lines[2000], long_line);
  EXPECT_EQ(lines[0], "kurze Zeile");
  EXPECT_EQ(lines[4000], "kurze Zeile");
  // The buffer grows for the long line only: never more than about twice that line.
  EXPECT_LE(input.largest_request, 2 * (long_line.size() + 2));
  EXPECT_GE(input.largest_request, long_line.size() / 2);
}

TEST(LineReaderTest, SmallLinesKeepTheBufferAtItsSize) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "Zeile\r\n";
  MemoryInput input(text);
  LineReader reader(input, 256);
  std::string_view line;
  std::size_t count = 0;
  while (reader.Next(&line)) ++count;
  EXPECT_EQ(count, 100000u);
  EXPECT_LE(input.largest_request, 256u);
}

TEST(LineReaderTest, ReadErrorInTheMiddleEndsTheLinesWithAReason) {
  testing::TempFolder temp;
  const std::filesystem::path file = temp.WriteFile("Form1.frm", "eins\r\nzwei\r\ndrei\r\nvier\r\n");
  testing::FaultyFileServices files;
  files.FailReadAfter("Form1.frm", 13, EIO);  // "eins\r\nzwei\r\nd", then the error

  std::unique_ptr<InputFile> input;
  ASSERT_TRUE(files.OpenInput(file, &input).ok());
  LineReader reader(*input, 4);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(&line)) lines.emplace_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"eins", "zwei"})) << "the cut line \"d\" is no line";
  EXPECT_FALSE(reader.status().ok());
  EXPECT_EQ(reader.status().reason(), "Quelldatei kann nicht gelesen werden (Ein-/Ausgabefehler)");
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(reader.Next(&line));
}

TEST(LineReaderTest, ReadErrorWhileLookingBehindACarriageReturn) {
  testing::TempFolder temp;
  const std::filesystem::path file = temp.WriteFile("Modul.bas", "a\r\nb");
  testing::FaultyFileServices files;
  files.FailReadAfter("Modul.bas", 2, EIO);  // the reader sees "a\r" and must read on for a LF
  std::unique_ptr<InputFile> input;
  ASSERT_TRUE(files.OpenInput(file, &input).ok());
  LineReader reader(*input);
  std::string_view line;
  EXPECT_FALSE(reader.Next(&line));
  EXPECT_EQ(reader.status().reason(), "Quelldatei kann nicht gelesen werden (Ein-/Ausgabefehler)");
  EXPECT_TRUE(reader.AtEnd());
}

TEST(LineReaderTest, ReadErrorFoundByAtEnd) {
  testing::TempFolder temp;
  const std::filesystem::path file = temp.WriteFile("leer.frm", "x");
  testing::FaultyFileServices files;
  files.FailReadAfter("leer.frm", 0, EIO);
  std::unique_ptr<InputFile> input;
  ASSERT_TRUE(files.OpenInput(file, &input).ok());
  LineReader reader(*input);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(reader.status().ok());
}

TEST(LineReaderTest, RunsOfLinesNeverSplitALineOrItsEnd) {
  std::mt19937 random(7);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\0', '\x80'};
  for (int round = 0; round < 300; ++round) {
    std::string text(random() % 200, ' ');
    for (char& c : text) c = alphabet[random() % sizeof alphabet];
    for (std::size_t buffer : {1u, 2u, 3u, 5u, 64u * 1024u}) {
      for (std::size_t step : {std::size_t{1}, std::size_t{2}, std::size_t{7}, SIZE_MAX}) {
        MemoryInput input(text, step);
        LineReader reader(input, buffer);
        std::string joined;
        std::vector<std::string> lines;
        std::string_view run;
        while (reader.NextLines(&run)) {
          ASSERT_FALSE(run.empty());
          joined += run;
          // A run holds whole lines: split alone, it gives the same lines as in the whole text.
          for (const std::string& line : SplitLines(std::string(run))) lines.push_back(line);
          EXPECT_EQ(reader.bytes_read(), joined.size());
        }
        EXPECT_TRUE(reader.status().ok());
        EXPECT_EQ(joined, text) << "buffer " << buffer << " step " << step;
        EXPECT_EQ(lines, SplitLines(text)) << "buffer " << buffer << " step " << step;
      }
    }
  }
}

TEST(LineReaderTest, RunsStopAtAReadError) {
  testing::TempFolder folder;
  const auto file = folder.WriteFile("f.frm", std::string(300000, 'x') + "\n");
  testing::FaultyFileServices files;
  files.FailReadAfter("f.frm", 100000, EIO);
  std::unique_ptr<InputFile> input;
  ASSERT_TRUE(files.OpenInput(file, &input).ok());
  LineReader reader(*input);
  std::string_view run;
  while (reader.NextLines(&run)) {
  }
  EXPECT_FALSE(reader.status().ok());
  EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
}  // namespace tavrin
