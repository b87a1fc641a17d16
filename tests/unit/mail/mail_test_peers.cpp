#include "mail/mail_test_peers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "file_text.h"
#include "interfaces/registry.h"
#include "mail/smtp/base64.h"
#include "mail/smtp/smtp_errors.h"

#ifdef _WIN32
#include "dll/registry_fixture.h"
#else
#include "platform/posix/settings_store.h"
#endif

namespace mail_test {

PeerValues ReadPeerValues(const std::string& path) {
  PeerValues values;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    std::size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

namespace {

// Reads the log until `found` accepts it, for up to 10 s; the last text read.
std::string PollLog(const std::string& path, const std::function<bool(const std::string&)>& found) {
  std::string text;
  for (int attempt = 0; attempt < 200; ++attempt) {
    text = quadrel_test::FileText(path);
    if (found(text)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return text;
}

std::string LineWith(const std::string& text, const std::string& first, const std::string& second) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    if (line.find(first) != std::string::npos && line.find(second) != std::string::npos) return line;
  return {};
}

}  // namespace

std::string WaitForLog(const std::string& path, const std::string& marker) {
  return PollLog(path, [&](const std::string& text) { return text.find(marker) != std::string::npos; });
}

std::string WaitForLine(const std::string& path, const std::string& first, const std::string& second) {
  return LineWith(
      PollLog(path, [&](const std::string& text) { return !LineWith(text, first, second).empty(); }), first,
      second);
}

std::filesystem::path FreshTestFolder() {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("quadrel-" + std::string(test->test_suite_name()) + "-" + test->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::string WriteFile(const std::string& path, std::size_t size, char seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251 + seed);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::vector<std::string> WaitForMessages(const std::string& maildir, const std::string& marker,
                                         std::size_t count) {
  std::vector<std::string> found;
  for (int attempt = 0; attempt < 600 && found.size() < count;
       ++attempt) {  // up to 60 s: a loaded machine delivers late
    if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    found.clear();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(maildir + "/new", error)) {
      std::string text = quadrel_test::FileText(entry.path().string());
      if (text.find(marker) != std::string::npos) found.push_back(text);
    }
  }
  return found;
}

std::string AttachmentBytes(const std::string& message, const std::string& name) {
  std::size_t at = message.find("filename=\"" + name + "\"");
  if (at == std::string::npos) return {};
  at = message.find("\n\n", at);
  std::string bytes;
  std::istringstream lines(at == std::string::npos ? std::string() : message.substr(at + 2));
  for (std::string line; std::getline(lines, line) && !line.starts_with("--");)
    bytes += quadrel::Base64Decode(line);
  return bytes;
}

int SmtpCodeOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const quadrel::ECSmtp& failure) {
    return failure.code;
  }
  return 0;
}

#ifdef _WIN32
void SetMailSetting(const char* name, const std::string& value) {
  registry_fixture::SetMachineValue(name, value);
}
void ClearMailSettings() {
  registry_fixture::DeleteMachineValue(registry::kMailCAFile);
  registry_fixture::DeleteMachineValue(registry::kMailTlsVerify);
  registry_fixture::DeleteMachineValue(registry::kMailServer);
}
#else
void SetMailSetting(const char* name, const std::string& value) {
  platform::test_settings::Put(platform::SettingsRoot::LocalMachine, registry::kDriverKey, name, value);
}
void ClearMailSettings() {
  for (const char* name : {registry::kMailCAFile, registry::kMailTlsVerify, registry::kMailServer})
    platform::test_settings::Remove(platform::SettingsRoot::LocalMachine, registry::kDriverKey, name);
}
#endif

}  // namespace mail_test
