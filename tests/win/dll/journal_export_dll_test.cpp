// Command 76 through the real Quadrel.dll on a simulated model-2 register:
// the export lands in a folder whose name holds blanks, and the checksum file
// holds the digest of the text file's bytes, its CR LF line ends included (a
// text-mode read would have dropped the CRs).
#include <gtest/gtest.h>
#include <windows.h>  // with the CryptoAPI declarations

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "config/register_config.h"
#include "dll/quadrel_exports.h"
#include "dll/simulated_line.h"

namespace {

namespace fs = std::filesystem;

constexpr int kJournalReadFeature = 72;  // 2: the journal is read by closure numbers too

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The digest by the system's own provider, in the checksum file's form.
std::string SystemSha1(const std::string& bytes) {
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
  BYTE digest[20];
  DWORD length = sizeof digest;
  EXPECT_TRUE(CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT));
  EXPECT_TRUE(CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash));
  EXPECT_TRUE(
      CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0));
  EXPECT_TRUE(CryptGetHashParam(hash, HP_HASHVAL, digest, &length, 0));
  CryptDestroyHash(hash);
  CryptReleaseContext(provider, 0);
  std::string hex;
  char pair[3];
  for (const BYTE b : digest) {
    std::snprintf(pair, sizeof pair, "%02X", b);
    hex += pair;
  }
  return hex + "\r\n";
}

TEST(JournalExportDll, TheDigestCoversTheFileByteForByte) {
  ecrsim::Simulator sim;
  ecrsim::RegisterConfig config = *ecrsim::BuiltInConfig("t72");
  config.SetText(ecrsim::Area::Identity, 69, 8, "2000A35 ");
  config.SetFeatureLevel(kJournalReadFeature, 2);
  ASSERT_TRUE(sim.AddRegister(1, config));
  ecrsim::Journal& journal = sim.Find(1)->journal;
  journal.closure = 5;
  journal.BeginDocument(1);
  for (const char* line : {"SCONTRINO N. 0001", "TOTALE        9.50"}) journal.Record(line);
  journal.EndDocument();
  SimulatedLine::simulator = &sim;
  SimulatedLine::hostInfo = HostInfoRecord{};
  SimulatedLine::hostInfo.protocolType = 3;  // one register on the line

  const fs::path dir = fs::temp_directory_path() / "quadrel export with blanks";
  fs::create_directories(dir);
  QuadrelExports quadrel;
  ASSERT_TRUE(quadrel.Load());
  ASSERT_EQ(SimulatedLine::Init(quadrel, QUADREL_SHIPPED_DEFINITIONS), 0);
  char result[512] = {};
  EXPECT_EQ(quadrel.EcrCmd(("#76 #1=5, #2='" + dir.string() + "'").c_str(), result), 0) << result;
  quadrel.TradClose();
  quadrel.Unload();
  SimulatedLine::simulator = nullptr;

  const std::string text = Slurp(dir / "RT-ID-00072_5.txt");
  EXPECT_EQ(text, "SCONTRINO N. 0001\r\nTOTALE        9.50\r\n");
  EXPECT_EQ(Slurp(dir / "RT-ID-00072_5.sh1"), SystemSha1(text));
  fs::remove_all(dir);
}

}  // namespace
