// The automation object through COM: connections, command lines, the
// configuration, DirectIO and the properties.
#include <atomic>
#include <string>
#include <thread>

#include "com/tallis_fixture.h"

namespace tallis_test {
namespace {

constexpr long kBusy = 19;
constexpr long kNoPort = 20;
constexpr long kLineTooLong = 274;

using Connection = TallisSession;

TEST_F(Connection, OpensThePortItIsToldAndServesItsConfiguration) {
  ASSERT_EQ(Open(4), 0);
  EXPECT_EQ(client_.CallLong(L"EcrConfVal", {TVar(5L)}), 5 * 3 + 4);
  EXPECT_EQ(client_.CallText(L"EcrConfStr", {TVar(2L)}), L"CONF2 PORT4");
  EXPECT_EQ(client_.Close(), 0);
  EXPECT_EQ(client_.Number(kLastResult), 0);
}

TEST_F(Connection, SecondClientIsRefusedAndCannotReachTheFirstClientsPort) {
  ASSERT_EQ(Open(), 0);
  TTallisClient second;
  ASSERT_EQ(second.Create(), S_OK);
  TEventRecorder* secondEvents = new TEventRecorder;
  EXPECT_EQ(second.OpenService(secondEvents), 1);
  EXPECT_EQ(second.Number(kLastResult), 1);
  std::wstring answer;
  EXPECT_EQ(second.EcrCmd(L"S", answer), kNoPort);
  EXPECT_EQ(second.CallLong(L"EcrConfVal", {TVar(1L)}), kNoPort);
  std::wstring data = L"x";
  EXPECT_EQ(second.DirectIO(1, 5, data), kNoPort);
  EXPECT_EQ(second.CallLong(L"EcrStatus", {TVar(1L)}), -1);
  EXPECT_EQ(second.Close(), 1);
  // The first connection is untouched.
  EXPECT_EQ(Run(L"S"), L"ECHO S");
  second.Reset();
  secondEvents->Release();
}

TEST_F(Connection, PortThatCannotOpenLeavesTheSlotFree) {
  EXPECT_EQ(Open(99), kNoPort);
  EXPECT_EQ(client_.Number(kLastResult), kNoPort);
  EXPECT_EQ(Open(98), 4) << "the translator's start-up result passes through";
  EXPECT_EQ(Open(2), 0);
}

TEST_F(Connection, ReleaseWithoutCloseFreesTheSlotForTheNextClient) {
  ASSERT_EQ(Open(), 0);
  client_.Reset();
  ASSERT_EQ(client_.Create(), S_OK);
  EXPECT_EQ(Open(), 0);
}

TEST_F(Connection, ClientKilledWithoutCloseDoesNotLockOthersOut) {
  const long exitCode = RunAndWait(L"\"" + ProgramBeside(L"tallis_vanishing_client.exe") + L"\"");
  ASSERT_EQ(exitCode, 3) << "the helper opens the port, then dies";
  EXPECT_EQ(Open(), 0);
  EXPECT_EQ(Run(L"S"), L"ECHO S");
}

TEST_F(Connection, CloseFromAnotherThreadWaitsForTheCallInsideTheLibrary) {
  ASSERT_EQ(Open(), 0);
  IStream* stream = nullptr;
  ASSERT_EQ(CoMarshalInterThreadInterfaceInStream(IID_IDispatch, client_.Object(), &stream), S_OK);
  std::atomic<bool> done = false;
  std::thread caller([stream, &done] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IDispatch* object = nullptr;
    CoGetInterfaceAndReleaseStream(stream, IID_IDispatch, reinterpret_cast<void**>(&object));
    TTallisClient other;
    other.Adopt(object);
    std::wstring text;
    other.DirectIO(5, 1500, text);  // the library waits 1.5 s
    other.Reset();
    CoUninitialize();
    done = true;
  });
  // Serving the server's calls meanwhile, as a client's window thread does.
  PumpFor(400);
  EXPECT_EQ(client_.Close(), kBusy);
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
  caller.join();
  EXPECT_EQ(client_.Close(), 0);
}

class MissingEventMethod : public TallisSession {
  std::vector<std::wstring> OmittedEvents() const override { return {L"SOProcessID"}; }
};
TEST_F(MissingEventMethod, RequiredMethodMissingIsRefused) {
  EXPECT_EQ(Open(), 1);
  std::wstring answer;
  EXPECT_EQ(client_.EcrCmd(L"S", answer), kNoPort);
}

class MissingStatusChange : public TallisSession {
  std::vector<std::wstring> OmittedEvents() const override { return {L"SOStatusChange"}; }
};
TEST_F(MissingStatusChange, OptionalMethodMayBeMissing) { EXPECT_EQ(Open(), 0); }

using Commands = TallisSession;

TEST_F(Commands, SynchronousLinesReturnTheTranslatorsResultAndText) {
  ASSERT_EQ(Open(), 0);
  EXPECT_EQ(Run(L"=K/S/1"), L"ECHO =K/S/1");
  std::wstring answer;
  EXPECT_EQ(client_.EcrCmd(L"FAIL 1028", answer), 1028);
  EXPECT_EQ(answer, L"ERROR 1028");
  EXPECT_EQ(client_.Number(kLastResult), 1028);
  EXPECT_EQ(client_.Number(kState), 1);
}

TEST_F(Commands, LineLongerThanTheCommandBufferIsRefused) {
  ASSERT_EQ(Open(), 0);
  std::wstring answer;
  const std::wstring longest(1023, L'A');
  EXPECT_EQ(client_.EcrCmd(longest, answer), 0);
  EXPECT_EQ(answer.substr(0, 10), L"ECHO AAAAA");
  EXPECT_EQ(client_.EcrCmd(longest + L"A", answer), kLineTooLong);
  EXPECT_EQ(answer, L"ERROR 1/18 : SINTAX ERROR 18 : SOURCE LINE TOO LONG");
  EXPECT_EQ(client_.Number(kLastResult), kLineTooLong);
  EXPECT_EQ(client_.Number(kState), 1) << "a refused line leaves the connection idle";
  EXPECT_EQ(Run(L"S"), L"ECHO S");
}

TEST_F(Commands, AsynchronousLineCompletesWithAnEventAndMeanwhileEverythingElseIsBusy) {
  ASSERT_EQ(Open(), 0);
  client_.SetNumber(kAsyncMode, 1);
  client_.SetNumber(kEventMask, 0x40);
  long stateInHandler = -1;
  long lastResultInHandler = -1;
  long nextCommandResult = -1;
  events_->On(L"SOCommandComplete", [&](DISPPARAMS& params) {
    if (EventArg(params, 2).Long() != 0) return;
    stateInHandler = client_.Number(kState);
    lastResultInHandler = client_.Number(kLastResult);
    std::wstring answer;
    nextCommandResult = client_.EcrCmd(L"FAIL 6", answer);
  });

  std::wstring answer;
  ASSERT_EQ(client_.EcrCmd(L"WAIT 400", answer), 0);
  EXPECT_EQ(answer, L"Comando in esecuzione");
  EXPECT_EQ(client_.Number(kState), 2);
  EXPECT_EQ(client_.EcrCmd(L"S", answer), kBusy);
  EXPECT_EQ(answer, L"Driver occupato");
  EXPECT_EQ(client_.CallLong(L"EcrConfVal", {TVar(1L)}), kBusy);
  EXPECT_EQ(client_.CallLong(L"EcrStatus", {TVar(1L)}), kBusy);
  std::wstring data = L"abc";
  EXPECT_EQ(client_.DirectIO(1, 0, data), kBusy);
  EXPECT_EQ(client_.Close(), kBusy);
  client_.SetNumber(kQuoteChar, '\'');
  EXPECT_EQ(client_.Number(kLastResult), kBusy);
  client_.Call(L"SetPropertyString", {TVar(1000002L), TVar(std::wstring(L"C:\\"))});
  EXPECT_EQ(client_.Number(kLastResult), kBusy) << "nor while its command runs";

  ASSERT_TRUE(WaitForCalls(L"SOCommandComplete", 2));
  const auto completions = events_->CallsOf(L"SOCommandComplete");
  EXPECT_EQ(completions[0].args[0].Long(), 0);
  EXPECT_EQ(completions[0].args[1].Text(), L"OK.");
  EXPECT_EQ(completions[0].args[2].Long(), 0);
  EXPECT_EQ(stateInHandler, 1) << "idle before the client hears of it";
  EXPECT_EQ(lastResultInHandler, 0);
  EXPECT_EQ(nextCommandResult, 0) << "the handler may send the next command";
  EXPECT_EQ(completions[1].args[1].Text(), L"ERROR 6");
  EXPECT_EQ(completions[1].args[2].Long(), 6);
  EXPECT_EQ(client_.Number(kLastResult), 6);
  EXPECT_EQ(events_->MaxDepth(), 1);
}

TEST_F(Commands, AsynchronousLineThatCannotBePostedFailsAndLeavesTheObjectIdle) {
  ASSERT_EQ(Open(97), 0);  // the fake's port whose window queue is full
  client_.SetNumber(kAsyncMode, 1);
  std::wstring answer;
  EXPECT_EQ(client_.EcrCmd(L"S", answer), 1);
  EXPECT_EQ(client_.Number(kLastResult), 1);
  EXPECT_EQ(client_.Number(kState), 1);
  EXPECT_EQ(client_.Close(), 0);
}

TEST_F(Commands, DirectIOGivesTheLibraryItsCapacityAndKeepsWhatFits) {
  ASSERT_EQ(Open(), 0);
  std::wstring data = L"abc";
  EXPECT_EQ(client_.DirectIO(1, 42, data), 42);
  EXPECT_EQ(data, L"cba");
  data = L"";
  EXPECT_EQ(client_.DirectIO(2, 0, data), 256);
  EXPECT_EQ(client_.DirectIO(4, 0, data), 1) << "an empty text still passes its NUL";
  data = L"x";
  EXPECT_EQ(client_.DirectIO(3, 0, data), 0);
  EXPECT_EQ(data, std::wstring(256, L'Z')) << "a library that overstates its output is clamped";
  data = std::wstring(256, L'q');
  EXPECT_EQ(client_.DirectIO(1, 0, data), kLineTooLong);
  EXPECT_EQ(data, std::wstring(256, L'q'));
}

using Properties = TallisSession;

TEST_F(Properties, NumbersOutsideTheirRangeAnswerMinusOne) {
  for (long index : {0L, 10L, 11L, 12L}) EXPECT_EQ(client_.Number(index), -1) << index;
  EXPECT_EQ(client_.Number(kVersion), 1005000);
  EXPECT_EQ(client_.Number(kState), 1);
  client_.SetNumber(kAsyncMode, 1);
  EXPECT_EQ(client_.Number(kAsyncMode), 1);
  ASSERT_EQ(Open(), 0);
  client_.SetNumber(kEventMask, 0x200);  // only bits up to 0x100 exist
  EXPECT_EQ(client_.Number(kEventMask), 0);
  client_.SetNumber(kEventMask, 0x44);
  EXPECT_EQ(client_.Number(kEventMask), 0x44);
  client_.SetNumber(kLastResult, 55);
  client_.SetNumber(12, 55);
  EXPECT_EQ(client_.Number(kLastResult), 0);
  client_.SetNumber(kQuoteChar, '\'');
  EXPECT_EQ(client_.Number(kQuoteChar), '\'');
}

TEST_F(Properties, TranslatorOptionsNeedTheConnection) {
  EXPECT_EQ(client_.Number(kQuoteChar), -1);
  EXPECT_EQ(client_.Number(kLastResult), kNoPort);
}

TEST_F(Properties, StringsAndTheCurrentDirectory) {
  EXPECT_EQ(client_.CallText(L"GetPropertyString", {TVar(1000001L)}),
            L"Velmora Tallis Service Object v.1.5.1");
  EXPECT_EQ(client_.CallText(L"GetPropertyString", {TVar(1000003L)}), L"Pidx_Error");
  const std::wstring before = client_.CallText(L"GetPropertyString", {TVar(1000002L)});
  ASSERT_FALSE(before.empty());
  client_.Call(L"SetPropertyString", {TVar(1000002L), TVar(std::wstring(L"C:\\windows"))});
  EXPECT_EQ(client_.Number(kLastResult), kNoPort) << "a client not connected moves no one's directory";
  EXPECT_EQ(client_.CallText(L"GetPropertyString", {TVar(1000002L)}), before);
  ASSERT_EQ(Open(), 0);
  client_.Call(L"SetPropertyString", {TVar(1000002L), TVar(std::wstring(300, L'd'))});
  EXPECT_EQ(client_.Number(kLastResult), 106);
  EXPECT_EQ(client_.CallText(L"GetPropertyString", {TVar(1000002L)}), before);
  client_.Call(L"SetPropertyString", {TVar(1000002L), TVar(std::wstring(L"C:\\windows"))});
  EXPECT_EQ(client_.Number(kLastResult), 0);
  EXPECT_EQ(_wcsicmp(client_.CallText(L"GetPropertyString", {TVar(1000002L)}).c_str(),
                     L"C:\\windows"), 0);
  client_.Call(L"SetPropertyString", {TVar(1000002L), TVar(std::wstring(L"C:\\no such dir"))});
  EXPECT_EQ(client_.Number(kLastResult), 106);
  client_.Call(L"SetPropertyString", {TVar(1000002L), TVar(before)});
}

TEST_F(Properties, StatusComesFromTheProtocolLibrary) {
  ASSERT_EQ(Open(), 0);
  EXPECT_EQ(client_.CallLong(L"EcrStatus", {TVar(1L)}), 0x41);
  EXPECT_EQ(client_.Number(kLastResult), 0);
  EXPECT_EQ(client_.CallLong(L"EcrStatus", {TVar(2L)}), -1);
  EXPECT_EQ(client_.Number(kLastResult), 77) << "the protocol library's last error";
  std::vector<TVar> args{TVar(1L), TVar::Ref(TVar(std::wstring(L"kept")))};
  TVar result;
  ASSERT_EQ(client_.Call(L"EcrStatusEx", args, &result), S_OK);
  EXPECT_EQ(result.Long(), -1);
  EXPECT_EQ(args[1].Text(), L"kept");
}

TEST_F(Properties, TypeLibraryNamesEveryMethod) {
  const wchar_t* names[] = {L"OpenService",       L"Close",         L"COFreezeEvents",
                            L"GetPropertyNumber", L"SetPropertyNumber", L"GetPropertyString",
                            L"SetPropertyString", L"DirectIO",      L"EcrStatus",
                            L"EcrStatusEx",       L"EcrCmd",        L"EcrConfVal",
                            L"EcrConfStr"};
  for (DISPID expected = 1; expected <= 13; ++expected) {
    LPOLESTR name = const_cast<LPOLESTR>(names[expected - 1]);
    DISPID id = 0;
    ASSERT_EQ(client_.Object()->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, expected);
  }
  TVar result;
  EXPECT_EQ(client_.Call(L"EcrConfVal", {}, &result), DISP_E_BADPARAMCOUNT);
}

// Runs last: it ends the suite's server.
using Shutdown = TallisSession;
TEST_F(Shutdown, ServerEndingWithAClientConnectedLetsTheClientGoFirst) {
  ASSERT_EQ(Open(), 0);
  Run(L"QUIT");
  EXPECT_EQ(ExitCodeOfRunning(kServerFile, 15000), 0) << "86: the session went before the client's object";
}

}  // namespace
}  // namespace tallis_test
