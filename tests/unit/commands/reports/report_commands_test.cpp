// Commands 26, 27 and 28 byte for byte against the scripted host: the report
// table by model, the key records of reports and closures with their second
// confirm and model-6 tails, and the output settings over one or all registers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_fixture.h"
#include "commands/reports/report_table.h"
#include "files/capture_file.h"

namespace quadrel {
namespace {

using quadrel_test::Bytes;
using quadrel_test::bytes;
using quadrel_test::status_idle;

TEST(ReportTable, MapsReportsToEachModelsFunctionAndKeyPosition) {
  struct Row {
    char letter, sub;
    bool extended;
    int report;
    bool resetting;
    ReportFunction expected;
  } rows[] = {
      {'T', 0, false, 1, false, {1, 2}},   {'X', 0, false, 1, true, {1, 3}},   {'T', 0, false, 2, false, {2, 2}},
      {'J', 'K', false, 2, false, {1, 2}}, {'J', 0, false, 4, false, {3, 2}},  {'X', 0, false, 3, false, {1, 2}},
      {'T', 0, false, 10, false, {4, 2}},  {'K', 0, false, 10, false, {2, 2}}, {'J', 0, false, 10, false, {4, 2}},
      {'R', 0, false, 11, false, {6, 2}},  {'J', 'K', false, 11, true, {4, 3}}, {'K', 0, false, 11, false, {}},
      {'J', 'K', false, 13, false, {3, 2}}, {'T', 0, false, 15, false, {}},    {'K', 0, true, 15, false, {5, 2}},
      {'J', 'K', true, 15, false, {8, 2}}, {'Z', 0, false, 16, false, {11, 2}}, {'T', 0, false, 16, false, {}},
      {'1', 0, false, 203, false, {}},     {'K', 0, false, 203, false, {201, 3}}, {'M', 0, false, 204, false, {203, 4}},
      {'S', 0, false, 202, false, {14, 3}}, {'X', 0, false, 200, false, {}},   {'T', 0, false, 7, false, {}},
      {'J', 'K', false, 10, false, {2, 2}}, {'T', 0, false, 11, false, {6, 2}}, {'J', 0, false, 11, false, {6, 2}},
      {'A', 0, false, 13, false, {5, 2}},  {'J', 0, false, 13, false, {5, 2}}, {'T', 0, true, 15, false, {10, 2}},
      {'J', 0, true, 15, false, {10, 2}},  {'1', 0, false, 200, false, {200, 4}}, {'J', 0, false, 200, false, {10, 3}},
      {'T', 0, false, 201, false, {11, 3}}, {'K', 0, false, 204, false, {202, 3}}, {'S', 0, false, 203, false, {}},
  };
  for (const Row& row : rows) {
    ReportModel model{row.letter, row.sub, row.extended};
    const ReportFunction mapped = MapReport(model, row.report, row.resetting);
    EXPECT_EQ(mapped.function, row.expected.function) << row.letter << " " << row.report;
    EXPECT_EQ(mapped.position, row.expected.position) << row.letter << " " << row.report;
  }
  EXPECT_EQ(MapReport({'6', 0, false, true}, 99, false).function, 99);
  EXPECT_EQ(MapReport({'6', 0, false, false}, 99, false).function, 0);
  EXPECT_EQ(MapReport({'K', 0, false, false, true}, 201, false).function, 0);
}

class ReportCommands : public CommandLineTest {
 protected:
  // Runs `line` on a register of `model` and expects exactly `records` after the status frame.
  void Expect(char model, const std::string& line, const std::vector<Bytes>& records, int code = 0) {
    EcrRecord(1).ModelLetter = model;
    host.expect("S").answer(0, status_idle());
    for (const Bytes& record : records) host.expect(record).answer(0, status_idle());
    EXPECT_EQ(RunLine(line), code) << model << " " << line;
    EXPECT_EQ(host.pending(), 0) << model << " " << line;
  }
  const Bytes kBackTo1 = bytes({'A', 0, 0, 1, 14});
  const Bytes kConfirm = bytes({'A', 0x91});
  const Bytes kClear = bytes({'A', 0});
};

TEST_F(ReportCommands, ReportKeysByModelWithRangesCodesSecondConfirmsAndModel6Tails) {
  Expect('T', "#26", {bytes({'A', 2, 14}), bytes({'A', 1, 0x93, 0x91}), kBackTo1});
  Expect('1', "#26 #1=203, #6=5, #7=9", {}, 277);
  Expect('K', "#26 #1=203, #6=5, #7=9",
         {bytes({'A', 3, 14}), bytes({'A', 2, 10, 1, 0x91}), bytes({'A', 5, 0x91}), bytes({'A', 9, 0x91}), kBackTo1});
  Expect('K', "#26 #1=203, #6=5, #7=4", {}, 265);
  Expect('M', "#26 #1=204, #8=010124, #9=0201", {}, 265);
  // Dates are DDMMYY days of the calendar, else nothing is keyed.
  for (const char* dates :
       {"#8='AABBCC', #9=010124", "#8=290223, #9=010124", "#8=010124, #9=011324", "#8=000124, #9=010124"})
    Expect('M', std::string("#26 #1=204, ") + dates, {}, 265);
  Expect('M', "#26 #1=204, #8=290224, #9=310325",
         {bytes({'A', 4, 14}), bytes({'A', 2, 10, 3, 0x91}), bytes({'A', 2, 9, 10, 2, 2, 4, 0x91}),
          bytes({'A', 3, 1, 10, 3, 2, 5, 0x91}), kBackTo1});
  EcrRecord(1).ModelLimitC = 4989;
  Expect('K', "#26 #2=1, #3=0",
         {bytes({'A', 0, 0, 4, 14}), bytes({'A', 4, 9, 8, 9, 0x91}), bytes({'A', 3, 14}), bytes({'A', 1, 0x93, 0x91}),
          kBackTo1});
  Expect('6', "#26 #1=2, #2=1",
         {bytes({'A', 3, 14}), bytes({'A', 2, 0x93, 0x91, 0x91}), kClear, kClear, kConfirm, kConfirm, kBackTo1});
  EcrRecord(1).FeatureLevels[8] = 1;  // asks for the second confirm
  Expect('T', "#26 #2=1", {bytes({'A', 3, 14}), bytes({'A', 1, 0x93, 0x91, 0x91}), kBackTo1});
  Expect('R', "#26 #2=1", {bytes({'A', 3, 14}), bytes({'A', 1, 0x93, 0x91}), kBackTo1});
  EcrRecord(1).FeatureLevels[10] = 1;  // without the range reports
  Expect('T', "#26 #2=1", {bytes({'A', 3, 14}), bytes({'A', 1, 0x93, 0x91}), kBackTo1});
}

TEST_F(ReportCommands, ClosureKeysByFunctionAndModel) {
  const Bytes position3 = bytes({'A', 0, 0, 3, 14});
  Expect('T', "#27", {position3, bytes({'A', 1, 0x93, 0x91}), kBackTo1});
  Expect('T', "#27 #1=0", {position3, kConfirm, kConfirm, kBackTo1});
  Expect('T', "#27 #1=2", {position3, bytes({'A', 2, 0x93, 0x91}), kBackTo1});
  Expect('A', "#27 #1=2", {position3, bytes({'A', 1, 0x93, 0x91}), kBackTo1});
  Expect('9', "#27", {position3, bytes({'A', 1, 0x93, 0x91}), kConfirm, kBackTo1});
  Expect('6', "#27", {position3, bytes({'A', 1, 0x93, 0x91}), kConfirm, kClear, kClear, kConfirm, kConfirm, kBackTo1});
}

TEST_F(ReportCommands, OutputSettingsSwitchTheirBytesOnOneOrEveryPresentRegister) {
  const Bytes read = bytes({'C', 3}), settings = bytes({'C', 1, 2, 3, 1, 5, 6, 7, 8, 9});
  const auto expectWrite = [&](int ecr, const Bytes& written) {
    host.expect(read).to(ecr).answer(0, settings);
    host.expect(written).to(ecr).answer(0, bytes({'C'}));
  };
  host.expect("S").answer(0, status_idle());
  expectWrite(1, bytes({'C', 3, 1, 2, 3, 0, 5, 6, 7, 8, 9}));
  EXPECT_EQ(RunLine("#28 #3=1"), 0);
  host.expect("S").answer(0, status_idle());
  expectWrite(1, bytes({'C', 3, 1, 2, 3, 1, 1, 6, 7, 8, 0x07}));
  EcrRecord(1).FeatureLevels[83] = 1;
  EXPECT_EQ(RunLine("#28 #1, #4=2, #5=3, #6=7"), 0);  // #3 empty, #5 neither on nor off
  EXPECT_EQ(host.pending(), 0);

  EXPECT_EQ(RunLine("#28 #7=25"), 275);
  Library().TradFlags |= TRADF_MULTI_ECR;
  host.info().registerCount = 3;
  host.set_present(2, false);
  host.set_present(3, true);
  EcrRecord(3).EcrNumber = 3;
  expectWrite(1, bytes({'C', 3, 1, 2, 3, 1, 5, 0, 7, 8, 9}));
  expectWrite(3, bytes({'C', 3, 1, 2, 3, 1, 5, 0, 7, 8, 9}));
  EXPECT_EQ(RunLine("#28 #5=1, #7=0"), 0);
  EXPECT_EQ(host.pending(), 0);
  EXPECT_EQ(RunLine("#28 #7=2"), 275);
  // A failure on the way leaves the selected register current.
  host.expect(read).to(3).answer(4, {}, 1);
  EXPECT_NE(RunLine("#28 #7=3"), 0);
  EXPECT_EQ(CurrentEcr(), 1);
}

}  // namespace
}  // namespace quadrel
