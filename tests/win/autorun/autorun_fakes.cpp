#include "autorun/autorun_fakes.h"

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace autorun_test {
namespace {

int TakeFirst(std::vector<int>& results) {
  if (results.empty()) return 0;
  const int result = results.front();
  results.erase(results.begin());
  return result;
}

}  // namespace

int FakePort::OpenLogicalPort(int port) {
  ++opensTried;
  calls.push_back("open " + std::to_string(port));
  if (portOpen) faults.push_back("opened a port that was still open");
  if (!autoRunRunning) faults.push_back("opened the port without the running flag");
  const int result = TakeFirst(openResults);
  portOpen = result != 20;
  return result;
}

bool FakePort::CloseLogicalPort() {
  calls.push_back("close");
  const bool wasOpen = portOpen;
  portOpen = false;
  return wasOpen;
}

int FakePort::EcrCmd(const char* line, char* answer) {
  const std::string text = line;
  calls.push_back(text);
  batchLines.push_back(text);
  if (!portOpen) faults.push_back("ran a batch on a closed port");
  if (!autoRunRunning) faults.push_back("ran a batch without the running flag");

  const std::size_t comma = text.find(", ");
  const std::string commandFile = text.substr(2, comma - 2);
  const std::string errorsFile = text.substr(comma + 2);
  const int result = TakeFirst(batchResults);
  if (result == 11 || result == 12) {
    std::strcpy(answer, result == 11 ? "FILE OPEN ERROR" : "ERROR FILE OPEN ERROR");
    return result;
  }
  if (!FileExists(commandFile)) faults.push_back("batch of a missing file " + commandFile);
  WriteTextFile(errorsFile, "errors of " + commandFile + "\r\n");
  if (duringBatch) duringBatch(commandFile);
  std::strcpy(answer, result == 0 ? "OK." : "ERRORS DURING EXECUTION OF FILE");
  return result;
}

void FakePort::ProcessMessages() {
  if (onProcessMessages) onProcessMessages();
}

void FakeSettings::Set(platform::SettingsRoot root, const std::string& key, const std::string& name,
                       const std::string& value) {
  values_[{root, key, name}] = value;
}

ravelin::TSettingReader FakeSettings::Reader() {
  return [this](platform::SettingsRoot root, const std::string& key, const char* name) {
    ++reads;
    const auto found = values_.find({root, key, name});
    return found == values_.end() ? std::string() : found->second;
  };
}

ravelin::TAutoRunWaits FakeClock::Waits() {
  return {[this] { return now; },
          [this](std::uint32_t ms) {
            pauses.push_back(ms);
            now += ms;
          }};
}

ScratchFolder::ScratchFolder() {
  static int serial = 0;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + "autorun_" + std::to_string(GetCurrentProcessId()) + "_" +
          std::to_string(++serial) + "\\";
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteTextFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace autorun_test
