// Spooler mode: every file of the port's pattern runs as a batch, in name
// order, and is deleted once its batch ran; files still being written, a
// connected client and a port that does not open leave the files for later;
// a batch that cannot start sets its file aside.
#include "autorun/autorun_spooler.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "autorun/autorun_fakes.h"
#include "interfaces/registry.h"
#include "port/port_settings.h"
#include "translator_gate.h"

using namespace ravelin;
using namespace autorun_test;
using platform::SettingsRoot;

namespace {

class SpoolerMode : public ::testing::Test {
 protected:
  SpoolerMode() : folder_(scratch_.Path() + "Spool\\3\\") {
    settings_.Set(SettingsRoot::LocalMachine, registry::kDriverKey, registry::kEnableSpoolerAutoRun, "1");
    settings_.Set(SettingsRoot::LocalMachine, std::string(registry::kPortsKeyPrefix) + "3", registry::kAutoRunCommandFile,
                  folder_ + "sco*.dat");
  }

  // The first tick reads the settings and creates the folder.
  TAutoRunSpooler& Started(TAutoRunStart start = {"3", true}) {
    spooler_ = std::make_unique<TAutoRunSpooler>(port_, start, settings_.Reader(), clock_.Waits());
    spooler_->Tick();
    return *spooler_;
  }
  void Drop(const std::string& name) { WriteTextFile(folder_ + name, "#1\r\n"); }
  std::string Path(const std::string& name) const { return folder_ + name; }
  // The batch runs the file under its running name.
  std::string LineFor(const std::string& stem) const {
    return BatchLineOf(folder_ + stem + ".dat" + kRunningSuffix, folder_ + stem + ".err");
  }

  ScratchFolder scratch_;
  const std::string folder_;
  FakePort port_;
  FakeSettings settings_;
  FakeClock clock_;
  std::unique_ptr<TAutoRunSpooler> spooler_;
};

TEST_F(SpoolerMode, PatternFilesRunInNameOrderEachBetweenAnOpenAndACloseOfThePort) {
  TAutoRunSpooler& spooler = Started();
  ASSERT_TRUE(FileExists(folder_)) << "the errors folder is made with its parents";
  EXPECT_TRUE(spooler.Active());
  EXPECT_TRUE(spooler.SpoolerMode());
  EXPECT_FALSE(port_.groupVisible) << "the group belongs to single-port mode";

  Drop("sco2.dat");
  Drop("sco1.dat");
  Drop("other.dat");
  Drop("sco3.txt");
  spooler.Tick();

  const std::vector<std::string> expected = {"open 3", LineFor("sco1"), "close",
                                             "open 3", LineFor("sco2"), "close"};
  EXPECT_EQ(port_.calls, expected);
  EXPECT_FALSE(FileExists(Path("sco1.dat")));
  EXPECT_FALSE(FileExists(Path("sco2.dat")));
  EXPECT_TRUE(FileExists(Path("sco1.err")));
  EXPECT_TRUE(FileExists(Path("other.dat")));
  EXPECT_TRUE(FileExists(Path("sco3.txt")));
  EXPECT_FALSE(port_.autoRunRunning);
  EXPECT_EQ(port_.answers, (std::vector<std::string>{"OK.", "OK."}));
  EXPECT_EQ(spooler.ErrorsFile(), Path("sco2.err"));
  EXPECT_TRUE(port_.faults.empty()) << port_.faults.front();
}

TEST_F(SpoolerMode, FileWaitsWhileAClientCommandHoldsTheTranslator) {
  TAutoRunSpooler& spooler = Started();
  Drop("sco1.dat");
  {
    TTranslatorGate clientCommand;
    spooler.Tick();
    EXPECT_TRUE(port_.calls.empty()) << "the port was touched in the middle of a client's command";
    EXPECT_FALSE(port_.autoRunRunning);
  }
  spooler.Tick();
  EXPECT_EQ(port_.calls, (std::vector<std::string>{"open 3", LineFor("sco1"), "close"}));
  EXPECT_FALSE(TTranslatorGate::Held()) << "the spooler lets the gate go after its file";
}

TEST_F(SpoolerMode, TwoHundredFilesDroppedAtOnceAllRunInNameOrderEachDeletedAfterItsBatch) {
  TAutoRunSpooler& spooler = Started();
  std::vector<std::string> stems;
  for (int n = 0; n < 200; ++n)
    stems.push_back("sco" + std::string(n < 10 ? "00" : n < 100 ? "0" : "") + std::to_string(n));
  std::vector<std::string> dropOrder = stems;
  std::shuffle(dropOrder.begin(), dropOrder.end(), std::mt19937(14));
  for (const std::string& stem : dropOrder) Drop(stem + ".dat");

  // While a batch runs, its own file is there and every earlier one is gone.
  std::size_t batches = 0;
  port_.duringBatch = [&](const std::string& commandFile) {
    ASSERT_LT(batches, stems.size());
    EXPECT_EQ(commandFile, Path(stems[batches] + ".dat") + kRunningSuffix);
    if (batches > 0) {
      EXPECT_FALSE(FileExists(Path(stems[batches - 1] + ".dat")));
    }
    ++batches;
  };
  spooler.Tick();

  ASSERT_EQ(port_.batchLines.size(), stems.size());
  for (std::size_t i = 0; i < stems.size(); ++i) {
    EXPECT_EQ(port_.batchLines[i], LineFor(stems[i]));
    EXPECT_FALSE(FileExists(Path(stems[i] + ".dat")));
    EXPECT_TRUE(FileExists(Path(stems[i] + ".err")));
  }
  EXPECT_TRUE(port_.faults.empty()) << port_.faults.front();
}

TEST_F(SpoolerMode, FileStillHeldByItsProducerIsNotTakenAndLaterFilesWaitForIt) {
  TAutoRunSpooler& spooler = Started();
  Drop("sco1.dat");
  Drop("sco2.dat");
  Drop("sco3.dat");
  // A producer still writing, sharing reads as most writers do.
  HANDLE producer = CreateFileA(Path("sco2.dat").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(producer, INVALID_HANDLE_VALUE);
  spooler.Tick();
  spooler.Tick();
  EXPECT_EQ(port_.batchLines, std::vector<std::string>{LineFor("sco1")});
  EXPECT_TRUE(FileExists(Path("sco2.dat")));
  EXPECT_FALSE(port_.autoRunRunning) << "a file not taken leaves clients free";

  CloseHandle(producer);
  spooler.Tick();
  EXPECT_EQ(port_.batchLines, (std::vector<std::string>{LineFor("sco1"), LineFor("sco2"), LineFor("sco3")}));
}

TEST_F(SpoolerMode, ConnectedClientMakesFilesWaitAndOneConnectingStopsTheScanBetweenFiles) {
  TAutoRunSpooler& spooler = Started();
  Drop("sco1.dat");
  Drop("sco2.dat");
  Drop("sco3.dat");
  port_.clientConnected = true;
  spooler.Tick();
  EXPECT_TRUE(port_.calls.empty());

  port_.clientConnected = false;
  // The client's call arrives while the window handles messages after a file.
  port_.duringBatch = [&](const std::string&) {
    port_.onProcessMessages = [&] { port_.clientConnected = true; };
  };
  spooler.Tick();
  EXPECT_EQ(port_.batchLines, std::vector<std::string>{LineFor("sco1")});
  EXPECT_TRUE(FileExists(Path("sco2.dat")));

  port_.duringBatch = nullptr;
  port_.onProcessMessages = nullptr;
  port_.clientConnected = false;
  spooler.Tick();
  EXPECT_EQ(port_.batchLines.size(), 3u);
}

TEST_F(SpoolerMode, PortThatDoesNotOpenGetsTheErrorsTextAndTheSameFileFirstAfterASecond) {
  TAutoRunSpooler& spooler = Started();
  Drop("sco5.dat");
  Drop("sco6.dat");
  // First a TradInit that fails with the port half open, then no port at all.
  port_.openResults = {7, 20};
  spooler.Tick();
  EXPECT_EQ(port_.calls, (std::vector<std::string>{"open 3", "close"}));
  EXPECT_EQ(ReadTextFile(Path("sco5.err")), "I/O Errror <Verificare Collegamento>");
  EXPECT_EQ(sizeof kPortNotOpenedErrorsText - 1, 36u);
  EXPECT_TRUE(port_.autoRunRunning) << "clients stay out while the file waits for its retry";
  EXPECT_TRUE(FileExists(Path("sco5.dat")));

  // The window stays free between tries: ticks before the second do nothing.
  clock_.now += kRetryDelayMs - 1;
  spooler.Tick();
  EXPECT_EQ(port_.opensTried, 1);

  // A file of an earlier name dropped meanwhile does not jump the queue.
  Drop("sco1.dat");
  clock_.now += 1;
  spooler.Tick();
  EXPECT_EQ(port_.opensTried, 2);
  EXPECT_TRUE(port_.batchLines.empty());

  clock_.now += kRetryDelayMs;
  spooler.Tick();
  const std::vector<std::string> expected = {LineFor("sco5"), LineFor("sco1"), LineFor("sco6")};
  EXPECT_EQ(port_.batchLines, expected);
  EXPECT_FALSE(port_.autoRunRunning);
  EXPECT_EQ(ReadTextFile(Path("sco5.err")), "errors of " + Path("sco5.dat") + kRunningSuffix + "\r\n");
  EXPECT_TRUE(port_.faults.empty()) << port_.faults.front();
}

TEST_F(SpoolerMode, BatchThatCannotStartIsSetAsideWithItsReasonAndLaterFilesRun) {
  TAutoRunSpooler& spooler = Started();
  Drop("sco1.dat");
  Drop("sco2.dat");
  port_.options[TTranslatorOption::SeparatorChar] = ';';  // left behind by a client
  port_.batchResults = {11};
  spooler.Tick();
  EXPECT_EQ(port_.batchLines, (std::vector<std::string>{LineFor("sco1"), LineFor("sco2")}));
  EXPECT_EQ(ReadTextFile(Path("sco1.dat") + kNotRunSuffix), "#1\r\n") << "never deleted unrun";
  EXPECT_EQ(ReadTextFile(Path("sco1.err")), "FILE OPEN ERROR");
  ASSERT_EQ(port_.log.size(), 1u);
  EXPECT_NE(port_.log[0].find(Path("sco1.dat") + kNotRunSuffix), std::string::npos) << port_.log[0];
  EXPECT_EQ(ReadTextFile(Path("sco2.err")), "errors of " + Path("sco2.dat") + kRunningSuffix + "\r\n");
  EXPECT_EQ(port_.options[TTranslatorOption::SeparatorChar], ';') << "the client's separator is given back";
  EXPECT_FALSE(port_.autoRunRunning);

  clock_.now += kRetryDelayMs;
  spooler.Tick();
  EXPECT_EQ(port_.batchLines.size(), 2u) << "a file set aside is not taken again";

  // The same name set aside again keeps the first one.
  WriteTextFile(Path("sco1.dat"), "#2\r\n");
  port_.batchResults = {11};
  spooler.Tick();
  EXPECT_EQ(ReadTextFile(Path("sco1.dat") + kNotRunSuffix), "#1\r\n");
  EXPECT_EQ(ReadTextFile(Path("sco1.dat.2") + kNotRunSuffix), "#2\r\n");
  EXPECT_TRUE(port_.faults.empty()) << port_.faults.front();
}

TEST_F(SpoolerMode, FileThatRanButCannotBeDeletedStaysUnderItsRunningNameAndAutoRunGoesOn) {
  const std::string running = Path("sco1.dat") + kRunningSuffix;
  HANDLE holder = INVALID_HANDLE_VALUE;
  // Held by someone sharing nothing while its batch runs, or made read-only.
  const std::vector<std::function<void()>> hinder = {
      [&] { holder = CreateFileA(running.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); },
      [&] { SetFileAttributesA(running.c_str(), FILE_ATTRIBUTE_READONLY); }};
  TAutoRunSpooler& spooler = Started();
  for (const auto& during : hinder) {
    port_ = {};
    Drop("sco1.dat");
    Drop("sco2.dat");
    port_.duringBatch = [&](const std::string& file) {
      if (file == running) during();
    };
    spooler.Tick();
    EXPECT_TRUE(spooler.Active());
    EXPECT_TRUE(FileExists(running));
    ASSERT_FALSE(port_.log.empty());
    EXPECT_NE(port_.log[0].find("could not be deleted"), std::string::npos) << port_.log[0];
    clock_.now += kRetryDelayMs;
    spooler.Tick();
    EXPECT_EQ(port_.batchLines, (std::vector<std::string>{LineFor("sco1"), LineFor("sco2")}));
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    holder = INVALID_HANDLE_VALUE;
    SetFileAttributesA(running.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(running.c_str());
  }
}

TEST_F(SpoolerMode, FileRemovedByOthersDuringTheDeleteAttemptsDoesNotStopAutoRun) {
  TAutoRunSpooler& spooler = Started();
  Drop("sco1.dat");
  Drop("sco2.dat");
  HANDLE holder = INVALID_HANDLE_VALUE;
  port_.duringBatch = [&](const std::string& commandFile) {
    if (holder != INVALID_HANDLE_VALUE) return;
    holder = CreateFileA(commandFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    port_.onProcessMessages = [&] {
      if (clock_.pauses.size() < 2) return;
      CloseHandle(holder);
      DeleteFileA((Path("sco1.dat") + kRunningSuffix).c_str());
      port_.onProcessMessages = nullptr;
    };
  };
  spooler.Tick();
  EXPECT_TRUE(spooler.Active());
  EXPECT_EQ(clock_.pauses.size(), 3u) << "the attempts end once the file is gone";
  EXPECT_EQ(port_.batchLines, (std::vector<std::string>{LineFor("sco1"), LineFor("sco2")}));
}

TEST_F(SpoolerMode, ErrorsFilesBesideTheCommandFilesAreNotRunAsCommands) {
  settings_.Set(SettingsRoot::LocalMachine, std::string(registry::kPortsKeyPrefix) + "3", registry::kAutoRunCommandFile,
                folder_ + "sco*");
  TAutoRunSpooler& spooler = Started();
  Drop("sco1.dat");
  WriteTextFile(Path("sco0.err"), "an earlier file's errors\r\n");
  WriteTextFile(Path("sco0.err.tmp"), "left by a run that broke off\r\n");
  WriteTextFile(Path("sco0.dat") + kNotRunSuffix, "set aside\r\n");
  WriteTextFile(Path("sco0.dat") + kRunningSuffix, "left by a spooler killed mid-file\r\n");
  WriteTextFile(Path("sco0.err") + kNotWrittenSuffix, "results kept aside\r\n");
  spooler.Tick();
  EXPECT_EQ(port_.batchLines, std::vector<std::string>{LineFor("sco1")});
  EXPECT_TRUE(FileExists(Path("sco0.err")));
}

TEST_F(SpoolerMode, OnlyAProcessStartedWithPSpoolsThePattern) {
  settings_.Set(SettingsRoot::CurrentUser, registry::kDriverKey, registry::kAutoRun, "0");
  TAutoRunSpooler& spooler = Started({"1", false});
  EXPECT_FALSE(spooler.SpoolerMode());
  EXPECT_FALSE(spooler.Active());
  Drop("sco1.dat");
  spooler.Tick();
  EXPECT_TRUE(port_.calls.empty());
}

TEST_F(SpoolerMode, SwitchedOffOnTheMachineTheProcessFallsBackToTheUsersSinglePort) {
  settings_.Set(SettingsRoot::LocalMachine, registry::kDriverKey, registry::kEnableSpoolerAutoRun, "0");
  settings_.Set(SettingsRoot::CurrentUser, registry::kDriverKey, registry::kAutoRun, "4");
  settings_.Set(SettingsRoot::CurrentUser, registry::kDriverKey, registry::kAutoRunCommandFile,
                folder_ + "user.dat");
  settings_.Set(SettingsRoot::CurrentUser, registry::kDriverKey, registry::kAutoRunErrorsFile, folder_ + "user.log");
  TAutoRunSpooler& spooler = Started();
  EXPECT_FALSE(spooler.SpoolerMode());
  EXPECT_TRUE(port_.groupVisible);
  CreateDirectoryA((scratch_.Path() + "Spool").c_str(), nullptr);
  CreateDirectoryA(folder_.c_str(), nullptr);
  Drop("sco1.dat");
  Drop("user.dat");
  spooler.Tick();
  EXPECT_EQ(port_.calls,
            (std::vector<std::string>{"open 4", BatchLineOf(Path("user.dat") + kRunningSuffix, Path("user.log")), "close"}));
}

TEST_F(SpoolerMode, TickThatArrivesWhileAFileRunsDoesNothing) {
  TAutoRunSpooler& spooler = Started();
  Drop("sco1.dat");
  Drop("sco2.dat");
  port_.duringBatch = [&](const std::string&) { spooler.Tick(); };
  spooler.Tick();
  EXPECT_EQ(port_.batchLines, (std::vector<std::string>{LineFor("sco1"), LineFor("sco2")}));
  EXPECT_TRUE(port_.faults.empty()) << port_.faults.front();
}

TEST_F(SpoolerMode, FailedAllocationDuringABatchEndsTheStepAndTheNextFileRuns) {
  TAutoRunSpooler& spooler = Started();
  Drop("sco1.dat");
  Drop("sco2.dat");
  port_.duringBatch = [&](const std::string&) {
    port_.duringBatch = nullptr;
    throw std::bad_alloc();
  };
  spooler.Tick();
  EXPECT_FALSE(port_.autoRunRunning);
  EXPECT_FALSE(port_.portOpen);
  ASSERT_EQ(port_.log.size(), 1u);
  spooler.Tick();
  EXPECT_EQ(port_.batchLines, (std::vector<std::string>{LineFor("sco1"), LineFor("sco2")}));
  EXPECT_TRUE(port_.faults.empty()) << port_.faults.front();
}

}  // namespace
