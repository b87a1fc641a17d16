// The product server running AutoRun against the simulator: a spooler
// process started with "/p 1" and a process started by hand in single-port
// mode, with real command files and the prefix's registry. A programming-table
// dump dropped as a command file programs a fresh register.
#include "startup/spooler_rig.h"

namespace {

using namespace spooler_test;

TEST_F(AutoRunEndToEnd, SpoolerRunsEveryDroppedFileInNameOrderAndDeletesEachAfterItsBatch) {
  constexpr int kFiles = 20;
  SettingValue spooler(HKEY_LOCAL_MACHINE, "EnableSpoolerAutoRun", "1");
  protocol_test::PortKey key(1, PortValues());
  {
    // The spooler creates its folder at start; the producer drops its files
    // before that here, into the same folder.
    ASSERT_TRUE(CreateDirectoryA(spool_.substr(0, spool_.size() - 3).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(spool_.c_str(), nullptr));
  }
  // Written in reverse: the order a folder lists them in must not matter.
  for (int n = kFiles; n >= 1; --n) WriteFile(spool_ + CommandName(n) + ".txt", "#4\r\n#4\r\n");
  ASSERT_TRUE(sim_->Ok("log 1 clear"));

  Ravelin server("/p 1");
  ASSERT_TRUE(server.Started());
  int ran = 0;
  std::string broken;
  const bool allRan = WaitFor([&] {
    // At every moment the files left are the last ones by name, and every
    // file gone has its errors file.
    // Looked at from the last name back: a sound spooler deleted every file
    // before one seen gone, so no earlier file can show up again.
    std::vector<bool> present(kFiles + 1);
    for (int n = kFiles; n >= 1; --n) present[n] = !Spooled(spool_ + CommandName(n) + ".txt");
    int firstLeft = kFiles + 1;
    for (int n = kFiles; n >= 1; --n)
      if (present[n]) firstLeft = n;
    for (int n = firstLeft; n <= kFiles && broken.empty(); ++n)
      if (!present[n]) broken = CommandName(n) + " ran before " + CommandName(firstLeft);
    for (int n = 1; n < firstLeft && broken.empty(); ++n)
      if (!Exists(spool_ + CommandName(n) + ".err")) broken = CommandName(n) + " deleted without an errors file";
    ran = firstLeft - 1;
    return ran == kFiles || !broken.empty();
  });
  ASSERT_TRUE(broken.empty()) << broken;
  ASSERT_TRUE(allRan) << ran << " of " << kFiles << " files ran";
  for (int n = 1; n <= kFiles; ++n) EXPECT_EQ(ReadFile(spool_ + CommandName(n) + ".err"), "") << CommandName(n);
  EXPECT_GE(FrameCount(), 2 * kFiles) << "every line reached the register";
  EXPECT_TRUE(server.Running());
  EXPECT_EQ(DialogsOf(server.Id()), 0);
}

TEST_F(AutoRunEndToEnd, FailingLineIsReportedInItsErrorsFileAndAPortThatWillNotOpenKeepsTheFile) {
  ASSERT_NO_FATAL_FAILURE(StartSpooler());

  // An empty file: how many frames opening the port costs.
  ASSERT_TRUE(sim_->Ok("log 1 clear"));
  WriteFile(spool_ + "cmd00.txt", "");
  ASSERT_TRUE(WaitFor([&] { return Spooled(spool_ + "cmd00.txt"); }));
  const int openFrames = FrameCount();
  // Slave mode goes on before the batch and off after it.
  const std::vector<std::string> frames = Frames();
  const auto on = std::find(frames.begin(), frames.end(), "4801");
  EXPECT_NE(on, frames.end());
  EXPECT_NE(std::find(on, frames.end(), "4800"), frames.end());

  // The register answers the second line's frame with a wrong letter. The
  // empty file cost the opening and two slave-mode lines of three frames each;
  // this one's second line comes after the opening, one slave-mode line and
  // the first line.
  constexpr int kSlaveModeFrames = 3;  // status, slave-mode query, 'H' 1 or 'H' 0
  ASSERT_TRUE(sim_->Ok("fault 1 letter Z after " + std::to_string(openFrames - kSlaveModeFrames + 1)));
  WriteFile(spool_ + "cmd01.txt", "#4\r\n#4\r\n#4\r\n");
  ASSERT_TRUE(WaitFor([&] { return Spooled(spool_ + "cmd01.txt"); }));
  const std::string errors = ReadFile(spool_ + "cmd01.err");
  EXPECT_NE(errors.find("in line 2 "), std::string::npos) << errors;
  EXPECT_EQ(errors.find("in line 1 "), std::string::npos) << errors;
  EXPECT_EQ(errors.find("in line 3 "), std::string::npos) << errors;
}

TEST_F(AutoRunEndToEnd, FileWhosePortWillNotOpenStaysAndRunsOnceThePortOpens) {
  SettingValue spooler(HKEY_LOCAL_MACHINE, "EnableSpoolerAutoRun", "1");
  std::optional<protocol_test::PortKey> key;
  // Nothing listens on that port.
  key.emplace(1, [&] {
    auto unreachable = protocol_test::EthernetPortValues(1);
    unreachable["AutoRun CommandFile"] = spool_ + "cmd*.txt";
    return unreachable;
  }());
  Ravelin server("/p 1");
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(WaitFor([&] { return Exists(spool_); }, 20000));
  WriteFile(spool_ + "cmd02.txt", "#4\r\n");
  ASSERT_TRUE(WaitFor([&] { return ReadFile(spool_ + "cmd02.err") == kPortNotOpened; }));
  EXPECT_TRUE(Exists(spool_ + "cmd02.txt"));
  EXPECT_EQ(DialogsOf(server.Id()), 0);
  key.reset();
  key.emplace(1, PortValues());
  ASSERT_TRUE(WaitFor([&] { return Spooled(spool_ + "cmd02.txt"); }));
  EXPECT_EQ(ReadFile(spool_ + "cmd02.err"), "");
}

TEST_F(AutoRunEndToEnd, ProgrammingTablesDumpDroppedAsACommandFileProgramsAFreshRegister) {
  ASSERT_NO_FATAL_FAILURE(StartSpooler());
  ASSERT_NO_FATAL_FAILURE(FreshSampleTablesRegister());
  std::string programming;
  for (const char* line : quadrel_test::kSampleTableLines) programming += line + std::string("\r\n");
  ASSERT_EQ(RunCommandFile("cmd01", programming + DumpLines("first.dmp")), "");
  const std::string dump = ReadFile(spool_ + "first.dmp");

  ASSERT_NO_FATAL_FAILURE(FreshSampleTablesRegister());
  ASSERT_EQ(RunCommandFile("cmd02", DumpLines("fresh.dmp")), "");
  EXPECT_NE(ReadFile(spool_ + "fresh.dmp"), dump) << "the register is not fresh";
  EXPECT_EQ(RunCommandFile("cmd03", dump), "");
  ASSERT_EQ(RunCommandFile("cmd04", DumpLines("second.dmp")), "");
  EXPECT_EQ(ReadFile(spool_ + "second.dmp"), dump);
}

TEST_F(AutoRunEndToEnd, SpoolFolderWithAnApostropheACommaAndASemicolonRunsItsFiles) {
  spool_ = Parent() + "Dell'Acqua, n;1\\";
  ASSERT_NO_FATAL_FAILURE(StartSpooler());
  WriteFile(spool_ + "cmd01.txt", "#4\r\n");
  ASSERT_TRUE(WaitFor([&] { return Spooled(spool_ + "cmd01.txt"); }));
  EXPECT_EQ(ReadFile(spool_ + "cmd01.err"), "");
}

TEST_F(AutoRunEndToEnd, FileWhoseErrorsFileCannotBeWrittenIsNotRunAgainAndKeepsItsResults) {
  ASSERT_NO_FATAL_FAILURE(StartSpooler());
  // The producer still reads the errors file of its previous drop, sharing nothing.
  WriteFile(spool_ + "cmd01.err", "previous");
  HANDLE reader = CreateFileA((spool_ + "cmd01.err").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  WriteFile(spool_ + "cmd01.txt", "#4\r\n");
  const bool gone = WaitFor([&] { return Spooled(spool_ + "cmd01.txt"); });
  CloseHandle(reader);
  ASSERT_TRUE(gone);
  EXPECT_FALSE(Exists(spool_ + "cmd01.txt.notrun")) << "its line ran";
  EXPECT_TRUE(Exists(spool_ + "cmd01.err.notwritten")) << "the results are kept";
}

TEST_F(AutoRunEndToEnd, SpoolerProcessWithAnUnknownPortLogsInsteadOfShowingABox) {
  SettingValue spooler(HKEY_LOCAL_MACHINE, "EnableSpoolerAutoRun", "1");
  // Only the pattern: the port has no type, which a window would report in a box.
  protocol_test::PortKey key(7, {{"AutoRun CommandFile", spool_ + "cmd*.txt"}});
  Ravelin server("/p 7");
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(WaitFor([&] { return Exists(spool_); }, 20000));
  WriteFile(spool_ + "cmd01.txt", "#4\r\n");
  ASSERT_TRUE(WaitFor([&] { return ReadFile(spool_ + "cmd01.err") == kPortNotOpened; }));
  Sleep(2500);  // a box takes about 2 s to appear under Wine
  EXPECT_EQ(DialogsOf(server.Id()), 0);
  EXPECT_TRUE(Exists(spool_ + "cmd01.txt"));
}

TEST_F(AutoRunEndToEnd, HandStartedProcessRunsTheUsersFileAndLeavesThePortsSpoolAlone) {
  SettingValue spooler(HKEY_LOCAL_MACHINE, "EnableSpoolerAutoRun", "1");
  protocol_test::PortKey key(1, PortValues());
  ASSERT_TRUE(CreateDirectoryA(spool_.substr(0, spool_.size() - 3).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(spool_.c_str(), nullptr));
  WriteFile(spool_ + "cmd01.txt", "#4\r\n");
  const std::string single = spool_ + "single.dat";
  const std::string errors = spool_ + "single.log";
  WriteFile(single, "#4\r\nNOSUCHINSTRUCTION\r\n");
  SettingValue port(HKEY_CURRENT_USER, "AutoRun", "1");
  SettingValue commandFile(HKEY_CURRENT_USER, "AutoRun CommandFile", single);
  SettingValue errorsFile(HKEY_CURRENT_USER, "AutoRun ErrorsFile", errors);

  Ravelin server("");
  ASSERT_TRUE(server.Started());
  ASSERT_TRUE(WaitFor([&] { return Spooled(single); }));
  EXPECT_NE(ReadFile(errors).find("in line 2 "), std::string::npos) << ReadFile(errors);
  // The group shows the last answer.
  HWND form = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    form = FindWindowA(ravelin::kMainFormClass, nullptr);
    HWND group = form ? GetDlgItem(form, ravelin::idAutoRunGroup) : nullptr;
    // The window itself stays hidden; the group is shown in it.
    return group && (GetWindowLongA(group, GWL_STYLE) & WS_VISIBLE) != 0;
  }, 10000));
  Sleep(1000);
  EXPECT_TRUE(Exists(spool_ + "cmd01.txt")) << "spooler mode needs \"/p\"";
  EXPECT_FALSE(Exists(spool_ + "cmd01.err"));
}

}  // namespace
