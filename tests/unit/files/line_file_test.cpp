#include "files/line_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "file_text.h"
#include "state/library_state.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

class LineFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name) {
      if (c == '/') c = '-';
    }
    dir_ = fs::temp_directory_path() / ("quadrel-lines-" + std::to_string(getpid()) + "-" + name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    Library().switches.BufferFlush = false;
    fs::remove_all(dir_);
  }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

  std::string WriteRaw(const std::string& name, const std::string& bytes) const {
    std::ofstream(PathOf(name), std::ios::binary) << bytes;
    return PathOf(name);
  }

  std::string ReadRaw(const std::string& name) const { return quadrel_test::FileText(PathOf(name)); }

  fs::path dir_;
};

constexpr int kReadOnly = 0;

// ---- opening ----

TEST_F(LineFileTest, CreateNewRefusesAnExistingFileAndCreatesAMissingOne) {
  const std::string existing = WriteRaw("old.txt", "keep\r\n");
  LineFile file;
  EXPECT_FALSE(OpenLineFile(existing, LINE_CREATE_NEW | LINE_READ_WRITE, file, 0));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(ReadRaw("old.txt"), "keep\r\n");

  ASSERT_TRUE(OpenLineFile(PathOf("new.txt"), LINE_CREATE_NEW | LINE_READ_WRITE, file, 0));
  EXPECT_TRUE(file.IsOpen());
  EXPECT_TRUE(WriteLine(file, "fresh"));
  CloseLineFile(file);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(ReadRaw("new.txt"), "fresh\r\n");
}

TEST_F(LineFileTest, CreateAlwaysEmptiesAnExistingFile) {
  const std::string path = WriteRaw("a.txt", "old content\r\n");
  LineFile file;
  ASSERT_TRUE(OpenLineFile(path, LINE_CREATE_ALWAYS | LINE_READ_WRITE, file, 0));
  EXPECT_TRUE(WriteLine(file, "new"));
  file.Close();
  EXPECT_EQ(ReadRaw("a.txt"), "new\r\n");
}

TEST_F(LineFileTest, OpenExistingNeedsTheFile) {
  LineFile file;
  EXPECT_FALSE(OpenLineFile(PathOf("missing.txt"), LINE_OPEN_EXISTING, file, 1));
  EXPECT_FALSE(fs::exists(PathOf("missing.txt")));
  const std::string path = WriteRaw("here.txt", "line\n");
  ASSERT_TRUE(OpenLineFile(path, LINE_OPEN_EXISTING, file, 1));
  std::string line;
  EXPECT_EQ(ReadLine(file, line, 100, 1), 4);
  EXPECT_EQ(line, "line");
}

TEST_F(LineFileTest, OpenAlwaysCreatesAMissingFileAndKeepsAnExistingOne) {
  LineFile file;
  ASSERT_TRUE(OpenLineFile(PathOf("made.txt"), LINE_OPEN_ALWAYS, file, 0));
  EXPECT_TRUE(fs::exists(PathOf("made.txt")));
  const std::string path = WriteRaw("kept.txt", "abc\r\n");
  ASSERT_TRUE(OpenLineFile(path, LINE_OPEN_ALWAYS, file, 0));
  std::string line;
  EXPECT_EQ(ReadLine(file, line, 100, 0), 3);
  EXPECT_EQ(line, "abc");
}

TEST_F(LineFileTest, TruncateExistingEmptiesOnlyAnExistingFileOpenedForWriting) {
  LineFile file;
  EXPECT_FALSE(OpenLineFile(PathOf("none.txt"), LINE_TRUNCATE_EXISTING | LINE_READ_WRITE, file, 0));
  EXPECT_FALSE(fs::exists(PathOf("none.txt")));
  const std::string path = WriteRaw("t.txt", "data\r\n");
  EXPECT_FALSE(OpenLineFile(path, LINE_TRUNCATE_EXISTING, file, 0));
  EXPECT_EQ(ReadRaw("t.txt"), "data\r\n");
  ASSERT_TRUE(OpenLineFile(path, LINE_TRUNCATE_EXISTING | LINE_READ_WRITE, file, 0));
  file.Close();
  EXPECT_EQ(ReadRaw("t.txt"), "");
}

TEST_F(LineFileTest, UnknownDispositionFailsWithoutTouchingTheDisk) {
  LineFile file;
  for (const int disposition : {0, 6, 0xFF}) {
    EXPECT_FALSE(OpenLineFile(PathOf("x.txt"), disposition | LINE_READ_WRITE, file, 0));
  }
  EXPECT_FALSE(fs::exists(PathOf("x.txt")));
}

TEST_F(LineFileTest, DirectoryIsNotALineFile) {
  LineFile file;
  EXPECT_FALSE(OpenLineFile(dir_.string(), LINE_OPEN_EXISTING, file, 0));
  EXPECT_FALSE(OpenLineFile(dir_.string(), LINE_OPEN_ALWAYS | LINE_READ_WRITE, file, 0));
}

TEST_F(LineFileTest, OpeningAgainClosesThePreviousFileWithItsData) {
  LineFile file;
  ASSERT_TRUE(OpenLineFile(PathOf("first.txt"), LINE_CREATE_ALWAYS | LINE_READ_WRITE, file, 0));
  ASSERT_TRUE(WriteLine(file, "one"));
  ASSERT_TRUE(OpenLineFile(PathOf("second.txt"), LINE_CREATE_ALWAYS | LINE_READ_WRITE, file, 0));
  EXPECT_EQ(ReadRaw("first.txt"), "one\r\n");
}

// ---- writing ----

TEST_F(LineFileTest, AppendBitWritesAfterTheContentAndPlainReadWriteOverwrites) {
  const std::string path = WriteRaw("log.txt", "first\r\n");
  LineFile file;
  ASSERT_TRUE(OpenLineFile(path, LINE_OPEN_EXISTING | LINE_READ_WRITE | LINE_APPEND, file, 0));
  ASSERT_TRUE(WriteLine(file, "second"));
  file.Close();
  EXPECT_EQ(ReadRaw("log.txt"), "first\r\nsecond\r\n");

  ASSERT_TRUE(OpenLineFile(path, LINE_OPEN_EXISTING | LINE_READ_WRITE, file, 0));
  ASSERT_TRUE(WriteLine(file, "FIRST"));
  file.Close();
  EXPECT_EQ(ReadRaw("log.txt"), "FIRST\r\nsecond\r\n");
}

TEST_F(LineFileTest, WriteFailsOnAClosedOrReadOnlyFile) {
  LineFile closed;
  EXPECT_FALSE(WriteLine(closed, "x"));
  const std::string path = WriteRaw("ro.txt", "");
  LineFile readOnly;
  ASSERT_TRUE(OpenLineFile(path, LINE_OPEN_EXISTING | kReadOnly, readOnly, 0));
  EXPECT_FALSE(WriteLine(readOnly, "x"));
}

TEST_F(LineFileTest, BufferFlushPutsEachLineOnDiskAtOnce) {
  Library().switches.BufferFlush = true;
  LineFile file;
  ASSERT_TRUE(OpenLineFile(PathOf("f.txt"), LINE_CREATE_ALWAYS | LINE_READ_WRITE, file, 0));
  ASSERT_TRUE(WriteLine(file, "visible"));
  EXPECT_EQ(ReadRaw("f.txt"), "visible\r\n");
}

TEST_F(LineFileTest, DestructionAndMoveKeepWrittenLines) {
  {
    LineFile file;
    ASSERT_TRUE(OpenLineFile(PathOf("m.txt"), LINE_CREATE_ALWAYS | LINE_READ_WRITE, file, 0));
    ASSERT_TRUE(WriteLine(file, "a"));
    LineFile moved(std::move(file));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(WriteLine(file, "lost"));
    ASSERT_TRUE(WriteLine(moved, "b"));
  }
  EXPECT_EQ(ReadRaw("m.txt"), "a\r\nb\r\n");
}

TEST_F(LineFileTest, CloseAndReturnClosesAndPassesTheCode) {
  LineFile file;
  ASSERT_TRUE(OpenLineFile(PathOf("c.txt"), LINE_CREATE_ALWAYS | LINE_READ_WRITE, file, 0));
  ASSERT_TRUE(WriteLine(file, "z"));
  EXPECT_EQ(CloseAndReturn(0x4004, file), 0x4004);
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(ReadRaw("c.txt"), "z\r\n");
  EXPECT_EQ(CloseAndReturn(7, file), 7);  // a closed file is left alone
}

// ---- reading, for the unbuffered slot and the buffered ones ----

class ReadLineTest : public LineFileTest, public ::testing::WithParamInterface<int> {
 protected:
  int Slot() const { return GetParam(); }

  std::vector<std::string> ReadAll(const std::string& path, int max) {
    LineFile file;
    EXPECT_TRUE(OpenLineFile(path, LINE_OPEN_EXISTING, file, Slot()));
    std::vector<std::string> lines;
    std::string line;
    for (int n; (n = ReadLine(file, line, max, Slot())) >= 0;) {
      EXPECT_EQ(static_cast<std::size_t>(n), line.size());
      lines.push_back(line);
      if (lines.size() > 10000) break;
    }
    EXPECT_EQ(ReadLine(file, line, max, Slot()), LINE_END_OF_FILE);
    return lines;
  }
};

TEST_P(ReadLineTest, StripsCrLfAndLfAndKeepsEmptyLines) {
  const std::string path = WriteRaw("r.txt", "one\r\ntwo\n\r\n\nlast\r\n");
  EXPECT_EQ(ReadAll(path, 100), (std::vector<std::string>{"one", "two", "", "", "last"}));
}

TEST_P(ReadLineTest, LastLineWithoutLineFeedIsReturnedBeforeTheEnd) {
  const std::string path = WriteRaw("batch.txt", "CMD1\r\nCMD2");
  LineFile file;
  ASSERT_TRUE(OpenLineFile(path, LINE_OPEN_EXISTING, file, Slot()));
  std::string line;
  EXPECT_EQ(ReadLine(file, line, 100, Slot()), 4);
  EXPECT_EQ(ReadLine(file, line, 100, Slot()), 4);
  EXPECT_EQ(line, "CMD2");
  EXPECT_EQ(ReadLine(file, line, 100, Slot()), LINE_END_OF_FILE);
  EXPECT_EQ(line, "");
  EXPECT_EQ(ReadLine(file, line, 100, Slot()), LINE_END_OF_FILE);
}

TEST_P(ReadLineTest, LastLineEndingInCarriageReturnLosesIt) {
  EXPECT_EQ(ReadAll(WriteRaw("cr.txt", "a\r\nb\r"), 100), (std::vector<std::string>{"a", "b"}));
}

TEST_P(ReadLineTest, EmptyFileIsAtItsEnd) {
  EXPECT_TRUE(ReadAll(WriteRaw("e.txt", ""), 100).empty());
}

TEST_P(ReadLineTest, LineOfExactlyMaxCharactersIsKeptWhole) {
  EXPECT_EQ(ReadAll(WriteRaw("x.txt", "12345\r\nab\r\n"), 5), (std::vector<std::string>{"12345", "ab"}));
}

TEST_P(ReadLineTest, LongerLineIsCutAndTheNextCallStartsAtTheNextLine) {
  EXPECT_EQ(ReadAll(WriteRaw("x.txt", "1234567890\r\nab\r\ncdefgh"), 4),
            (std::vector<std::string>{"1234", "ab", "cdef"}));
}

TEST_P(ReadLineTest, LineCutRightAfterACarriageReturnLosesIt) {
  EXPECT_EQ(ReadAll(WriteRaw("x.txt", "abc\rdef\nxy\n"), 4), (std::vector<std::string>{"abc", "xy"}));
}

TEST_P(ReadLineTest, ZeroMaxReadsEmptyLines) {
  EXPECT_EQ(ReadAll(WriteRaw("x.txt", "abc\nd"), 0), (std::vector<std::string>{"", ""}));
}

TEST_P(ReadLineTest, LinesAcrossBlockBoundariesComeOutWhole) {
  std::string content;
  std::vector<std::string> expected;
  for (int i = 0; content.size() < 3 * LINE_SLOT_BLOCK; ++i) {
    expected.push_back(std::string(static_cast<std::size_t>(i % 37 + 1), static_cast<char>('a' + i % 26)));
    content += expected.back() + (i % 2 ? "\r\n" : "\n");
  }
  EXPECT_EQ(ReadAll(WriteRaw("big.txt", content), 100), expected);
}

TEST_P(ReadLineTest, FileOfWholeBlocksEndsCleanly) {
  // One 511-character line and its LF fill a block exactly; a CR lands as the
  // last byte of the second block.
  const std::string first(LINE_SLOT_BLOCK - 1, 'x');
  const std::string second(LINE_SLOT_BLOCK - 2, 'y');
  const std::string path = WriteRaw("blocks.txt", first + "\n" + second + "\r\n");
  EXPECT_EQ(ReadAll(path, 1000), (std::vector<std::string>{first, second}));
  const std::string unfinished(LINE_SLOT_BLOCK * 2, 'z');
  EXPECT_EQ(ReadAll(WriteRaw("z.txt", unfinished), 2000), (std::vector<std::string>{unfinished}));
}

INSTANTIATE_TEST_SUITE_P(LineFileSlots, ReadLineTest, ::testing::Values(0, 1, 5),
                         [](const auto& info) { return "Slot" + std::to_string(info.param); });

TEST_F(LineFileTest, ReadFailsOnAClosedFileOrABadSlot) {
  std::string line = "old";
  LineFile closed;
  EXPECT_EQ(ReadLine(closed, line, 10, 1), LINE_READ_ERROR);
  const std::string path = WriteRaw("s.txt", "a\n");
  LineFile file;
  ASSERT_TRUE(OpenLineFile(path, LINE_OPEN_EXISTING, file, 0));
  EXPECT_EQ(ReadLine(file, line, 10, -1), LINE_READ_ERROR);
  EXPECT_EQ(ReadLine(file, line, 10, LINE_SLOT_COUNT), LINE_READ_ERROR);
  EXPECT_EQ(ReadLine(file, line, 10, 0), 1);
}

TEST_F(LineFileTest, FilesOnDifferentSlotsReadIndependently) {
  LineFile batch;
  LineFile definitions;
  ASSERT_TRUE(OpenLineFile(WriteRaw("b.txt", "b1\nb2\nb3\n"), LINE_OPEN_EXISTING, batch, 1));
  ASSERT_TRUE(OpenLineFile(WriteRaw("d.txt", "d1\nd2\n"), LINE_OPEN_EXISTING, definitions, 2));
  std::string line;
  ASSERT_EQ(ReadLine(batch, line, 10, 1), 2);
  EXPECT_EQ(line, "b1");
  ASSERT_EQ(ReadLine(definitions, line, 10, 2), 2);
  EXPECT_EQ(line, "d1");
  ASSERT_EQ(ReadLine(batch, line, 10, 1), 2);
  EXPECT_EQ(line, "b2");
  ASSERT_EQ(ReadLine(definitions, line, 10, 2), 2);
  EXPECT_EQ(line, "d2");
  ASSERT_EQ(ReadLine(batch, line, 10, 1), 2);
  EXPECT_EQ(line, "b3");
}

TEST_F(LineFileTest, ReopeningWithASlotDropsTheOldFilesReadAhead) {
  LineFile file;
  ASSERT_TRUE(OpenLineFile(WriteRaw("one.txt", "old1\nold2\n"), LINE_OPEN_EXISTING, file, 3));
  std::string line;
  ASSERT_EQ(ReadLine(file, line, 10, 3), 4);
  ASSERT_TRUE(OpenLineFile(WriteRaw("two.txt", "new1\n"), LINE_OPEN_EXISTING, file, 3));
  ASSERT_EQ(ReadLine(file, line, 10, 3), 4);
  EXPECT_EQ(line, "new1");
  EXPECT_EQ(ReadLine(file, line, 10, 3), LINE_END_OF_FILE);
}

TEST_F(LineFileTest, ASlotNeverHandsOneFilesDataToAnother) {
  LineFile first;
  LineFile second;
  ASSERT_TRUE(OpenLineFile(WriteRaw("1.txt", "first1\nfirst2\n"), LINE_OPEN_EXISTING, first, 4));
  ASSERT_TRUE(OpenLineFile(WriteRaw("2.txt", "second1\n"), LINE_OPEN_EXISTING, second, 0));
  std::string line;
  ASSERT_EQ(ReadLine(first, line, 20, 4), 6);
  ASSERT_EQ(ReadLine(second, line, 20, 4), 7);
  EXPECT_EQ(line, "second1");
  EXPECT_EQ(ReadLine(second, line, 20, 4), LINE_END_OF_FILE);
}

TEST_F(LineFileTest, MovedFileKeepsReadingFromItsSlot) {
  LineFile file;
  ASSERT_TRUE(OpenLineFile(WriteRaw("mv.txt", "l1\nl2\n"), LINE_OPEN_EXISTING, file, 1));
  std::string line;
  ASSERT_EQ(ReadLine(file, line, 10, 1), 2);
  LineFile moved;
  moved = std::move(file);
  ASSERT_EQ(ReadLine(moved, line, 10, 1), 2);
  EXPECT_EQ(line, "l2");
}

TEST_F(LineFileTest, ReadThenWriteOnOneFileContinuesAtTheReadPosition) {
  const std::string path = WriteRaw("rw.txt", "keep\r\nreplace\r\n");
  LineFile file;
  ASSERT_TRUE(OpenLineFile(path, LINE_OPEN_EXISTING | LINE_READ_WRITE, file, 0));
  std::string line;
  ASSERT_EQ(ReadLine(file, line, 20, 0), 4);
  ASSERT_TRUE(WriteLine(file, "REPLACE"));
  file.Close();
  EXPECT_EQ(ReadRaw("rw.txt"), "keep\r\nREPLACE\r\n");
}

}  // namespace
}  // namespace quadrel
