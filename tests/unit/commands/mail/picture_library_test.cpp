// The journal-picture stand-in through the translator's binding: what it
// draws, the bitmap's layout, and the folder it is looked for in.
#include "commands/mail/picture_library.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "file_text.h"
#include "mail/mail_test_peers.h"
#include "platform/platform.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

std::uint32_t Le(const std::string& bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

struct Bitmap {
  std::string bytes;
  int width() const { return static_cast<int>(Le(bytes, 18, 4)); }
  int height() const { return static_cast<int>(Le(bytes, 22, 4)); }
  // Whether row `y` (from the top) holds a black dot.
  bool Inked(int y) const {
    const std::size_t rowBytes = (width() * 3 + 3) / 4 * 4;
    const std::size_t row = Le(bytes, 10, 4) + rowBytes * (height() - 1 - y);
    return bytes.substr(row, width() * 3).find('\0') != std::string::npos;
  }
};

class PictureLibraryTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(BindPictureLibrary(PICTOR_LIBRARY));
    folder_ = mail_test::FreshTestFolder();
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Path(const char* name) { return (folder_ / name).string(); }
  int Draw(const std::string& journal, const std::string& header, const std::string& picture) {
    return PictureDrawer()(journal.c_str(), picture.c_str(), "TX72000123", "4", header.c_str(), "", "", "",
                           "", "", "", "T1RT072A");
  }
  fs::path folder_;
};

TEST_F(PictureLibraryTest, HeaderTextsJournalLinesAndTheIdMakeOneRowEach) {
  std::ofstream(Path("headder.txt"), std::ios::binary) << "#34 #1='NEGOZIO', #2='it''s', #3=''\r\n";
  std::ofstream(Path("journal.txt"), std::ios::binary) << "PANE  5.00\r\n" << std::string(60, 'W') << "\r\n";
  ASSERT_EQ(Draw(Path("journal.txt"), Path("headder.txt"), Path("r.bmp")), 0);

  const Bitmap bitmap{quadrel_test::FileText(Path("r.bmp"))};
  ASSERT_GT(bitmap.bytes.size(), 54u);
  EXPECT_EQ(bitmap.bytes.substr(0, 2), "BM");
  EXPECT_EQ(Le(bitmap.bytes, 2, 4), bitmap.bytes.size());
  EXPECT_EQ(Le(bitmap.bytes, 28, 2), 24u);
  EXPECT_EQ(bitmap.width(), 60 * 6 + 16) << "as wide as the longest line";
  EXPECT_EQ(bitmap.height(), 6 * 9 + 16) << "three header texts, two journal lines, the id";
  EXPECT_FALSE(bitmap.Inked(7)) << "margin";
  EXPECT_TRUE(bitmap.Inked(8 + 3));
  EXPECT_FALSE(bitmap.Inked(8 + 2 * 9 + 3)) << "the empty header text";
  EXPECT_TRUE(bitmap.Inked(8 + 5 * 9 + 3)) << "the id";
}

TEST_F(PictureLibraryTest, MissingWorkFilesLeaveTheIdAloneAndAnUnwritablePictureFails) {
  ASSERT_EQ(Draw(Path("none.txt"), Path("none.txt"), Path("id.bmp")), 0);
  const Bitmap bitmap{quadrel_test::FileText(Path("id.bmp"))};
  EXPECT_EQ(bitmap.width(), 40 * 6 + 16) << "never narrower than a receipt";
  EXPECT_EQ(bitmap.height(), 9 + 16);
  EXPECT_NE(Draw(Path("none.txt"), "", Path("no/such/folder/x.bmp")), 0);
}

TEST(OwnModuleFolder, IsTheFolderOfTheRunningProgram) {
  EXPECT_EQ(platform::OwnModuleFolder(), fs::canonical("/proc/self/exe").parent_path().string() + "/");
}

}  // namespace
}  // namespace quadrel
