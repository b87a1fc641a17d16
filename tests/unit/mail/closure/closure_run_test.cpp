#include "mail/closure/closure_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "file_text.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

// A totals text with a line of every code range, as register file 99 comes
// down (date quoted, CR LF lines); 1007 and 1025 lie past the VAT and reason
// tables, 1045 belongs to no report, 4002 is shorter than the line before it.
constexpr std::string_view kTotals =
    "1,'08/12/26 23:59'\r\n"
    "2,00012345\r\n"
    "3,0042\r\n"
    "9,0001\r\n"
    "1000,00010000,00008197,00001803\r\n"
    "1001,00005200,00005000,00000200\r\n"
    "1002,00002000,00001818,00000182\r\n"
    "1007,00000100,00000100,00000000\r\n"
    "1020,00000500\r\n"
    "1021,00000250\r\n"
    "1025,00000005\r\n"
    "1045,00099999,00099999,00099999\r\n"
    "\r\n"
    "1050,00003000,00002459,00000541\r\n"
    "1070,00000300\r\n"
    "2001,00004500,00002000,'PANE              '\r\n"
    "2002,0000000000,0000000000,'LATTE'\r\n"
    "2003,00000990,00001500,'FRUTTA ''E'' VERDURA'\r\n"
    "3001,00001234,0007,'   '\r\n"
    "3002,00000250,0002,'RESI'\r\n"
    "4001,00012000,0015\r\n"
    "4002,00000100\r\n"
    "5001,00000500,0003,'BUONI PASTO'\r\n";
constexpr std::string_view kVatText = "#33 #1=1, #2=4.00\r\n#33 #1=2, #2=22.00\r\n";
constexpr std::string_view kStatus = "01,2,3,4,150,100,300,ABCDEF";
constexpr ClosureSelection kAll = {true, true, true};

class ClosureRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = fs::temp_directory_path() / ("quadrel-closure-" + std::to_string(getpid()) + "-" + name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    run_.registerId = "99IEA012345";
    run_.folder = dir_.string();
    run_.vatRates = LoadVatRates(kVatText);
    RegisterClosureWriters(run_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> FilesInFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
  ClosureRun run_;
};

TEST_F(ClosureRunTest, TheThreeReportsEqualTheCheckedInFilesAndAreListedAndRemoved) {
  const fs::path expected = fs::path(QUADREL_SOURCE_DIR) / "tests/unit/mail/closure/data";
  const std::vector<std::string> names = {"99IEA012345_20261208_0123_rd.txt",
                                          "99IEA012345_20261208_0123_rtw.txt",
                                          "99IEA012345_20261208_0123_rtlf.txt"};
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(RunClosureWriters(run_, kTotals, kStatus, "0123", kAll), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "code 1000\ncode 1001\ncode 1002\ncode 1007\n");

  const std::vector<std::string> listed = ListClosureFiles(run_, kAll);
  ASSERT_EQ(listed.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(listed[i], (dir_ / names[i]).string());
    EXPECT_EQ(quadrel_test::FileText(dir_ / names[i]), quadrel_test::FileText(expected / names[i]))
        << names[i];
  }
  EXPECT_EQ(ListClosureFiles(run_, {false, false, true}), std::vector<std::string>{listed[2]});

  RemoveClosureFiles(run_, {true, false, true});
  EXPECT_EQ(FilesInFolder(), std::vector<std::string>{names[1]});
}

TEST_F(ClosureRunTest, ALineBeforeTheDateLineStopsTheRunWithoutAnyFile) {
  EXPECT_EQ(RunClosureWriters(run_, "1000,00012345,00010119,00002226\r\n1,'08/12/26 23:59'\r\n", kStatus,
                              "0123", kAll),
            -1);
  EXPECT_TRUE(FilesInFolder().empty());
  EXPECT_TRUE(ListClosureFiles(run_, kAll).empty());

  // Codes 2 and 3 have no first record to complete yet.
  EXPECT_EQ(RunClosureWriters(run_, "2,00012345\r\n3,0042\r\n", kStatus, "0123", {false, false, true}), -1);
  EXPECT_TRUE(FilesInFolder().empty());
}

TEST_F(ClosureRunTest, AReportWrittenToAFullDiskFailsTheRunWhateverTheModulesAfterIt) {
  fs::create_symlink("/dev/full", dir_ / "99IEA012345_20261208_0123_rd.txt");
  EXPECT_EQ(RunClosureWriters(run_, kTotals, kStatus, "0123", {true, true, false}), -1);
}

TEST_F(ClosureRunTest, FileNamesKeepOnlyLettersDigitsAndDashesOfOutsideValues) {
  run_.registerId = "../99 IEA";
  EXPECT_EQ(RunClosureWriters(run_, "1,'08/1./26 23:59'\r\n2,5\r\n", "", "01/2-3", kAll), 0);
  const std::string stem = "___99_IEA_20261_08_01_2-3_";
  EXPECT_EQ(FilesInFolder(),
            (std::vector<std::string>{stem + "rd.txt", stem + "rtlf.txt", stem + "rtw.txt"}));
  // Without a status text the readable report ends with its last row.
  EXPECT_EQ(quadrel_test::FileText(dir_ / (stem + "rd.txt")),
            "AZZERAMENTO NR.: 01/2-3\r\nDATA/ORA: 08/1./26 23:59\r\nCORRISPETTIVO: 5\r\n");
}

}  // namespace
}  // namespace quadrel
