// Commands 77, 78 and 79 against the scripted host: each word of the host
// request, the host's status as the result, the query's answer as result text
// and file line, and the device-type refusals.
#include "commands/host/host_commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "definition_text.h"
#include "interfaces/host_info.h"
#include "language/result_text.h"
#include "link/frame_exchange.h"
#include "run/command_executor.h"
#include "translator_fixture.h"

namespace quadrel {
namespace {

constexpr int kDeviceProtocol = 5;

// What the host saw of one request while it ran.
struct Seen {
  int calls = 0;
  int mode = 0;
  std::string text;
  std::intptr_t kind = 0;
  std::string fileName;
  std::int32_t entryWord = 0;
  std::int32_t timeOut = 0;
};

class HostCommands : public test_support::WithShippedDefinitions<TranslatorTest> {
 protected:
  void SetUp() override {
    TranslatorTest::SetUp();
    host.info().protocolType = kDeviceProtocol;
  }

  // Serves `request` with `status` (and for the query, `answer` in its buffer).
  void Serve(int request, std::int32_t status, std::string answer = {}, int result = 0) {
    host.on_service(request, [this, request, status, answer, result](int mode, void* args[5]) {
      ++seen.calls;
      seen.mode = mode;
      seen.text = static_cast<const char*>(args[0]);
      seen.kind = reinterpret_cast<std::intptr_t>(args[1]);
      seen.entryWord = *static_cast<std::int32_t*>(args[4]);
      if (request == ECRIO_QUERY) {
        seen.timeOut = *static_cast<std::int32_t*>(args[3]);
        std::memcpy(args[2], answer.data(), answer.size());
      } else {
        seen.fileName = static_cast<const char*>(args[2]);
      }
      *static_cast<std::int32_t*>(args[4]) = status;
      return result;
    });
  }

  static std::string ResultText(int code) {
    std::string text;
    FormatResultText(text, code);
    return text;
  }

  Seen seen;
};

TEST_F(HostCommands, EachKindReachesTheHostWithItsNumberAndEntryWord) {
  struct Row {
    const char* line;
    int request;
    std::intptr_t kind;
    std::int32_t entryWord;
  };
  const Row rows[] = {
      {"HOSTTOT TIPO='TOTALIPLU', PARAMETRO='abc', FILE='out.csv'", ECRIO_XFER_TOTALS, 1, 0},
      {"HOSTTOT TIPO='totaliplu', PARAMETRO='abc', FILE='out.csv', OPZIONE=1", ECRIO_XFER_TOTALS, 1, 1},
      {"HOSTTOT TIPO='RAW  ', PARAMETRO='abc', FILE='out.csv'", ECRIO_XFER_TOTALS, 5, 84},
      {"HOSTTAB TIPO='ARTICOLICSV', PARAMETRO='abc', FILE='out.csv'", ECRIO_XFER_TABLES, 1, 0},
      {"HOSTTAB TIPO='MANBIL', PARAMETRO='abc', FILE='out.csv'", ECRIO_XFER_TABLES, 2, 0},
      {"HOSTTAB TIPO='LottiCsv', PARAMETRO='abc', FILE='out.csv'", ECRIO_XFER_TABLES, 3, 0},
      {"HOSTTAB TIPO='INGREDIENTICSV', PARAMETRO='abc', FILE='out.csv'", ECRIO_XFER_TABLES, 4, 0},
      {"HOSTTAB TIPO='RAW', PARAMETRO='abc', FILE='out.csv'", ECRIO_XFER_TABLES, 5, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    seen = {};
    Serve(row.request, 0);
    EXPECT_EQ(TradExecCommand(row.line), 0);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.mode, ProgressRelayArgument());
    EXPECT_EQ(seen.text, "abc");
    EXPECT_EQ(seen.kind, row.kind);
    EXPECT_EQ(seen.fileName, "out.csv");
    if (row.request == ECRIO_XFER_TOTALS) {
      EXPECT_EQ(seen.entryWord, row.entryWord);
    }
  }
}

TEST_F(HostCommands, AMissingOrUnknownKindIsRefusedWithoutAskingTheHost) {
  Serve(ECRIO_XFER_TOTALS, 0);
  Serve(ECRIO_XFER_TABLES, 0);
  for (const char* line :
       {"HOSTTOT", "HOSTTOT TIPO='ARTICOLICSV'", "HOSTTAB TIPO='TOTALIPLU'", "HOSTTAB PARAMETRO='abc'"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(TradExecCommand(line), 269);
  }
  EXPECT_EQ(seen.calls, 0);
}

TEST_F(HostCommands, TheHostsStatusAndFailureBecomeHostServiceCodes) {
  Serve(ECRIO_XFER_TOTALS, 3);
  EXPECT_EQ(TradExecCommand("HOSTTOT TIPO='RAW'"), 0x100003);
  Serve(ECRIO_XFER_TABLES, 0, {}, 1);
  EXPECT_EQ(TradExecCommand("HOSTTAB TIPO='RAW'"), 0x100000);
  Serve(ECRIO_QUERY, 7);
  EXPECT_EQ(TradExecCommand("HOSTRICH RICHIESTA='Q'"), 0x100007);
}

TEST_F(HostCommands, TheQueryAnswerIsTheResultTextAndTheFileLine) {
  const auto file = std::filesystem::temp_directory_path() / "host_query_answer.txt";
  std::filesystem::remove(file);
  Serve(ECRIO_QUERY, 0, "ANSWER 42");
  EXPECT_EQ(TradExecCommand("HOSTRICH RICHIESTA='STATO', FILE='" + file.string() + "'"), 0);
  EXPECT_EQ(seen.timeOut, kHostQueryDefaultTimeOutMs);
  EXPECT_EQ(seen.entryWord, 0);  // a query that is no number
  EXPECT_EQ(seen.text, "STATO");
  EXPECT_EQ(seen.kind, 1);
  EXPECT_EQ(ResultText(0), "ANSWER 42");
  std::ifstream in(file, std::ios::binary);
  const std::string line((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(line, "ANSWER 42\r\n");
  in.close();
  std::filesystem::remove(file);

  EXPECT_EQ(TradExecCommand("HOSTRICH TIMEOUT=250, RICHIESTA=17"), 0);
  EXPECT_EQ(seen.timeOut, 250);
  EXPECT_EQ(seen.entryWord, 17);
  EXPECT_EQ(TradExecCommand("HOSTRICH"), 0);
  EXPECT_EQ(seen.entryWord, -1);
}

TEST_F(HostCommands, AnAnswerFillingTheWholeBufferIsCutToTheReply) {
  Serve(ECRIO_QUERY, 0, std::string(kHostQueryAnswerBytes, 'x'));
  EXPECT_EQ(TradExecCommand("HOSTRICH RICHIESTA='Q'"), 0);
  EXPECT_EQ(ResultText(0), std::string(kPendingReplyChars, 'x'));
}

TEST_F(HostCommands, AFileThatCannotBeCreatedStopsTheQueryBeforeTheHost) {
  Serve(ECRIO_QUERY, 0, "A");
  EXPECT_EQ(TradExecCommand("HOSTRICH RICHIESTA='Q', FILE='/no/such/folder/answer.txt'"), 11);
  EXPECT_EQ(seen.calls, 0);
}

TEST_F(HostCommands, AnAnswerFileOnAFullDiskGives11) {
  Serve(ECRIO_QUERY, 0, "A");
  EXPECT_EQ(TradExecCommand("HOSTRICH RICHIESTA='Q', FILE='/dev/full'"), 11);
  EXPECT_EQ(ResultText(0), "OK.") << "no answer is left for the next line";
}

TEST_F(HostCommands, DeviceAndRegisterPortsTakeOnlyTheirOwnCommands) {
  EXPECT_EQ(TradExecCommand("VENDITA"), 268);
  host.info().protocolType = quadrel_test::kProtocolConnection;
  for (const char* line : {"HOSTTOT TIPO='RAW'", "HOSTTAB TIPO='RAW'", "HOSTRICH RICHIESTA='Q'"})
    EXPECT_EQ(TradExecCommand(line), 268) << line;
}

}  // namespace
}  // namespace quadrel
