#include "commands/transfers/xfer_log_banner.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "language/message_tables.h"
#include "state/ecr_config.h"
#include "state/transfer_state.h"

namespace quadrel {
namespace {

class XferLogBannerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteDefaultMessageTexts();
    savedRecord_ = CurrentRecord();
    savedSelected_ = SelectedEcr();
    path_ = (std::filesystem::temp_directory_path() / ("quadrel-banner-" + std::to_string(getpid()) + ".log"))
                .string();
  }
  void TearDown() override {
    CurrentRecord() = savedRecord_;
    SelectedEcr() = savedSelected_;
    Transfer() = TransferState{};
    std::filesystem::remove(path_);
  }

  std::vector<std::string> Banner(int trailer) {
    LineFile log;
    EXPECT_TRUE(OpenLineFile(path_, LINE_CREATE_ALWAYS | LINE_READ_WRITE, log, 0));
    EXPECT_TRUE(WriteXferLogBanner(log, trailer));
    EXPECT_TRUE(OpenLineFile(path_, LINE_OPEN_EXISTING, log, 2));
    std::vector<std::string> lines;
    for (std::string line; ReadLine(log, line, 200, 2) >= 0;) lines.push_back(line);
    return lines;
  }

  EcrConfigRecord savedRecord_{};
  int savedSelected_ = 0;
  std::string path_;
};

TEST_F(XferLogBannerTest, HeaderNamesCommandRegisterDateAndIdentity) {
  Transfer().CommandText = "FILE TRANSFER MODE=DA";
  SelectedEcr() = 7;
  std::strcpy(CurrentRecord().EcrId, "ID0001");
  std::strcpy(CurrentRecord().FirmwareName, "FW 2.1");
  std::strcpy(CurrentRecord().ModelCode, "M7");
  const std::vector<std::string> lines = Banner(0);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], ";COMMAND = FILE TRANSFER MODE=DA");
  EXPECT_EQ(lines[1], ";ECR# = 7");
  EXPECT_TRUE(std::regex_match(lines[2], std::regex(R"(;DATE = [0-9/.-]{6,20} [0-9:]{5,20})"))) << lines[2];
  EXPECT_EQ(lines[3], ";ECR-ID = ID0001 FW 2.1 M7");
}

TEST_F(XferLogBannerTest, UnterminatedIdentityFieldsStayInsideTheirRecord) {
  std::memset(CurrentRecord().EcrId, 'I', sizeof CurrentRecord().EcrId);
  std::memset(CurrentRecord().FirmwareName, 'F', sizeof CurrentRecord().FirmwareName);
  std::memset(CurrentRecord().ModelCode, 'M', sizeof CurrentRecord().ModelCode);
  const std::vector<std::string> lines = Banner(0);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3],
            ";ECR-ID = " + std::string(33, 'I') + " " + std::string(23, 'F') + " " + std::string(9, 'M'));
}

TEST_F(XferLogBannerTest, TrailerCountsErrors) {
  Transfer().TransferErrorCount = 3;
  Transfer().TransferEcrErrorCount = 1;
  EXPECT_EQ(Banner(1), (std::vector<std::string>{";END. (ERRORS 3/1)"}));
}

TEST_F(XferLogBannerTest, ClosedLogReportsFailure) {
  LineFile closed;
  EXPECT_FALSE(WriteXferLogBanner(closed, 0));
  EXPECT_FALSE(WriteXferLogBanner(closed, 1));
}

}  // namespace
}  // namespace quadrel
