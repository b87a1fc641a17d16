#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "event_fixture.h"
#include "file_text.h"
#include "files/capture_file.h"
#include "files/line_file.h"
#include "interfaces/translator_exports.h"

using namespace quadrel;
using quadrel_test::Bytes;
using quadrel_test::FromHex;
using quadrel_test::TextBytes;

namespace {

class EventExportsTest : public EventTest {
 protected:
  void TearDown() override {
    ResetCaptureFile();
    if (!path_.empty()) std::filesystem::remove(path_);
    EventTest::TearDown();
  }
  void OpenCapture() {
    path_ =
        (std::filesystem::temp_directory_path() / ("quadrel-capture-" + std::to_string(getpid()) + ".txt"))
            .string();
    ASSERT_TRUE(
        OpenLineFile(path_, LINE_CREATE_ALWAYS | LINE_READ_WRITE, CaptureFile().file, LINE_SLOT_UNBUFFERED));
    CaptureFile().name = path_;
  }
  std::string CaptureContents() const { return quadrel_test::FileText(path_); }
  static const char* DCX(std::string_view text) {
    return Trad_DCXEvent(1, reinterpret_cast<const unsigned char*>(text.data()),
                         static_cast<int>(text.size()));
  }

  std::string path_;
};

TEST_F(EventExportsTest, DataCollectionLinesGoToTheOpenCaptureFile) {
  EXPECT_STREQ(DCX("NOT CAPTURED"), "NOT CAPTURED");
  OpenCapture();
  EXPECT_STREQ(DCX("TOTAL     12.50"), "TOTAL     12.50");
  EXPECT_STREQ(DCX("THANK YOU"), "THANK YOU");
  EXPECT_EQ(CaptureFile().lineCount, 2);
  ResetCaptureFile();
  EXPECT_EQ(CaptureContents(), "TOTAL     12.50\r\nTHANK YOU\r\n");
  EXPECT_STREQ(DCX("AFTER"), "AFTER");
  EXPECT_EQ(CaptureContents(), "TOTAL     12.50\r\nTHANK YOU\r\n");
}

TEST_F(EventExportsTest, DataCaptureModeFollowsTheOptions) {
  const Bytes record = FromHex("82 05 0000001000 0000002000");
  const auto dcy = [&] {
    return std::string(Trad_DCYEvent(1, record.data(), static_cast<int>(record.size())));
  };
  EXPECT_EQ(dcy(), "820500000010000000002000");
  Library().options.EnableTradDC = 1;
  EXPECT_EQ(dcy(), "02,05,-0000001000,-0000002000");
  Library().options.DataCaptureFormat = 2;
  EXPECT_EQ(dcy(), "02,1,05,-0000001000,-0000002000");
  Library().options.OutEditOptions = 2;
  EXPECT_EQ(dcy(), "02,1,5,-1000,-2000");
  Library().options.EnableTradDC = 0;
  EXPECT_EQ(dcy(), "820500000010000000002000");
}

TEST_F(EventExportsTest, InteractionDataIsHex) {
  const Bytes data = FromHex("00 7F A5 FF");
  EXPECT_STREQ(Trad_IEvent(1, data.data(), 4), "007FA5FF");
  EXPECT_STREQ(Trad_IEvent(1, data.data(), 2), "007F");
}

TEST_F(EventExportsTest, MissingOrNegativeLengthsReadNothing) {
  const Bytes data = FromHex("0C 0000000010");
  Library().options.EnableTradDC = 1;
  for (const int len : {0, -1, -2147483647 - 1}) {
    EXPECT_STREQ(Trad_IEvent(1, data.data(), len), "") << len;
    EXPECT_STREQ(Trad_DCYEvent(1, data.data(), len), "") << len;
    EXPECT_STREQ(Trad_DCXEvent(1, data.data(), len), "") << len;
  }
  EXPECT_STREQ(Trad_IEvent(1, nullptr, 5), "");
  EXPECT_STREQ(Trad_DCYEvent(1, nullptr, 5), "");
  int status = 9;
  double quantity = 9;
  char code[21] = "x";
  Trad_FileExtEnq(1, nullptr, 40, &status, code, &quantity);
  EXPECT_EQ(status, 0);
  EXPECT_STREQ(code, "");
  EXPECT_DOUBLE_EQ(quantity, 1.0);
  // Null out-pointers are skipped.
  Trad_FileExtEnq(1, data.data(), 6, nullptr, nullptr, nullptr);
  Trad_FileExtUpd(1, data.data(), 6, nullptr, nullptr, nullptr, nullptr);
  Trad_RispExtEnq(1, 2, 0, nullptr, nullptr, nullptr);
}

TEST_F(EventExportsTest, EnquiryCodeNeverPassesItsBuffer) {
  EcrRecord(1).CodeBytes = 15;
  const Bytes data = FromHex("112233445566778899001122334455 0000003000");
  struct {
    char code[21];
    char guard[4];
  } out;
  std::memset(&out, '#', sizeof out);
  int status = -9;
  double quantity = 0;
  Trad_FileExtEnq(1, data.data(), static_cast<int>(data.size()), &status, out.code, &quantity);
  EXPECT_STREQ(out.code, "11223344556677889900");
  EXPECT_EQ(std::string(out.guard, 4), "####");
  EXPECT_EQ(status, 0);
  EXPECT_DOUBLE_EQ(quantity, 3.0);

  double value1 = 0, value2 = 0;
  std::memset(&out, '#', sizeof out);
  const Bytes update = FromHex("112233445566778899001122334455 00012345 0000000042");
  Trad_FileExtUpd(1, update.data(), static_cast<int>(update.size()), &status, out.code, &value1, &value2);
  EXPECT_STREQ(out.code, "11223344556677889900");
  EXPECT_EQ(std::string(out.guard, 4), "####");
  EXPECT_DOUBLE_EQ(value1, 12.345);
  EXPECT_DOUBLE_EQ(value2, 42);
}

TEST_F(EventExportsTest, ReplyFramesLandInTheHostBuffer) {
  std::vector<unsigned char> reply(1024, 0xEE);
  int length = -1;
  Trad_RispExtEnq(1, 2, 0, "", reply.data(), &length);
  EXPECT_EQ(length, 1);
  EXPECT_EQ(reply[0], 'N');
  Trad_RispExtEnq(1, 0, 1, "T#1,TEA,1,,2,100", reply.data(), &length);
  ASSERT_EQ(length, 1 + 21 + 2 + 1 + 4 + 20);
  EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 5), Bytes({'F', 0xFF, 'T', '#', '1'}));
  EXPECT_EQ(reply[length], 0xEE);
  Trad_RispExtEnq(1, 9, 0, "", reply.data(), &length);
  EXPECT_EQ(length, 29);
  EXPECT_EQ(reply[0], 'M');
}

}  // namespace
