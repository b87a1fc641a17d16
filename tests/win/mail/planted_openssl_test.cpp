// The mail client's TLS takes no OpenSSL configuration (so no module one
// names) and no trusted root from the folders built into the static OpenSSL,
// which any Windows user may create, nor from OPENSSL_CONF or SSL_CERT_FILE.
// Its own process: OpenSSL reads its configuration once.
#include <windows.h>

#include <gtest/gtest.h>
#include <openssl/crypto.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "file_text.h"
#include "mail/mail_test_peers.h"
#include "mail/smtp/smtp_client.h"

namespace quadrel {
namespace {

namespace fs = std::filesystem;

// Writes `text` into `folder`/`name`, making the folders; false where Windows refuses.
bool Plant(const fs::path& folder, const char* name, const std::string& text) {
  std::error_code failure;
  fs::create_directories(folder, failure);
  std::ofstream(folder / name, std::ios::binary) << text;
  return !failure && fs::exists(folder / name);
}

TEST(PlantedOpenSsl, NoConfigurationModuleOrRootComesFromBuiltInFoldersOrTheEnvironment) {
  const mail_test::PeerValues peer = mail_test::ReadPeerValues(SMTP_PEER_DIR "/peer.env");
  ASSERT_FALSE(peer.empty()) << "the Postfix peer is not up";
  mail_test::ClearMailSettings();
  char self[MAX_PATH];
  ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  const fs::path module = fs::path(self).parent_path() / "planted_module.dll";
  const fs::path marker = module.string() + ".loaded";
  fs::remove(marker);
  // The default provider stays, so that TLS would still work with the planted root.
  const std::string config = "openssl_conf = planted\n[planted]\nproviders = providers\n[providers]\n"
                             "default = builtin\nplanted = provider\n[builtin]\nactivate = 1\n"
                             "[provider]\nmodule = " + module.generic_string() + "\nactivate = 1\n";
  const std::string testCa = quadrel_test::FileText("Z:" + peer.at("CA_FILE"));
  const fs::path own = fs::temp_directory_path();
  ASSERT_TRUE(!testCa.empty() && Plant(own, "planted.cnf", config) && Plant(own, "planted.pem", testCa));
  _putenv(("OPENSSL_CONF=" + (own / "planted.cnf").string()).c_str());
  _putenv(("SSL_CERT_FILE=" + (own / "planted.pem").string()).c_str());

  // Rooted paths fall on the drive of the current folder: C:, as for a service
  // in the system folder. Only a missing folder is planted, and removed after.
  ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
  const std::string version = OpenSSL_version(OPENSSL_DIR);  // OPENSSLDIR: "folder"
  const fs::path folder = version.substr(version.find('"') + 1, version.rfind('"') - version.find('"') - 1);
  fs::path made;
  for (fs::path at = folder; at.has_relative_path() && !fs::exists(at); at = at.parent_path()) made = at;
  ASSERT_FALSE(made.empty()) << folder;
  const bool planted = Plant(folder, "openssl.cnf", config) && Plant(folder, "cert.pem", testCa);
  std::printf("built-in folder %s: %s\n", folder.string().c_str(), planted ? "planted" : "cannot be made");

  CSmtp smtp;
  const auto port = static_cast<std::uint16_t>(std::stoi(peer.at("PORT_STARTTLS")));
  EXPECT_EQ(mail_test::SmtpCodeOf([&] { smtp.OpenSession("127.0.0.1", port, kSmtpStartTls, false, {}, {}); }),
            414)
      << "a planted root made the peer's certificate trusted";
  EXPECT_FALSE(fs::exists(marker)) << "a planted configuration loaded its module";
  std::error_code ignored;
  fs::remove_all(made, ignored);
  fs::remove(marker, ignored);
}

}  // namespace
}  // namespace quadrel
