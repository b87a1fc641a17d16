// A fake driver window for AutoRun: records every port call and batch line,
// fails opens on request, and acts like the translator on the errors file.
// With a fake clock, settings in memory and a scratch folder of real files.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "autorun/autorun_port.h"
#include "autorun/autorun_settings.h"
#include "autorun/autorun_spooler.h"

namespace autorun_test {

class FakePort final : public ravelin::IAutoRunPort {
 public:
  int OpenLogicalPort(int port) override;
  bool CloseLogicalPort() override;
  int EcrCmd(const char* line, char* answer) override;
  int GetOption(ravelin::TTranslatorOption option) override { return options[option]; }
  void SetOption(ravelin::TTranslatorOption option, int value) override { options[option] = value; }
  bool ClientConnected() override { return clientConnected; }
  void SetAutoRunRunning(bool running) override { autoRunRunning = running; }
  void ProcessMessages() override;
  void ShowAutoRunAnswer(const std::string& answer) override { answers.push_back(answer); }
  void LogAutoRun(const std::string& text) override { log.push_back(text); }
  void ShowAutoRunGroup(bool visible) override { groupVisible = visible; }

  // Results of the next opens, in turn (then 0). 20 leaves nothing open; any
  // other failure is a failed TradInit that leaves the port half open.
  std::vector<int> openResults;
  // Results of the next batches, in turn (then 0); a batch that reports
  // anything but 0 or 14 did not run and writes nothing.
  std::vector<int> batchResults;
  // The translator's options; a batch line they do not split into two names
  // is refused with 10, as the translator does.
  std::map<ravelin::TTranslatorOption, int> options = {{ravelin::TTranslatorOption::QuoteChar, '\''},
                                                       {ravelin::TTranslatorOption::SeparatorChar, ','}};
  bool clientConnected = false;
  // Runs inside EcrCmd with the command file, while the batch "runs".
  std::function<void(const std::string& commandFile)> duringBatch;
  std::function<void()> onProcessMessages;

  std::vector<std::string> calls;  // "open 3", "close", "@ ..." in order
  std::vector<std::string> batchLines;
  std::vector<std::string> answers;
  std::vector<std::string> log;
  std::vector<std::string> faults;  // what a sound spooler never does
  bool groupVisible = false;
  bool autoRunRunning = false;
  bool portOpen = false;
  int opensTried = 0;
};

// Settings in memory: (root, key, value name) -> text.
class FakeSettings {
 public:
  void Set(platform::SettingsRoot root, const std::string& key, const std::string& name,
           const std::string& value);
  ravelin::TSettingReader Reader();
  int reads = 0;

 private:
  std::map<std::tuple<platform::SettingsRoot, std::string, std::string>, std::string> values_;
};

// Time that passes only when AutoRun pauses or the test says so.
struct FakeClock {
  std::uint32_t now = 0x7FFFFF00;  // near a wrap of the signed distance
  std::vector<std::uint32_t> pauses;
  ravelin::TAutoRunWaits Waits();
};

// A fresh folder under the temporary folder, removed with its files.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }  // ends with '\'

 private:
  std::string path_;
};

// The batch line of names without quotes in them, under the default options.
std::string BatchLineOf(const std::string& commandFile, const std::string& errorsFile);

void WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace autorun_test
