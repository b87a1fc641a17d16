#include "link/key_batch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "exports/translator_entry.h"
#include "file_text.h"
#include "files/capture_file.h"
#include "files/line_file.h"
#include "run/key_batch_sender.h"
#include "run/retry_policy.h"
#include "translator_fixture.h"

using namespace quadrel;
using quadrel_test::bytes;
using quadrel_test::Bytes;
using quadrel_test::status_answer;
using quadrel_test::status_idle;

namespace {

void Queue(const Bytes& record) {
  KeyBatch().Append(std::span<const std::uint8_t>(record));
  KeyBatch().EndKeyRecord();
}

Bytes RecordBytes(int index) {
  const KeyRecord& record = KeyBatch().Record(index);
  return Bytes(record.data.begin(), record.data.begin() + record.length);
}

using KeyBatchQueueTest = TranslatorTest;

TEST_F(KeyBatchQueueTest, RepeatedRecordsFoldIntoTheRepeatByte) {
  Queue(bytes({'A', 1, 5, 0x91}));
  for (int copy = 0; copy < 3; ++copy) {
    KeyBatch().Append(std::span<const std::uint8_t>(bytes({'A', 1, 5, 0x91})));
    EXPECT_EQ(KeyBatch().EndKeyRecordRepeat(1), 0);
  }
  ASSERT_EQ(KeyBatch().Count(), 1);
  EXPECT_EQ(RecordBytes(0), bytes({'A', 4, 5, 0x91}));

  // A record differing elsewhere, or of another length, stays a record of its own.
  KeyBatch().Append(std::span<const std::uint8_t>(bytes({'A', 1, 6, 0x91})));
  KeyBatch().EndKeyRecordRepeat(1);
  KeyBatch().Append(std::span<const std::uint8_t>(bytes({'A', 1, 6})));
  KeyBatch().EndKeyRecordRepeat(1);
  ASSERT_EQ(KeyBatch().Count(), 3);
  EXPECT_EQ(RecordBytes(1), bytes({'A', 1, 6, 0x91}));
  EXPECT_EQ(RecordBytes(2), bytes({'A', 1, 6}));
}

TEST_F(KeyBatchQueueTest, RepeatByteStopsAt255AndTheNextCopyIsANewRecord) {
  Queue(bytes({'A', 254, 7}));
  KeyBatch().Append(std::span<const std::uint8_t>(bytes({'A', 1, 7})));
  KeyBatch().EndKeyRecordRepeat(1);
  EXPECT_EQ(RecordBytes(0), bytes({'A', 255, 7}));
  KeyBatch().Append(std::span<const std::uint8_t>(bytes({'A', 1, 7})));
  KeyBatch().EndKeyRecordRepeat(1);
  ASSERT_EQ(KeyBatch().Count(), 2);
  EXPECT_EQ(RecordBytes(0), bytes({'A', 255, 7}));
  EXPECT_EQ(RecordBytes(1), bytes({'A', 1, 7}));
}

TEST_F(KeyBatchQueueTest, OverLongRecordIsRefusedAndNothingIsSent) {
  for (std::size_t i = 0; i < kMaxKeyRecordLength; ++i) EXPECT_TRUE(KeyBatch().Append('A'));
  EXPECT_FALSE(KeyBatch().Append('A'));
  EXPECT_EQ(KeyBatch().EndKeyRecord(), kResultInternalError);
  EXPECT_EQ(SendKeyBatch(0, nullptr, 0), kResultInternalError);
  EXPECT_TRUE(host.frames().empty());
  EXPECT_EQ(Executor().ErrorCount, 1);
}

TEST_F(KeyBatchQueueTest, RecordBeyondThe1000thIsRefusedAndNothingIsSent) {
  for (int i = 0; i < kMaxKeyRecords; ++i) Queue(bytes({'A', 1}));
  EXPECT_EQ(KeyBatch().Count(), kMaxKeyRecords);
  EXPECT_FALSE(KeyBatch().Append('A'));
  EXPECT_EQ(KeyBatch().EndKeyRecord(), kResultInternalError);
  EXPECT_EQ(KeyBatch().Count(), kMaxKeyRecords);
  EXPECT_EQ(SendKeyBatch(0, nullptr, 0), kResultInternalError);
  EXPECT_TRUE(host.frames().empty());

  KeyBatch().Clear();
  EXPECT_FALSE(KeyBatch().Overflowed());
  EXPECT_EQ(KeyBatch().Count(), 0);
}

class SendKeyBatchTest : public TranslatorTest {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    answerPath = std::filesystem::temp_directory_path() /
                 ("quadrel_answer_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
    ASSERT_TRUE(OpenLineFile(answerPath.string(), LINE_CREATE_ALWAYS | LINE_READ_WRITE, answer, 0));
  }
  void TearDown() override {
    answer.Close();
    std::filesystem::remove(answerPath);
  }
  std::string AnswerText() {
    answer.Close();
    return quadrel_test::FileText(answerPath);
  }

  std::filesystem::path answerPath;
  LineFile answer;
};

TEST_F(SendKeyBatchTest, BatchRequestAndEmptyLineComeBackUnchanged) {
  Queue(bytes({'A', 1}));
  EXPECT_EQ(SendKeyBatch(-1, &answer, 2), -1);
  EXPECT_EQ(SendKeyBatch(-2, &answer, 2), -2);
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(SendKeyBatchTest, HandlerFailuresAreCountedOnlyWhenFinal) {
  Library().switches.RetryOn8XXX = true;
  Library().switches.RetryOn16XXX = false;
  EXPECT_EQ(SendKeyBatch(2055, nullptr, 2), 2055);  // retried: not yet counted
  EXPECT_EQ(Executor().EcrErrorCount, 0);
  EXPECT_EQ(SendKeyBatch(2055, nullptr, 0), 2055);
  EXPECT_EQ(Executor().EcrErrorCount, 1);
  // Other data errors are never retried, so they count at once.
  EXPECT_EQ(SendKeyBatch(0x805, nullptr, 2), 0x805);
  EXPECT_EQ(Executor().EcrErrorCount, 2);
  EXPECT_EQ(SendKeyBatch(0x1003, nullptr, 2), 0x1003);
  EXPECT_EQ(Executor().EcrErrorCount, 3);
  EXPECT_EQ(SendKeyBatch(0x403, nullptr, 2), 0x403);
  EXPECT_EQ(Executor().EcrErrorCount, 3);
  EXPECT_EQ(SendKeyBatch(0x10000 | 'T', nullptr, 2), 0x10000 | 'T');
  EXPECT_EQ(SendKeyBatch(268, nullptr, 2), 268);
  EXPECT_EQ(Executor().ErrorCount, 2);
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(SendKeyBatchTest, RetryPolicyTruthTable) {
  struct Case {
    bool retry8, retry16;
    int code;
    int final;
  } cases[] = {
      {true, false, 0x404, 0}, {false, true, 0x404, 0}, {false, false, 0x404, 1}, {true, false, 2055, 0},
      {true, false, 0x806, 1}, {false, true, 2055, 1},  {false, true, 0x1005, 0}, {true, false, 0x1005, 1},
      {true, true, 0x205, 1},  {true, true, 16, 1},
  };
  for (const Case& c : cases) {
    Library().switches.RetryOn8XXX = c.retry8;
    Library().switches.RetryOn16XXX = c.retry16;
    EXPECT_EQ(IsFinalFailure(c.code, 1), c.final) << c.code << " " << c.retry8 << c.retry16;
    EXPECT_EQ(IsFinalFailure(c.code, 0), 1) << c.code;
  }
}

TEST_F(SendKeyBatchTest, AfterAFileTransferNothingIsSent) {
  Queue(bytes({'A', 1}));
  Reply().TransferStats.set = true;
  EXPECT_EQ(SendKeyBatch(0, &answer, 2), 0);
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(SendKeyBatchTest, SecondOfThreeRecordsFailsTheThirdIsStillSent) {
  Queue(bytes({'A', 1}));
  Queue(bytes({'A', 2}));
  Queue(bytes({'A', 3}));
  host.expect(bytes({'A', 1})).answer(0, status_idle());
  host.expect(bytes({'A', 2})).answer(2, {}, 5);
  host.expect(bytes({'A', 3})).answer(0, status_idle());
  Executor().InBatch = 1;
  EXPECT_EQ(SendKeyBatch(0, &answer, 2), kResultNonOk);
  EXPECT_EQ(host.pending(), 0);
  EXPECT_EQ(Executor().EcrErrorCount, 1);
  // Inside a batch the text names the batch line.
  EXPECT_EQ(AnswerText(), "ERROR 2/5 in line 0 : I/O ERROR 5\r\n");
  EXPECT_EQ(KeyBatch().Count(), 3);  // kept after a failed send
}

// A line that runs once (no retries left) still reports its failed record.
TEST_F(SendKeyBatchTest, RecordErrorOnTheOnlyAttemptIsWrittenAndCounted) {
  Queue(bytes({'A', 1}));
  host.expect("A").answer(8, bytes({'E', 9}));
  EXPECT_EQ(SendKeyBatch(0, &answer, 0), kResultNonOk);
  EXPECT_EQ(Executor().EcrErrorCount, 1);
  EXPECT_EQ(AnswerText(), "ERROR 8/9 : ECR REPORTS DATA-ERROR 9\r\n");
}

TEST_F(SendKeyBatchTest, StopOnRecordErrorReturnsTheFirstError) {
  Queue(bytes({'A', 1}));
  Queue(bytes({'A', 2}));
  Queue(bytes({'A', 3}));
  host.expect(bytes({'A', 1})).answer(0, status_idle());
  host.expect(bytes({'A', 2})).answer(2, {}, 5);
  Executor().StopOnRecordError = 1;
  EXPECT_EQ(SendKeyBatch(0, &answer, 0), 512 + 5);
  EXPECT_EQ(Executor().EcrErrorCount, 1);
  EXPECT_EQ(AnswerText(), "");  // the caller reports the returned error
}

TEST_F(SendKeyBatchTest, StopOnRecordErrorLeavesARetriedErrorUncounted) {
  Library().switches.RetryOn8XXX = true;
  Queue(bytes({'A', 1}));
  host.expect("A").answer(32, bytes({'E'}));
  Executor().StopOnRecordError = 1;
  EXPECT_EQ(SendKeyBatch(0, &answer, 2), 1024);
  EXPECT_EQ(Executor().EcrErrorCount, 0);
}

TEST_F(SendKeyBatchTest, CriticalStateAfterARecordClearsTheRegisterAndGoesOn) {
  Queue(bytes({'A', 1}));
  Queue(bytes({'A', 2}));
  host.expect(bytes({'A', 1})).answer(0, status_answer(0x05, 7));
  host.expect(bytes({'A', 0})).answer(0, status_idle());
  host.expect(bytes({'A', 2})).answer(0, status_idle());
  EXPECT_EQ(SendKeyBatch(0, &answer, 2), kResultNonOk);
  EXPECT_EQ(host.pending(), 0);
  EXPECT_EQ(Executor().ErrorCount, 1);
  ASSERT_EQ(host.status_calls().size(), 1u);  // state bit 2: the host is asked
  EXPECT_EQ(host.status_calls()[0].mode, 1);
  EXPECT_EQ(AnswerText(), "ERROR 16/7 : ECR REPORTS ERROR 7\r\n");
}

TEST_F(SendKeyBatchTest, CriticalStateInAProgrammingSessionAlsoConfirms) {
  Executor().ProgSessionState = 1;
  Queue(bytes({'A', 1}));
  host.expect(bytes({'A', 1})).answer(0, status_answer(1, 3));
  host.expect(bytes({'A', 0})).answer(0, status_idle());
  host.expect(bytes({'A', 0x91})).answer(2, {}, 1);  // its failure is ignored
  EXPECT_EQ(SendKeyBatch(0, nullptr, 2), kResultNonOk);
  EXPECT_EQ(host.pending(), 0);
  EXPECT_TRUE(host.status_calls().empty());
}

TEST_F(SendKeyBatchTest, CriticalStateWithStopOnRecordErrorReturnsTheCode) {
  Executor().StopOnRecordError = 1;
  Queue(bytes({'A', 1}));
  Queue(bytes({'A', 2}));
  host.expect(bytes({'A', 1})).answer(0, status_answer(1, 0x22));
  host.expect(bytes({'A', 0})).answer(0, status_idle());
  EXPECT_EQ(SendKeyBatch(0, &answer, 2), 0x1000 | 0x22);

  // A clear key that fails is returned instead.
  Queue(bytes({'A', 1}));
  host.expect(bytes({'A', 1})).answer(0, status_answer(1, 0x22));
  host.expect(bytes({'A', 0})).answer(4, {}, 6);
  EXPECT_EQ(SendKeyBatch(0, &answer, 2), 512 + 6);
}

TEST_F(SendKeyBatchTest, StopOnConfirmAsksAfterTheBatch) {
  Queue(bytes({'A', 1}));
  host.expect("A").answer(0, status_answer(1, 0, 0, 1, 1));
  Library().options.StopOnConfirm = 1;
  EXPECT_EQ(SendKeyBatch(0, nullptr, 2), 32);

  Library().options.StopOnConfirm = 0;
  host.expect("A").answer(0, status_answer(1, 0, 0, 1, 1));
  EXPECT_EQ(SendKeyBatch(0, nullptr, 2), 0);
  EXPECT_EQ(KeyBatch().Count(), 0);  // emptied after a full success
}

TEST_F(SendKeyBatchTest, RecordModesFollowTheCommand) {
  Executor().LastCommand = 26;
  Queue(bytes({'A', 1}));
  Queue(bytes({'A', 2}));
  Queue(bytes({'A', 3}));
  for (int i = 0; i < 3; ++i) host.expect("A").answer(0, status_idle());
  EXPECT_EQ(SendKeyBatch(0, nullptr, 2), 0);

  Executor().LastCommand = 9;
  Queue(bytes({'A', 9, 9, 0x91}));
  Queue(bytes({'A', 0xF0, 1}));
  Queue(bytes({'A', 4}));
  for (int i = 0; i < 3; ++i) host.expect("A").answer(0, status_idle());
  EXPECT_EQ(SendKeyBatch(0, nullptr, 2), 0);

  std::vector<int> modes;
  for (const auto& frame : host.frames()) modes.push_back(frame.mode);
  EXPECT_EQ(modes, (std::vector<int>{11, 11, 11, 11, 0, 3}));
}

TEST_F(SendKeyBatchTest, OpeningProgrammingSessionIsOpenAfterTheBatch) {
  Executor().ProgSessionState = -1;
  Queue(bytes({'A', 1}));
  host.expect("A").answer(0, status_idle());
  EXPECT_EQ(SendKeyBatch(0, nullptr, 2), 0);
  EXPECT_EQ(Executor().ProgSessionState, 1);
}

TEST_F(SendKeyBatchTest, AnOldCriticalCodeIsNotTakenForTheStateOfAFailedRecord) {
  EcrStatusBytes().criticalCode = 5;  // left by an earlier answer
  Queue(bytes({'A', 1}));
  host.expect("A").answer(2, {}, 3);  // a link error: no status comes back
  EXPECT_EQ(SendKeyBatch(0, nullptr, 0), kResultNonOk);
  EXPECT_EQ(Executor().ErrorCount + Executor().EcrErrorCount, 1);  // counted once, no recovery
}

TEST_F(SendKeyBatchTest, ASessionWhoseOpeningRecordFailedStaysClosed) {
  Executor().ProgSessionState = -1;
  Queue(bytes({'A', 1}));
  host.expect("A").answer(2, {}, 0);
  EXPECT_EQ(SendKeyBatch(0, nullptr, 0), kResultNonOk);
  EXPECT_EQ(Executor().ProgSessionState, 0);
}

TEST_F(SendKeyBatchTest, PercentagesAreFollowedByAFreshFileInformationRead) {
  Executor().LastCommand = 45;
  Queue(bytes({'A', 1}));
  host.expect("A").answer(0, status_idle());
  host.expect(bytes({'U', 0, 1})).answer(2, {}, 7);  // its failure is the result
  EXPECT_EQ(SendKeyBatch(0, nullptr, 0), 512 + 7);
}

TEST_F(SendKeyBatchTest, ChangedOutputSettingsAreWrittenBackWithTheEchoOff) {
  Library().settingsChanged = true;
  Queue(bytes({'A', 1}));
  host.expect("A").answer(0, status_idle());
  host.expect(bytes({'C', 3})).answer(0, bytes({'C', 1, 2, 3, 1, 5, 6, 7, 8, 9}));
  host.expect(bytes({'C', 3, 1, 2, 3, 0, 5, 6, 7, 8, 9})).answer(0, bytes({'C', 0}));
  EXPECT_EQ(SendKeyBatch(0, nullptr, 2), 0);
  EXPECT_FALSE(Library().settingsChanged);
  ASSERT_EQ(host.services().size(), 1u);
  EXPECT_EQ(host.services()[0].request, ECRIO_XFER_END);
}

TEST_F(SendKeyBatchTest, CaptureFileGetsItsLastLinesMovedOverThePlaceholders) {
  CurrentRecord().PrintWidth = 4;
  CaptureFileState& capture = CaptureFile();
  capture.name = (std::filesystem::temp_directory_path() / "quadrel_capture_test.txt").string();
  ASSERT_TRUE(OpenLineFile(capture.name, LINE_CREATE_ALWAYS | LINE_READ_WRITE, capture.file, 0));
  capture.keepLines = 2;
  for (const char* line : {"    ", "    ", "L1..", "L2..", "L3..", "L4..", "L5.."})
    WriteLine(capture.file, line);
  const std::string name = capture.name;

  Queue(bytes({'A', 1}));
  host.expect("A").answer(0, status_idle());
  EXPECT_EQ(SendKeyBatch(0, nullptr, 2), 0);
  EXPECT_EQ(quadrel_test::FileText(name), "L4..\r\nL5..\r\nL1..\r\nL2..\r\nL3..\r\n");
  EXPECT_FALSE(CaptureFile().file.IsOpen());
  EXPECT_TRUE(CaptureFile().name.empty());
  std::filesystem::remove(name);
}

TEST_F(SendKeyBatchTest, CaptureFileIsClosedWhenARecordFails) {
  CaptureFileState& capture = CaptureFile();
  capture.name = (std::filesystem::temp_directory_path() / "quadrel_capture_fail.txt").string();
  ASSERT_TRUE(OpenLineFile(capture.name, LINE_CREATE_ALWAYS | LINE_READ_WRITE, capture.file, 0));
  WriteLine(capture.file, "kept");
  const std::string name = capture.name;
  Queue(bytes({'A', 1}));
  host.expect("A").answer(1, {}, 0);
  EXPECT_EQ(SendKeyBatch(0, nullptr, 2), kResultNonOk);
  EXPECT_FALSE(CaptureFile().file.IsOpen());
  EXPECT_EQ(quadrel_test::FileText(name), "kept\r\n");
  std::filesystem::remove(name);
}

}  // namespace

// Changed settings go back at port close, while the host can still carry frames.
TEST_F(SendKeyBatchTest, TradCloseWritesChangedSettingsBackAndDetachSendsNothing) {
  Library().settingsChanged = true;
  host.expect(bytes({'C', 3})).answer(0, bytes({'C', 1, 2, 3, 1, 5, 6, 7, 8, 9}));
  host.expect(bytes({'C', 3, 1, 2, 3, 0, 5, 6, 7, 8, 9})).answer(0, bytes({'C', 0}));
  EXPECT_EQ(TradClose(), 0);
  EXPECT_FALSE(Library().settingsChanged);

  Library().settingsChanged = true;
  DetachTranslator();  // a frame here would fail the script
  EXPECT_EQ(host.frames().size(), 2u);
}

// A write-back that fails keeps the change, so TradClose still restores the echo.
TEST_F(SendKeyBatchTest, FailedSettingsWriteBackIsTriedAgainAtTradClose) {
  Library().settingsChanged = true;
  Queue(bytes({'A', 1}));
  host.expect("A").answer(0, status_idle());
  host.expect(bytes({'C', 3})).answer(1, {}, 4);
  EXPECT_EQ(SendKeyBatch(0, nullptr, 2), 0);
  EXPECT_TRUE(Library().settingsChanged);

  host.expect(bytes({'C', 3})).answer(0, bytes({'C', 1, 2, 3, 1, 5, 6, 7, 8, 9}));
  host.expect(bytes({'C', 3, 1, 2, 3, 0, 5, 6, 7, 8, 9})).answer(0, bytes({'C', 0}));
  EXPECT_EQ(TradClose(), 0);
  EXPECT_FALSE(Library().settingsChanged);
}
