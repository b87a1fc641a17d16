#include "link/frame_exchange.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "translator_fixture.h"

using namespace quadrel;
using quadrel_test::bytes;
using quadrel_test::Bytes;
using quadrel_test::status_answer;
using quadrel_test::status_idle;

namespace {

class FrameExchangeTest : public TranslatorTest {
 protected:
  // Sends `frame` from the FrameBuffer, as the frame builders do.
  bool Send(const Bytes& frame, int flags = FRAME_PLAIN) {
    FrameBuffer().Load(frame);
    return SendFrameBuffer(flags, error);
  }
  int error = -1;
};

TEST_F(FrameExchangeTest, HostResultsBecomeResultCodes) {
  struct Case {
    int hostResult;
    Bytes answer;
    int detail;
    int expected;
  } cases[] = {
      {1, {}, 7, 512 + 7},         {2, {}, 0, 512},
      {4, {}, 9, 512 + 9},         {8, bytes({'T', 5}), 0, 0x800 | 5},
      {32, bytes({'T'}), 0, 1024}, {16, {}, 3, 512 + 16},
      {64, {}, 0, 512 + 64},
      // Codes outside 0-255 stay link failures, not syntax errors or critical states.
      {-1, {}, 0, 512 + 255},      {1, {}, 512, 512 + 255},
      {2, {}, -1, 512 + 255},      {256, {}, 0, 512 + 255},
  };
  for (const Case& c : cases) {
    host.expect("T").answer(c.hostResult, c.answer, c.detail);
    EXPECT_FALSE(Send(bytes({'T'}))) << "host result " << c.hostResult;
    EXPECT_EQ(error, c.expected) << "host result " << c.hostResult;
  }
  host.expect("T").answer(0, bytes({'T', 1, 2}));
  EXPECT_TRUE(Send(bytes({'T'})));
  EXPECT_EQ(error, 0);
  EXPECT_EQ(FrameBuffer().length, 3);
}

TEST_F(FrameExchangeTest, DataErrorAndCriticalResultWithStatusAnswerToKeysCountAsAnswered) {
  for (int hostResult : {8, 32}) {
    host.expect("A").answer(hostResult, status_answer(0x21, 0, 1, 1, 0));
    EXPECT_TRUE(Send(bytes({'A', 5, 0x91}))) << hostResult;
    EXPECT_EQ(EcrStatusBytes().state, 0x21);
    EXPECT_EQ(EcrStatusBytes().transactionFlags, 1);
  }
  // The same results with another answer are failures.
  host.expect("A").answer(8, bytes({'E', 12}));
  EXPECT_FALSE(Send(bytes({'A', 5})));
  EXPECT_EQ(error, 0x800 | 12);
  host.expect("A").answer(32, bytes({'E', 12}));
  EXPECT_FALSE(Send(bytes({'A', 5})));
  EXPECT_EQ(error, 1024);
  // A status answer to a non-key frame is no excuse.
  host.expect("T").answer(8, status_idle());
  EXPECT_FALSE(Send(bytes({'T'})));
  EXPECT_EQ(error, 0x800 | 1);
}

TEST_F(FrameExchangeTest, WrongAnswerLettersAreIncorrectAnswers) {
  host.expect("T").answer(0, status_idle());
  EXPECT_FALSE(Send(bytes({'T'})));
  EXPECT_EQ(error, 65619);  // 0x10000 + 'S', shown as 256/83

  host.expect("A").answer(0, bytes({'A', 0}));
  EXPECT_FALSE(Send(bytes({'A', 0})));
  EXPECT_EQ(error, 0x10000 | 'A');

  std::string text;
  FormatResultText(text, 65619);
  EXPECT_EQ(text, "ERROR 256/83 : INCORRECT ANSWER FOR ECR S");
}

// The answer replaces the frame in the same buffer: an answer that is missing
// or too short must never let the request's own bytes pass for it.
TEST_F(FrameExchangeTest, ShortAnswersAreIncorrectNeverTheRequestReadBack) {
  host.expect("S").answer(0, {});
  EXPECT_FALSE(Send(bytes({'S'})));
  EXPECT_EQ(error, 0x10000);

  // A "success" that writes nothing: the buffer's capacity came back as the
  // length, but its bytes are the zeroed answer buffer, never the request.
  FrameBuffer().Load(bytes({'S'}));
  host.expect("S").answer_nothing(0);
  EXPECT_FALSE(SendFrameBuffer(FRAME_PLAIN, error));
  EXPECT_EQ(error, 0x10000);
  EXPECT_NE(FrameBuffer().data[0], 'S');

  // Nor an earlier answer: the bytes it left behind read as zero.
  host.expect("T").answer(0, bytes({'T', 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_TRUE(Send(bytes({'T'})));
  host.expect("S").answer_nothing(0);
  EXPECT_FALSE(Send(bytes({'S'})));
  EXPECT_EQ(std::count(FrameBuffer().data.begin(), FrameBuffer().data.end(), 0), kMaxFrameLength);

  const Bytes dateFrame = bytes({'C', 3, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  host.expect(dateFrame).answer_nothing(0);
  EXPECT_FALSE(Send(dateFrame));
  EXPECT_EQ(error, 0x10000);

  host.expect("S").answer(0, bytes({'S', 1, 0}));
  EXPECT_FALSE(Send(bytes({'S'})));
  EXPECT_EQ(error, 0x10000 | 'S');

  host.expect("T").answer(8, bytes({'T'}));
  EXPECT_FALSE(Send(bytes({'T'})));
  EXPECT_EQ(error, 0x10000 | 'T');
}

TEST_F(FrameExchangeTest, StatusAnswersRefreshTheStatusBytes) {
  host.expect("S").answer(0, status_answer(0x05, 9, 0x21, 1, 0x01));
  ASSERT_TRUE(Send(bytes({'S'})));
  const EcrStatusFields& status = EcrStatusBytes();
  EXPECT_EQ(status.state, 0x05);
  EXPECT_EQ(status.criticalCode, 9);
  EXPECT_EQ(status.transactionFlags, 0x21);
  EXPECT_EQ(status.keyPosition, 1);
  EXPECT_EQ(status.extra, 1);

  // Six bytes: no extra byte.
  host.expect("S").answer(0, bytes({'S', 1, 0, 0, 0, 2}));
  ASSERT_TRUE(Send(bytes({'S'})));
  EXPECT_EQ(status.extra, 0);
  EXPECT_EQ(status.keyPosition, 2);

  // State 4 after keys reads as 'B' with no critical code; after 'S' it stays 4.
  host.expect("A").answer(0, status_answer(4, 7));
  ASSERT_TRUE(Send(bytes({'A', 1})));
  EXPECT_EQ(status.state, 'B');
  EXPECT_EQ(status.criticalCode, 0);
  host.expect("S").answer(0, status_answer(4, 7));
  ASSERT_TRUE(Send(bytes({'S'})));
  EXPECT_EQ(status.state, 4);
  EXPECT_EQ(status.criticalCode, 7);

  // Other answers leave them alone.
  host.expect("T").answer(0, bytes({'T', 0, 0, 0, 0, 0, 0}));
  ASSERT_TRUE(Send(bytes({'T'})));
  EXPECT_EQ(status.state, 4);
}

TEST_F(FrameExchangeTest, FlagsChooseTheModeAndFramesGoToTheCurrentRegister) {
  CurrentEcr() = 3;
  host.expect("A").to(3).answer(0, status_idle());
  host.expect("A").to(3).answer(0, status_idle());
  host.expect("A").to(3).answer(0, status_idle());
  EXPECT_TRUE(Send(bytes({'A', 1}), FRAME_PLAIN));
  EXPECT_TRUE(Send(bytes({'A', 1}), FRAME_MODE_11 | FRAME_PLAIN));
  EXPECT_TRUE(Send(bytes({'A', 0xF0}), FRAME_MODE_0 | FRAME_MODE_11));
  ASSERT_EQ(host.frames().size(), 3u);
  EXPECT_EQ(host.frames()[0].mode, 3);
  EXPECT_EQ(host.frames()[1].mode, 11);
  EXPECT_EQ(host.frames()[2].mode, 0);
}

TEST_F(FrameExchangeTest, FramesOutsideTheBufferLimitsAreRefusedUnsent) {
  std::array<std::uint8_t, kMaxFrameLength + 1> big{};
  big[0] = 'A';
  EXPECT_FALSE(SendEcrFrame(FRAME_PLAIN, big.data(), static_cast<int>(big.size()), error));
  EXPECT_EQ(error, kResultInternalError);
  EXPECT_FALSE(SendEcrFrame(FRAME_PLAIN, big.data(), 0, error));
  EXPECT_EQ(error, kResultInternalError);
  EXPECT_TRUE(host.frames().empty());
  EXPECT_FALSE(FrameBuffer().Load(big));
}

class BroadcastTest : public FrameExchangeTest {
 protected:
  void SetUp() override {
    FrameExchangeTest::SetUp();
    Library().broadcastMode = true;
    host.set_present(1, true);
    host.set_present(2, false);
    host.set_present(3, true);
    host.broadcast_answer(1, 0, status_idle());
    host.broadcast_answer(3, 0, status_idle());
  }
};

TEST_F(BroadcastTest, AbsentRegistersDoNotFailTheExchange) {
  host.broadcast_answer(2, 5, bytes({'X'}));
  EXPECT_TRUE(Send(bytes({'A', 0})));
  EXPECT_EQ(error, 0);
  ASSERT_EQ(host.broadcasts().size(), 1u);
  EXPECT_EQ(host.broadcasts()[0], bytes({'A', 0}));
  EXPECT_TRUE(host.frames().empty());
}

TEST_F(BroadcastTest, AnyPresentRegisterFailingGives30) {
  host.broadcast_answer(3, 2, status_idle());  // its status code
  EXPECT_FALSE(Send(bytes({'A', 0})));
  EXPECT_EQ(error, kResultBroadcastError);

  host.broadcast_answer(3, 0, bytes({'E'}));  // wrong letter for keys
  EXPECT_FALSE(Send(bytes({'A', 0})));
  EXPECT_EQ(error, kResultBroadcastError);

  host.broadcast_answer(3, 0, {});  // no answer at all
  EXPECT_FALSE(Send(bytes({'A', 0})));
  EXPECT_EQ(error, kResultBroadcastError);

  host.broadcast_answer(3, 0, bytes({'H', 0}));  // other frames want their own letter
  host.broadcast_answer(1, 0, bytes({'H', 0}));
  EXPECT_TRUE(Send(bytes({'H', 0})));
}

TEST_F(BroadcastTest, HostResultsOneAndTwoFailOthersCountAsDone) {
  for (int result : {1, 2}) {
    host.broadcast_result(result);
    EXPECT_FALSE(Send(bytes({'A', 0}))) << result;
    EXPECT_EQ(error, kResultBroadcastError);
  }
  host.broadcast_result(5);
  EXPECT_TRUE(Send(bytes({'A', 0})));
}

TEST_F(BroadcastTest, StatusBytesAreNotUpdated) {
  host.broadcast_answer(1, 0, status_answer(4, 9));
  host.broadcast_answer(3, 0, status_answer(4, 9));
  EXPECT_TRUE(Send(bytes({'S'})));
  EXPECT_EQ(EcrStatusBytes().criticalCode, 0);
}

TEST_F(FrameExchangeTest, ProgressRelayShowsCallInProgressForTheCurrentRegister) {
  CurrentEcr() = 4;
  host.abort_progress_at(1);
  int abort = 0;
  ProgressRelay(3, 40, &abort);
  ASSERT_EQ(host.progress_calls().size(), 1u);
  EXPECT_EQ(host.progress_calls()[0].ecr, 4);
  EXPECT_EQ(host.progress_calls()[0].count, 3);
  EXPECT_EQ(host.progress_calls()[0].percent, 40);
  EXPECT_EQ(host.progress_calls()[0].text, "CALL IN PROGRESS");
  EXPECT_EQ(abort, 1);
}

}  // namespace
