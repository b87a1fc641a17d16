// A session with a server of the build: the test build (RavelinFake.exe, the
// automation object over a fake port) or the product (Ravelin.exe, over the
// driver window to the simulator), as the test program is built for.
// Each suite registers the server and
// keeps one idle object alive so the server stays up between tests; at the
// end of the suite the server must end by itself once that object goes.
#pragma once

#include <gtest/gtest.h>

#include "com/server_process.h"
#include "com/tallis_client.h"

namespace tallis_test {

inline constexpr wchar_t kServerFile[] = TALLIS_SERVER_FILE;

inline std::wstring ServerCommand(const wchar_t* switches) {
  return L"\"" + ProgramBeside(kServerFile) + L"\" " + switches;
}

// Indexes and masks as clients write them.
enum : long {
  kEventMask = 1,
  kVersion = 2,
  kQuoteChar = 4,
  kAsyncMode = 7,
  kState = 8,
  kLastResult = 9,
  kLogicalPort = 10,
};

class TallisSession : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_EQ(RunAndWait(ServerCommand(L"/RegServer")), 0);
    keeper_ = new TTallisClient;
    ASSERT_EQ(keeper_->Create(), S_OK);
  }
  static void TearDownTestSuite() {
    delete keeper_;
    keeper_ = nullptr;
    // Started by COM: the server ends after its last object is released.
    const DWORD start = GetTickCount();
    while (ProcessRunning(kServerFile) && GetTickCount() - start < 15000) Sleep(100);
    EXPECT_FALSE(ProcessRunning(kServerFile)) << "the server outlived its last object";
  }

  void SetUp() override {
    events_ = new TEventRecorder(OmittedEvents());
    ASSERT_EQ(client_.Create(), S_OK);
  }
  void TearDown() override {
    client_.Close();
    client_.Reset();
    events_->Release();
  }
  virtual std::vector<std::wstring> OmittedEvents() const { return {}; }
  virtual long DefaultPort() const { return 1; }

  long Open() { return Open(DefaultPort()); }
  long Open(long port) {
    client_.SetNumber(kLogicalPort, port);
    return client_.OpenService(events_);
  }
  // A command line that must succeed.
  std::wstring Run(const std::wstring& line) {
    std::wstring answer;
    EXPECT_EQ(client_.EcrCmd(line, answer), 0) << "command " << std::string(line.begin(), line.end());
    return answer;
  }
  long Freeze(bool frozen) { return client_.CallLong(L"COFreezeEvents", {TVar::Bool(frozen)}); }
  bool WaitForCalls(const wchar_t* name, std::size_t count) {
    return PumpUntil([&] { return events_->CallsOf(name).size() >= count; });
  }

  TTallisClient client_;
  TEventRecorder* events_ = nullptr;
  static inline TTallisClient* keeper_ = nullptr;
};

}  // namespace tallis_test
