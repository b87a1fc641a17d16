// The event exports through the real Quadrel.dll: every name the service
// object binds is there, and the six event exports run with the argument
// shapes the service object passes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "interfaces/host_info.h"
#include "interfaces/translator_exports.h"

namespace {

const std::string kMinimalIni = std::string(QUADREL_WIN_TEST_DATA) + "minimal.ini";

HostInfoRecord remoteHost;

int __stdcall RemoteHost(int request, int, void*, void*, void*, void*, void* out) {
  if (request != ECRIO_GET_INFO) return 1;
  *static_cast<HostInfoRecord**>(out) = &remoteHost;
  return 0;
}

void __stdcall IgnoreProgress(int, int, int, const char*, int*) {}

using TextEvent = const char*(__stdcall*)(int, const unsigned char*, int);
using EnquiryEvent = void(__stdcall*)(int, const unsigned char*, int, int*, char*, double*);
using UpdateEvent = void(__stdcall*)(int, const unsigned char*, int, int*, char*, double*, double*);
using ReplyBuilder = void(__stdcall*)(int, unsigned, int, const char*, unsigned char*, int*);

class EventExportsDll : public ::testing::Test {
 protected:
  void SetUp() override {
    module = LoadLibraryA("Quadrel.dll");
    ASSERT_NE(module, nullptr);
    remoteHost = HostInfoRecord{};
    remoteHost.protocolType = 2;  // remote: no register is read at TradInit
    const auto init = Bind<int(__stdcall*)(const char*, int, TradProgressProc, TradEcrIOProc)>("TradInit");
    ASSERT_NE(init, nullptr);
    ASSERT_EQ(init(kMinimalIni.c_str(), 0, IgnoreProgress, RemoteHost), 0);
  }
  void TearDown() override {
    if (const auto close = Bind<int(__stdcall*)()>("TradClose")) close();
    if (const auto enable = Bind<int(__stdcall*)(int)>("SetEnableTradDC")) enable(0);
    FreeLibrary(module);
  }
  template <typename Proc>
  Proc Bind(const char* name) const {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }

  HMODULE module = nullptr;
};

TEST_F(EventExportsDll, AllNineteenExportsTheServiceObjectBindsAreThere) {
  for (const char* name :
       {"TradInit", "TradClose", "GetEnableTradDC", "SetEnableTradDC", "GetQuoteChar", "SetQuoteChar",
        "GetSeparatorChar", "SetSeparatorChar", "GetOutEditOptions", "SetOutEditOptions", "EcrCmd",
        "Trad_DCYEvent", "Trad_DCXEvent", "Trad_FileExtEnq", "Trad_RispExtEnq", "Trad_FileExtUpd",
        "Trad_IEvent", "GetEcrConfVal", "GetEcrConfStr"}) {
    EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
  }
}

TEST_F(EventExportsDll, TextEventsTranslateRegisterBytes) {
  const unsigned char line[] = "TOTAL   12.50";
  EXPECT_STREQ(Bind<TextEvent>("Trad_DCXEvent")(1, line, 13), "TOTAL   12.50");
  const unsigned char interaction[] = {0x00, 0x7F, 0xA5};
  EXPECT_STREQ(Bind<TextEvent>("Trad_IEvent")(1, interaction, 3), "007FA5");

  const unsigned char record[] = {0x82, 0x05, 0, 0, 0, 0x10, 0, 0, 0, 0, 0x20, 0};
  const TextEvent dataCapture = Bind<TextEvent>("Trad_DCYEvent");
  EXPECT_STREQ(dataCapture(1, record, sizeof record), "820500000010000000002000");
  Bind<int(__stdcall*)(int)>("SetEnableTradDC")(1);
  EXPECT_STREQ(dataCapture(1, record, sizeof record), "02,05,-0000001000,-0000002000");
  EXPECT_STREQ(dataCapture(1, record, 5), "");  // cut short
}

TEST_F(EventExportsDll, EnquiryAndUpdateWithoutConfigurationReportIt) {
  std::vector<unsigned char> enquiry = {0xFF};
  for (const char c : std::string("ARTICLE-CODE-0000001")) enquiry.push_back(static_cast<unsigned char>(c));
  int status = 0;
  char code[21] = {};
  double quantity = 0;
  Bind<EnquiryEvent>("Trad_FileExtEnq")(3, enquiry.data(), static_cast<int>(enquiry.size()), &status, code,
                                        &quantity);
  EXPECT_EQ(status, -2);
  EXPECT_STREQ(code, "ARTICLE-CODE-0000001");
  EXPECT_DOUBLE_EQ(quantity, 1.0);

  const unsigned char update[] = {0, 0, 0, 0x12, 0x34, 0x56, 0x00, 0x01, 0x23, 0x45};
  double value1 = 0, value2 = -1;
  Bind<UpdateEvent>("Trad_FileExtUpd")(3, update, sizeof update, &status, code, &value1, &value2);
  EXPECT_EQ(status, -1);
  EXPECT_STREQ(code, "000000123456");
  EXPECT_DOUBLE_EQ(value1, 12.345);
  EXPECT_DOUBLE_EQ(value2, 0);
}

TEST_F(EventExportsDll, ReplyWithoutConfigurationIsTheErrorFrame) {
  std::vector<unsigned char> reply(1024, 0);
  int length = 0;
  Bind<ReplyBuilder>("Trad_RispExtEnq")(3, 2, 0, "", reply.data(), &length);
  ASSERT_EQ(length, 29);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply.data()), 29),
            std::string("M\x02"
                        "FILE ERROR\0EXT. FILE ERROR\0",
                        29));
}

}  // namespace
