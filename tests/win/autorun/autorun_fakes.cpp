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

const char* AnswerOf(int result) {
  switch (result) {
    case 0: return "OK.";
    case 10: return "INVALID BATCH LINE ";
    case 11: return "FILE OPEN ERROR";
    case 12: return "ERROR FILE OPEN ERROR";
    case 14: return "ERRORS DURING EXECUTION OF FILE";
    default: return "ERROR";
  }
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

  const char quote = static_cast<char>(options[ravelin::TTranslatorOption::QuoteChar]);
  const char separator = static_cast<char>(options[ravelin::TTranslatorOption::SeparatorChar]);
  // The tests' names hold no quotes: "@ 'command', 'errors'" splits only
  // where the quotes and the separator meet.
  const std::string between = std::string(1, quote) + separator + ' ' + quote;
  const std::size_t middle = text.find(between);
  int result = TakeFirst(batchResults);
  if (text.rfind(std::string("@ ") + quote, 0) != 0 || text.back() != quote || middle == std::string::npos)
    result = 10;
  std::strcpy(answer, AnswerOf(result));
  if (result != 0 && result != 14) return result;
  const std::string commandFile = text.substr(3, middle - 3);
  const std::string errorsFile = text.substr(middle + 4, text.size() - middle - 5);
  if (!FileExists(commandFile)) faults.push_back("batch of a missing file " + commandFile);
  WriteTextFile(errorsFile, "errors of " + commandFile + "\r\n");
  if (duringBatch) duringBatch(commandFile);
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

std::string BatchLineOf(const std::string& commandFile, const std::string& errorsFile) {
  return "@ '" + commandFile + "', '" + errorsFile + "'";
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
