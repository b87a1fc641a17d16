// AutoRun's plain parts: port texts, the spooler pattern and its folder, the
// log view, and the notifier that replaces message boxes in a "/p" process.
#include "autorun/autorun_settings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "autorun/autorun_fakes.h"
#include "autorun/autorun_log_view.h"
#include "autorun/autorun_spooler.h"
#include "autorun/log_notifier.h"

using namespace ravelin;
using namespace autorun_test;

namespace {

TEST(AutoRunPortNumber, DecimalPortsWithBlanksAroundThem) {
  EXPECT_EQ(AutoRunPortNumber("3"), 3);
  EXPECT_EQ(AutoRunPortNumber(" 12\t"), 12);
  EXPECT_EQ(AutoRunPortNumber("007"), 7);
  EXPECT_EQ(AutoRunPortNumber("1000"), 1000);
}

TEST(AutoRunPortNumber, OffTextsAndTextsThatNameNoPort) {
  for (const char* text : {"0", "00", "", "  ", "-1", "3a", "1 2", "99999999999", "+4"}) {
    EXPECT_EQ(AutoRunPortNumber(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(SplitCommandPattern, FolderKeepsItsDriveAndEndingSeparator) {
  const TCommandPattern full = SplitCommandPattern("C:\\Spool\\3\\sco*.dat");
  EXPECT_EQ(full.folder, "C:\\Spool\\3\\");
  EXPECT_EQ(full.mask, "sco*.dat");
  const TCommandPattern bare = SplitCommandPattern("sco*.dat");
  EXPECT_EQ(bare.folder, "");
  EXPECT_EQ(bare.mask, "sco*.dat");
  const TCommandPattern drive = SplitCommandPattern("D:sco?.dat");
  EXPECT_EQ(drive.folder, "D:");
  EXPECT_EQ(drive.mask, "sco?.dat");
  const TCommandPattern share = SplitCommandPattern("\\\\host\\spool\\in/sco*.dat");
  EXPECT_EQ(share.folder, "\\\\host\\spool\\in/");
  EXPECT_EQ(share.mask, "sco*.dat");
  EXPECT_EQ(SplitCommandPattern("").folder, "");
}

TEST(CreateFolderWithParents, MakesEveryMissingFolderAndKeepsExistingOnes) {
  ScratchFolder scratch;
  const std::string deep = scratch.Path() + "a\\b/c\\";
  ASSERT_TRUE(CreateFolderWithParents(deep));
  EXPECT_TRUE(FileExists(scratch.Path() + "a\\b\\c"));
  WriteTextFile(deep + "kept.dat", "x");
  EXPECT_TRUE(CreateFolderWithParents(scratch.Path() + "a\\b\\c"));
  EXPECT_TRUE(FileExists(deep + "kept.dat"));
}

TEST(CreateFolderWithParents, FileInTheWayOrNoFolderFails) {
  ScratchFolder scratch;
  WriteTextFile(scratch.Path() + "plain", "x");
  EXPECT_FALSE(CreateFolderWithParents(scratch.Path() + "plain\\sub\\"));
  EXPECT_FALSE(CreateFolderWithParents(""));
}

TEST(SortInNameOrder, NamesCompareWithoutCaseCharacterByCharacter) {
  std::vector<std::wstring> names = {L"sco2.dat", L"SCO10.dat", L"sco1.dat", L"Sco1a.dat", L"sco0.DAT", L"a.dat"};
  SortInNameOrder(names);
  const std::vector<std::wstring> expected = {L"a.dat",     L"sco0.DAT",  L"sco1.dat",
                                              L"SCO10.dat", L"Sco1a.dat", L"sco2.dat"};
  EXPECT_EQ(names, expected);
}

TEST(AutoRunLogView, ShowsTheErrorsFileAsEditLinesAndHidesEmpty) {
  ScratchFolder scratch;
  const std::string errors = scratch.Path() + "sco1.err";
  WriteTextFile(errors, "line one\nline two\r\n");
  TAutoRunLogView log;
  EXPECT_STREQ(log.ButtonCaption(), "Show Log");
  log.Toggle(errors);
  EXPECT_TRUE(log.Shown());
  EXPECT_STREQ(log.ButtonCaption(), "Close Log");
  EXPECT_EQ(log.Text(), "line one\r\nline two\r\n");
  log.Toggle(errors);
  EXPECT_FALSE(log.Shown());
  EXPECT_STREQ(log.ButtonCaption(), "Show Log");
  EXPECT_EQ(log.Text(), "");
}

TEST(AutoRunLogView, MissingErrorsFileAndReloadOnANewAnswer) {
  ScratchFolder scratch;
  const std::string errors = scratch.Path() + "sco2.err";
  TAutoRunLogView log;
  log.AnswerChanged(errors);
  EXPECT_EQ(log.Text(), "") << "a hidden log loads nothing";
  log.Toggle(errors);
  EXPECT_EQ(log.Text(), "Errors file not found!");
  WriteTextFile(errors, "I/O Errror <Verificare Collegamento>");
  log.AnswerChanged(errors);
  EXPECT_EQ(log.Text(), "I/O Errror <Verificare Collegamento>");
}

TEST(AutoRunLogView, AutoRunsNotesFollowTheErrorsFile) {
  ScratchFolder scratch;
  const std::string errors = scratch.Path() + "sco3.err";
  WriteTextFile(errors, "ERROR 1/1");
  TAutoRunLogView log;
  log.AddNote("sco3.dat could not start", errors);
  log.Toggle(errors);
  EXPECT_EQ(log.Text(), "ERROR 1/1\r\n\r\nAutoRun:\r\nsco3.dat could not start\r\n");
}

TEST(LogNotifier, WritesEachMessageOnceWhileItRepeats) {
  std::vector<std::string> lines;
  TLogNotifier notifier([&](const std::string& line) { lines.push_back(line); });
  notifier.Show("Dll not found. Name:\n\n\tQuadrel.dll");
  notifier.Show("Dll not found. Name:\n\n\tQuadrel.dll");
  notifier.Show("Cannot open the port");
  notifier.Show("Dll not found. Name:\n\n\tQuadrel.dll");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Ravelin: Dll not found. Name:\n\n\tQuadrel.dll\n");
  EXPECT_EQ(lines[1], "Ravelin: Cannot open the port\n");
}

}  // namespace
