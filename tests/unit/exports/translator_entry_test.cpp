// Library life cycle: attach defaults, TradInit with its switches and paths,
// TradClose, and the option exports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/barcodes/barcode_library.h"
#include "commands/command_table.h"
#include "exports/process_state.h"
#include "exports/translator_entry.h"
#include "exports/translator_switches.h"
#include "interfaces/registry.h"
#include "interfaces/translator_exports.h"
#include "language/command_fields.h"
#include "language/definition_tables.h"
#include "language/message_tables.h"
#include "language/result_text.h"
#include "link/frame_exchange.h"
#include "link/key_batch.h"
#include "platform/posix/settings_store.h"
#include "run/command_rows.h"
#include "state/batch_state.h"
#include "state/ecr_config.h"
#include "state/executor_state.h"
#include "state/library_state.h"
#include "state/transfer_state.h"

namespace {

using platform::SettingsRoot;
using namespace quadrel;

const std::string kIni = std::string(QUADREL_TEST_DATA_DIR) + "/entry_minimal.ini";

std::vector<std::string> traced;
HostInfoRecord hostInfo;
int hostInfoResult = 0;
int progressCalls = 0;

int QUADREL_CALL Trace(int, int, int, const char* text, int, int, int, const char*) {
  traced.emplace_back(text);
  return 0;
}

int QUADREL_CALL Host(int request, int, void*, void*, void*, void*, void* out) {
  if (request == ECRIO_GET_INFO && hostInfoResult == 0) {
    *static_cast<HostInfoRecord**>(out) = &hostInfo;
  }
  return request == ECRIO_GET_INFO ? hostInfoResult : 1;
}

void QUADREL_CALL Progress(int, int, int, const char*, int*) { ++progressCalls; }

void PutSwitch(const char* name, const char* value) {
  platform::test_settings::Put(SettingsRoot::LocalMachine, registry::kDriverKey, name, value);
}

class TranslatorEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::test_settings::Clear();
    AttachTranslator();
    hostInfo = HostInfoRecord{};
    hostInfo.protocolType = 2;  // remote: no register is read
    hostInfo.trace = Trace;
    hostInfoResult = 0;
    traced.clear();
    progressCalls = 0;
  }
  void TearDown() override {
    platform::test_settings::Clear();
    ResetProcessState();  // the options these tests change must not reach the next test
  }
  static bool Traced(const std::string& line) {
    for (const std::string& text : traced) {
      if (text == line) return true;
    }
    return false;
  }
};

TEST_F(TranslatorEntry, AttachSetsTheDefaults) {
  const LibraryState& lib = Library();
  EXPECT_EQ(lib.options.QuoteChar, '\'');
  EXPECT_EQ(lib.options.SeparatorChar, ',');
  EXPECT_EQ(lib.options.DataCaptureFormat, 1);
  EXPECT_TRUE(lib.switches.AlwayMaxSpeedFP);
  EXPECT_TRUE(lib.switches.AutoSlaveOnBatch);
  EXPECT_TRUE(lib.switches.RetryOn8XXX);
  EXPECT_FALSE(lib.switches.RetryOn16XXX);
  EXPECT_EQ(lib.switches.CoverOpenPaperEmptyMode, 2);
  EXPECT_FALSE(lib.initialised);
  EXPECT_EQ(CurrentEcr(), 1);
  EXPECT_EQ(SelectedEcr(), 0);
  EXPECT_EQ(&CurrentRecord(), &EcrRecord(0));
  for (int slot = 0; slot <= kMaxEcr; ++slot) {
    EXPECT_EQ(EcrRecord(slot).PrintWidth, 24);
    EXPECT_EQ(EcrRecord(slot).CodeBytes, 6);
    EXPECT_EQ(EcrRecord(slot).FileFlag2, 1);
    EXPECT_EQ(EcrRecord(slot).EcrNumber, 0);
  }
  EXPECT_EQ(OpcodeTable().highestCommand, 0);
}

TEST_F(TranslatorEntry, NullHostIsRefusedAndUndoesAnEarlierInit) {
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  EXPECT_TRUE(Library().initialised);
  EXPECT_EQ(TradInit(kIni.c_str(), 0, Progress, nullptr), kTradInitNoHost);
  EXPECT_FALSE(Library().initialised);
  EXPECT_EQ(Library().host.info, nullptr);
}

TEST_F(TranslatorEntry, MissingDefinitionsFileLeavesTheLibraryUninitialised) {
  EXPECT_EQ(TradInit("/no/such/TALLIS.INI", 0, Progress, Host), kTradInitDefinitionFileFailed);
  EXPECT_FALSE(Library().initialised);
}

// The host-info record lives in the protocol library, which the host unloads
// after TradClose: no later call may reach it through an old pointer.
TEST_F(TranslatorEntry, HostInfoRecordIsForgottenAtCloseAndAtAFailedInit) {
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  ASSERT_EQ(Library().host.info, &hostInfo);
  TradClose();
  EXPECT_EQ(Library().host.info, nullptr);

  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  EXPECT_EQ(TradInit("/no/such/TALLIS.INI", 0, Progress, Host), kTradInitDefinitionFileFailed);
  EXPECT_EQ(Library().host.info, nullptr);
}

TEST_F(TranslatorEntry, ProtocolTypeAddsFlagsAndTheProgressSlotIsFilled) {
  const struct {
    int protocolType;
    int flags;
  } cases[] = {{1, TRADF_MULTI_ECR}, {2, TRADF_REMOTE}, {3, TRADF_CONNECT},
               {4, TRADF_CONNECT},   {5, 0},            {6, TRADF_CONNECT}};
  for (const auto& c : cases) {
    hostInfo.protocolType = c.protocolType;
    ASSERT_EQ(TradInit(kIni.c_str(), TRADF_ECHO_LINES, Progress, Host), kTradInitReady);
    EXPECT_EQ(Library().TradFlags, TRADF_ECHO_LINES | c.flags) << c.protocolType;
    EXPECT_TRUE(Library().batchEcho);
    EXPECT_EQ(hostInfo.progress, Progress);
  }
}

TEST_F(TranslatorEntry, FailedHostInfoRequestLeavesNoHostFunctions) {
  hostInfoResult = 1;
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  EXPECT_EQ(Library().host.info, nullptr);
  EXPECT_EQ(hostInfo.progress, nullptr);  // the record is not touched
  EXPECT_TRUE(traced.empty());
}

TEST_F(TranslatorEntry, RemoteHostSelectsNoRegister) {
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  EXPECT_EQ(SelectedEcr(), 0);
  EXPECT_EQ(CurrentEcr(), 0);
}

TEST_F(TranslatorEntry, LocalHostSelectsRegisterOneAndCloseForgetsRecords) {
  hostInfo.protocolType = 0;
  // The host answers no frame: the register cannot be read, TradInit still succeeds.
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  EXPECT_EQ(EcrRecord(1).EcrNumber, 0);
  EXPECT_EQ(SelectedEcr(), 1);
  EXPECT_EQ(CurrentEcr(), 1);
  EXPECT_EQ(&CurrentRecord(), &EcrRecord(1));
  EcrRecord(1).EcrNumber = 1;
  EXPECT_EQ(TradClose(), 0);
  EXPECT_EQ(SelectedEcr(), 0);
  EXPECT_EQ(EcrRecord(1).EcrNumber, 0);
  EXPECT_EQ(&CurrentRecord(), &EcrRecord(0));
}

TEST_F(TranslatorEntry, StartUpTraceNamesVersionsAndSwitches) {
  hostInfo.versionMajor = 2;
  hostInfo.versionMinor = 5;
  hostInfo.versionBuild = 17;
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  EXPECT_EQ(traced.front(), "version Quadrel.dll 3000003");
  EXPECT_TRUE(Traced("Version protocol type=2 version of dll 2005017"));
  for (const char* line : {"AlwayMaxSpeedFP = 1", "AutoSlaveOnBatch = 1", "RetryOn8XXX = 1",
                           "RetryOn16XXX = 0", "CoverOpenPaperEmptyMode = 2"}) {
    EXPECT_TRUE(Traced(line)) << line;
  }
  EXPECT_EQ(progressCalls, 0);
}

TEST_F(TranslatorEntry, SwitchesAcceptTheirWordsInAnyCase) {
  PutSwitch("BufferFlush", "yes");
  PutSwitch("FixDepDescLen", "1");
  PutSwitch("AlwayMaxSpeedFP", "false");  // not a word that turns it off
  PutSwitch("AutoSlaveOnBatch", "No");
  PutSwitch("RetryOn8XXX", "0");
  PutSwitch("RetryOn16XXX", "YeS");
  PutSwitch("CoverOpenPaperEmptyMode", "3");
  PutSwitch("sendZAE", "true");  // only "1" or "YES" turn it on
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  const TranslatorSwitches& s = Library().switches;
  EXPECT_TRUE(s.BufferFlush);
  EXPECT_TRUE(s.FixDepDescLen);
  EXPECT_TRUE(s.AlwayMaxSpeedFP);
  EXPECT_FALSE(s.AutoSlaveOnBatch);
  EXPECT_FALSE(s.RetryOn8XXX);
  EXPECT_TRUE(s.RetryOn16XXX);
  EXPECT_EQ(s.CoverOpenPaperEmptyMode, 3);
  EXPECT_FALSE(s.SendZAE);
}

TEST_F(TranslatorEntry, CoverModeOutsideOneToThreeKeepsTwo) {
  for (const char* text : {"4", "0", "", "13", "x"}) {
    PutSwitch("CoverOpenPaperEmptyMode", text);
    ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
    EXPECT_EQ(Library().switches.CoverOpenPaperEmptyMode, 2) << '"' << text << '"';
  }
}

TEST_F(TranslatorEntry, SwitchValueTooLongForItsBufferLeavesTheDefault) {
  PutSwitch("RetryOn16XXX", "YES             ");  // 16 characters do not fit 16 bytes
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  EXPECT_FALSE(Library().switches.RetryOn16XXX);
}

TEST_F(TranslatorEntry, RemovedSwitchTakesEffectAtTheNextInit) {
  PutSwitch("RetryOn16XXX", "1");
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  EXPECT_TRUE(Library().switches.RetryOn16XXX);
  platform::test_settings::Remove(SettingsRoot::LocalMachine, registry::kDriverKey, "RetryOn16XXX");
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  EXPECT_FALSE(Library().switches.RetryOn16XXX);
}

TEST_F(TranslatorEntry, InstallationDirReplacesThePathArgument) {
  PutSwitch("InstallationDir", "/no/such/installation");
  EXPECT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitDefinitionFileFailed);
  TranslatorSwitches switches;
  EXPECT_EQ(ReadTranslatorSwitches(kIni, switches), "/no/such/installation\\Drivers\\TALLIS.INI");
  platform::test_settings::Clear();
  EXPECT_EQ(ReadTranslatorSwitches(kIni, switches), kIni);
}

TEST_F(TranslatorEntry, OptionsSurviveCloseAndInit) {
  EXPECT_EQ(SetQuoteChar('"'), '"');
  EXPECT_EQ(SetSeparatorChar(';'), ';');
  EXPECT_EQ(SetOutEditOptions(3), 3);
  EXPECT_EQ(SetEnableTradDC(10), 10);
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  TradClose();
  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), kTradInitReady);
  EXPECT_EQ(GetQuoteChar(), '"');
  EXPECT_EQ(GetSeparatorChar(), ';');
  EXPECT_EQ(GetOutEditOptions(), 3);
  EXPECT_EQ(GetEnableTradDC(), 10);
  EXPECT_EQ(SetSeparatorChar(static_cast<char>(0xFF)), -1);  // sign-extended
}

TEST(BarcodeLibraryBinding, MissingLibraryIsReportedAndUnavailable) {
  EXPECT_EQ(BindBarcodeLibrary("no-such-zint-library.so"), kBarcodeLibraryMissing);
  EXPECT_FALSE(Barcodes().available);
}

TEST(BarcodeLibraryBinding, AllNineEntryPointsOfTheRealLibraryBind) {
  // Debian's zint is the same library the Windows build ships as zint.dll.
  ASSERT_EQ(BindBarcodeLibrary("libzint.so.2.11"), kBarcodeBound);
  EXPECT_TRUE(Barcodes().available);
  EXPECT_NE(Barcodes().ZBarcode_Encode_and_Print, nullptr);
}

TEST(BarcodeLibraryBinding, LibraryWithoutTheEntryPointsIsUnavailable) {
  EXPECT_EQ(BindBarcodeLibrary("libm.so.6"), kBarcodeEntryMissing);
  EXPECT_FALSE(Barcodes().available);
}

}  // namespace

// TradInit and ResetProcessState share one reset: every owner starts afresh,
// the host's options stay, and the command table is in place.
TEST_F(TranslatorEntry, TradInitStartsEveryOwnerAfreshAndKeepsTheOptions) {
  Library().options.QuoteChar = '"';
  Library().model6Mode = true;
  Executor().ProgSessionState = 1;
  Executor().ErrorCount = 3;
  BatchRun().lineNumber = 7;
  Transfer().CommandText = "UA";
  CommandFields().value[3] = "12";
  KeyBatch().Append(std::string_view("A1"));
  FrameBuffer().length = 9;
  EcrStatusBytes().criticalCode = 4;
  Reply().PendingMessage = {"stale", true};
  IntMsgTable().SetRow(kMsgOk, "BENE");
  EcrRecord(5).EcrNumber = 5;
  UseCommandTable({});

  ASSERT_EQ(TradInit(kIni.c_str(), 0, Progress, Host), 0);

  EXPECT_EQ(Library().options.QuoteChar, '"');
  EXPECT_FALSE(Library().model6Mode);
  EXPECT_EQ(Executor().ProgSessionState, 0);
  EXPECT_EQ(Executor().ErrorCount, 0);
  EXPECT_EQ(BatchRun().lineNumber, 0);
  EXPECT_TRUE(Transfer().CommandText.empty());
  EXPECT_TRUE(CommandFields().value[3].empty());
  EXPECT_EQ(KeyBatch().Count(), 0);
  EXPECT_EQ(FrameBuffer().length, 0);
  EXPECT_EQ(EcrStatusBytes().criticalCode, 0);
  EXPECT_FALSE(Reply().PendingMessage.set);
  EXPECT_EQ(IntMsgTable().Row(kMsgOk), "OK.");
  EXPECT_EQ(EcrRecord(5).EcrNumber, 0);
  EXPECT_EQ(FindCommandRow(1).handler, CommandTable()[0].handler);
}
