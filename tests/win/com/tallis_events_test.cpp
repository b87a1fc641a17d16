// Register events through COM to the client's own event object: argument
// lists, replies through by-reference arguments, freezing, ordering and the
// client's calls from inside its handlers.
#include "com/tallis_fixture.h"

namespace tallis_test {
namespace {

constexpr long kAllEvents = 0x9F;  // everything but progress and completion

class Events : public TallisSession {
 protected:
  void SetUp() override {
    TallisSession::SetUp();
    ASSERT_EQ(Open(), 0);
    client_.SetNumber(kEventMask, kAllEvents);
  }
};

TEST_F(Events, EachKindArrivesWithItsArguments) {
  Run(L"EVENT X 2 sold 1,50");
  Run(L"EVENT Y 3 line two");
  Run(L"EVENT G 4 ART7");
  Run(L"EVENT S 3 -");
  ASSERT_TRUE(WaitForCalls(L"SOStatusChange", 1));
  const auto& calls = events_->Calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].name, L"SODataX");
  EXPECT_EQ(calls[0].args[0].Long(), 2);
  EXPECT_EQ(calls[0].args[1].Text(), L"sold 1,50");
  EXPECT_EQ(calls[1].name, L"SODataY");
  EXPECT_EQ(calls[1].args[0].Long(), 3);
  EXPECT_EQ(calls[1].args[1].Text(), L"line two");
  EXPECT_EQ(calls[2].name, L"SOFileExtUpd");
  ASSERT_EQ(calls[2].args.size(), 5u);
  EXPECT_EQ(calls[2].args[0].Long(), 4);
  EXPECT_EQ(calls[2].args[1].Long(), 8);
  EXPECT_EQ(calls[2].args[2].Text(), L"ART7");
  EXPECT_EQ(calls[2].args[3].Double(), 2.25);
  EXPECT_EQ(calls[2].args[4].Double(), -3.5);
  EXPECT_EQ(calls[3].name, L"SOStatusChange");
  ASSERT_EQ(calls[3].args.size(), 4u);
  EXPECT_EQ(calls[3].args[0].Long(), 3);
  EXPECT_EQ(calls[3].args[1].Long(), 0);
  EXPECT_EQ(calls[3].args[2].Long(), 7);
  EXPECT_EQ(calls[3].args[3].Text(), L" ");
}

TEST_F(Events, EnquiryAndInteractivityAreAnsweredWithWhatTheHandlerLeft) {
  events_->On(L"SOFileExtEnq", [](DISPPARAMS& params) {
    SetEventRef(params, 4, TVar(0L));
    SetEventRef(params, 5, TVar(std::wstring(L"Cola 1,50")));
  });
  events_->On(L"SOInteract", [](DISPPARAMS& params) {
    SetEventRef(params, 1, TVar(std::wstring(L"E" + EventArg(params, 1).Text())));
  });
  Run(L"EVENT F 3 ART9");
  Run(L"EVENT B 1 ask");
  ASSERT_TRUE(WaitForCalls(L"SOInteract", 1));
  const auto enquiry = events_->CallsOf(L"SOFileExtEnq").at(0);
  ASSERT_EQ(enquiry.args.size(), 6u);
  EXPECT_EQ(enquiry.args[0].Long(), 3);
  EXPECT_EQ(enquiry.args[1].Long(), 7);
  EXPECT_EQ(enquiry.args[2].Text(), L"ART9");
  EXPECT_EQ(enquiry.args[3].Double(), 1.5);
  EXPECT_EQ(Run(L"REPLIES"), L"F3:ART9:0:Cola 1,50|B1:Eask");
}

TEST_F(Events, ClientThatStopsServingCallsGetsTheRegisterTheDefaultAnswer) {
  events_->On(L"SOFileExtEnq", [](DISPPARAMS& params) {
    Sleep(7000);  // longer than the server waits for a client
    SetEventRef(params, 4, TVar(0L));
    SetEventRef(params, 5, TVar(std::wstring(L"late")));
  });
  Run(L"EVENT F 3 ART9");
  ASSERT_TRUE(WaitForCalls(L"SOFileExtEnq", 1));
  EXPECT_EQ(Run(L"REPLIES"), L"F3:ART9:2:");
}

TEST_F(Events, ClientWithTypedReferencesStillAnswers) {
  events_->AcceptTypedReferencesOnly();
  events_->On(L"SOFileExtEnq", [](DISPPARAMS& params) {
    SetEventRef(params, 4, TVar(0L));
    SetEventRef(params, 5, TVar(std::wstring(L"Cola")));
  });
  Run(L"EVENT F 3 ART9");
  ASSERT_TRUE(WaitForCalls(L"SOFileExtEnq", 1));
  EXPECT_EQ(Run(L"REPLIES"), L"F3:ART9:0:Cola");
}

TEST_F(Events, FrozenEventsWaitAndArriveInOrderOnThaw) {
  ASSERT_EQ(Freeze(true), 0);
  Run(L"EVENT X 1 one");
  Run(L"EVENT Y 1 two");
  Run(L"EVENT X 1 three");
  PumpFor(300);
  EXPECT_TRUE(events_->Calls().empty());
  ASSERT_EQ(Freeze(false), 0);
  ASSERT_TRUE(WaitForCalls(L"SODataX", 2));
  const auto& calls = events_->Calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].args[1].Text(), L"one");
  EXPECT_EQ(calls[1].args[1].Text(), L"two");
  EXPECT_EQ(calls[2].args[1].Text(), L"three");
}

TEST_F(Events, QuestionBehindFrozenEventsGetsTheDefaultAnswerInTime) {
  ASSERT_EQ(Freeze(true), 0);
  Run(L"EVENT F 3 ART9");
  Run(L"EVENT X 1 kept");
  PumpFor(8000);
  EXPECT_EQ(Run(L"REPLIES"), L"F3:ART9:2:");
  ASSERT_EQ(Freeze(false), 0);
  ASSERT_TRUE(WaitForCalls(L"SODataX", 1));
  EXPECT_TRUE(events_->CallsOf(L"SOFileExtEnq").empty());
}

TEST_F(Events, FreezingInsideAHandlerStopsTheRestOfTheBacklog) {
  events_->On(L"SODataX", [&](DISPPARAMS& params) {
    if (EventArg(params, 1).Text() == L"one") Freeze(true);
  });
  ASSERT_EQ(Freeze(true), 0);
  Run(L"EVENT X 1 one");
  Run(L"EVENT X 1 two");
  PumpFor(200);
  ASSERT_EQ(Freeze(false), 0);
  PumpFor(300);
  ASSERT_EQ(events_->Calls().size(), 1u);
  ASSERT_EQ(Freeze(false), 0);
  ASSERT_TRUE(WaitForCalls(L"SODataX", 2));
  EXPECT_EQ(events_->Calls()[1].args[1].Text(), L"two");
}

TEST_F(Events, EventArrivingDuringAHandlerWaitsForItInsteadOfNesting) {
  std::wstring answer;
  events_->On(L"SODataX", [&](DISPPARAMS& params) {
    if (EventArg(params, 1).Text() != L"first") return;
    client_.EcrCmd(L"EVENT X 1 second", answer);
    client_.EcrCmd(L"WAIT 200", answer);  // the server pumps its messages meanwhile
  });
  Run(L"EVENT X 1 first");
  ASSERT_TRUE(WaitForCalls(L"SODataX", 2));
  const auto calls = events_->CallsOf(L"SODataX");
  EXPECT_EQ(calls[0].args[1].Text(), L"first");
  EXPECT_EQ(calls[1].args[1].Text(), L"second");
  EXPECT_EQ(events_->MaxDepth(), 1) << "the second event was fired inside the first handler";
}

TEST_F(Events, CloseInsideAHandlerIsRefusedAndWorksAfterIt) {
  long closeInHandler = -1;
  events_->On(L"SODataX", [&](DISPPARAMS&) { closeInHandler = client_.Close(); });
  Run(L"EVENT X 1 x");
  ASSERT_TRUE(WaitForCalls(L"SODataX", 1));
  EXPECT_EQ(closeInHandler, 19);
  PumpFor(100);
  EXPECT_EQ(client_.Close(), 0);
}

TEST_F(Events, CloseAnswersQueuedQuestionsAsIfNobodyListened) {
  ASSERT_EQ(Freeze(true), 0);
  Run(L"EVENT F 1 ART1");
  Run(L"EVENT B 2 ask");
  Run(L"EVENT X 1 dropped");
  PumpFor(300);
  ASSERT_EQ(client_.Close(), 0);
  EXPECT_TRUE(events_->Calls().empty());
  ASSERT_EQ(Open(), 0);
  EXPECT_EQ(Run(L"REPLIES"), L"F1:ART1:2:|B2:B");
}

TEST_F(Events, ProgressCanAbortAndIsDroppedWhileFrozen) {
  client_.SetNumber(kEventMask, 0x20);
  events_->On(L"SOProgressCtrl", [](DISPPARAMS& params) {
    if (EventArg(params, 2).Long() >= 60) SetEventRef(params, 4, TVar(1L));
  });
  std::wstring answer;
  EXPECT_EQ(client_.EcrCmd(L"PROGRESS 5", answer), 1);
  EXPECT_EQ(answer, L"ABORTED 3");
  const auto reports = events_->CallsOf(L"SOProgressCtrl");
  ASSERT_EQ(reports.size(), 3u);
  EXPECT_EQ(reports[0].args[1].Long(), 1);
  EXPECT_EQ(reports[0].args[2].Long(), 20);
  EXPECT_EQ(reports[0].args[3].Text(), L"Progress");
  events_->Clear();
  ASSERT_EQ(Freeze(true), 0);
  EXPECT_EQ(client_.EcrCmd(L"PROGRESS 2", answer), 0);
  ASSERT_EQ(Freeze(false), 0);
  PumpFor(100);
  EXPECT_TRUE(events_->Calls().empty());
}

}  // namespace
}  // namespace tallis_test
