// The spooler where files could run twice or never: two spoolers on one
// port, a spooler killed mid-file, a name outside the ANSI code page, an
// errors file that cannot be written. Against Ravelin.exe and the simulator.
#include <string>

#include "startup/spooler_rig.h"

namespace {

using namespace spooler_test;

class SpoolerFaults : public AutoRunEndToEnd {
 protected:
  // How often the register printed `text` as a line of its own.
  int TimesPrinted(const std::string& text) {
    std::istringstream printed(sim_->Run("print 1"));
    int times = 0;
    for (std::string line; std::getline(printed, line);) times += line.find(text) != std::string::npos;
    return times;
  }
  static std::string PrintLine(const std::string& text) { return "STAMPA TESTO='" + text + "'\r\n"; }
};

TEST_F(SpoolerFaults, TwoSpoolersOnOnePortRunEachFileOnce) {
  constexpr int kFiles = 9;
  ASSERT_TRUE(CreateDirectoryA(Parent().c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(spool_.c_str(), nullptr));
  for (int n = 1; n <= kFiles; ++n) WriteFile(spool_ + CommandName(n) + ".txt", PrintLine(CommandName(n)));
  ASSERT_TRUE(sim_->Ok("print 1 clear"));
  SettingValue enabled(HKEY_LOCAL_MACHINE, "EnableSpoolerAutoRun", "1");
  protocol_test::PortKey key(1, PortValues());
  Ravelin first("/p 1");
  Ravelin second("/p 1");
  ASSERT_TRUE(WaitFor([&] {
    for (int n = 1; n <= kFiles; ++n)
      if (!Spooled(spool_ + CommandName(n) + ".txt")) return false;
    return true;
  }));
  Sleep(1000);  // a second run of the last file would print by now
  for (int n = 1; n <= kFiles; ++n) EXPECT_EQ(TimesPrinted(CommandName(n)), 1) << CommandName(n);
  EXPECT_TRUE(first.Running() && second.Running());
}

TEST_F(SpoolerFaults, FileOfASpoolerKilledMidFileDoesNotRunAgainAfterARestart) {
  ASSERT_NO_FATAL_FAILURE(StartSpooler());
  ASSERT_TRUE(sim_->Ok("print 1 clear"));
  // Every frame 300 ms late: the kill comes between the two lines.
  for (int n = 0; n < 60; ++n) ASSERT_TRUE(sim_->Ok("fault 1 delay 300"));
  WriteFile(spool_ + "cmd01.txt", PrintLine("FIRST") + PrintLine("SECOND"));
  ASSERT_TRUE(WaitFor([&] { return TimesPrinted("FIRST") == 1; }));
  spooler_->server.Kill();
  ASSERT_TRUE(sim_->Ok("fault 1 clear"));

  Ravelin restarted("/p 1");
  ASSERT_EQ(RunCommandFile("cmd02", PrintLine("AFTER")), "");
  EXPECT_EQ(TimesPrinted("FIRST"), 1);
  EXPECT_EQ(TimesPrinted("AFTER"), 1);
}

TEST_F(SpoolerFaults, FileNamedOutsideTheAnsiCodePageIsSetAsideAndLaterFilesRun) {
  ASSERT_NO_FATAL_FAILURE(StartSpooler());
  const std::wstring folder(spool_.begin(), spool_.end());  // ASCII
  const std::wstring name = folder + L"cmd01_\u0141\u00f3d\u017a.txt";
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), -1, nullptr, 0, nullptr, &lossy);
  ASSERT_TRUE(lossy) << "the code page of the prefix has every character of the name";
  HANDLE file =
      CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);

  WriteFile(spool_ + "cmd02.txt", "#4\r\n");
  ASSERT_TRUE(WaitFor([&] { return Spooled(spool_ + "cmd02.txt"); }, 20000)) << "the later file stalls";
  EXPECT_NE(GetFileAttributesW((name + L".notrun").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SpoolerFaults, ReadOnlyErrorsFileKeepsThisRunsResultsAsideAndNoStaleErrorsPassAsNew) {
  ASSERT_NO_FATAL_FAILURE(StartSpooler());
  const std::string errors = spool_ + "cmd01.err";
  WriteFile(errors, "previous");
  SetFileAttributesA(errors.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::string first = RunCommandFile("cmd01", "#4\r\nNOSUCHINSTRUCTION\r\n");
  EXPECT_NE(first, "previous");
  EXPECT_NE(ReadFile(errors + ".notwritten").find("in line 2 "), std::string::npos);
  EXPECT_EQ(ReadFile(errors + ".stale"), "previous");

  // The next drop of the name writes its errors file and keeps the earlier results.
  EXPECT_EQ(RunCommandFile("cmd01", "#4\r\n"), "");
  EXPECT_NE(ReadFile(errors + ".notwritten").find("in line 2 "), std::string::npos);
}

}  // namespace
