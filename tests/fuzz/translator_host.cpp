#include "translator_host.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "exports/process_state.h"
#include "installed_host.h"
#include "interfaces/host_info.h"
#include "interfaces/translator_exports.h"
#include "language/definition_file.h"
#include "mail/smtp/smtp_steps.h"
#include "platform/platform.h"
#include "state/ecr_config.h"

namespace fuzz {
namespace {

constexpr int kTimeOut = 4, kTimeOutDetail = 99;
constexpr int kProgressCallsBeforeStop = 1000;  // a user tired of watching
constexpr std::size_t kResultTextBytes = 256;

TranslatorHost* current = nullptr;
AnswerStream* answers = nullptr;
int progressCalls = 0;
HostInfoRecord info{};
std::int32_t presence[25] = {0, 1};

int TimeOut(void* detail) {
  *static_cast<std::int32_t*>(detail) = kTimeOutDetail;
  return kTimeOut;
}

int ScriptedAnswer(const std::uint8_t* frame, int frameLength, void* answer, void* answerLength, void* detail) {
  if (answers->Empty()) return TimeOut(detail);
  const std::uint8_t head = answers->Byte();
  switch (head & 7) {
    case 5:
      return TimeOut(detail);
    case 6:
      return 1 + answers->Byte() % 255;
    case 7:
      return 0;
  }
  auto* out = static_cast<std::uint8_t*>(answer);
  const auto capacity = static_cast<std::size_t>(std::max(*static_cast<std::int32_t*>(answerLength), 0));
  std::size_t length = 0;
  if ((head & 0x10) && frameLength > 0 && capacity > 0) out[length++] = frame[0];
  const std::size_t wanted = answers->Byte() + ((head & 8) ? 256u : 0u);
  for (std::uint8_t byte : answers->Take(wanted)) {
    if (length < capacity) out[length++] = byte;
  }
  *static_cast<std::int32_t*>(answerLength) = static_cast<std::int32_t>(length);
  *static_cast<std::int32_t*>(detail) = 0;
  return 0;
}

int QUADREL_CALL OnEcrIO(int ecrOrRequest, int, void* frame, void* length, void* answer, void* answerLength,
                         void* detail) {
  if (ecrOrRequest < 0) return 0;  // services succeed and report nothing
  const auto* bytes = static_cast<const std::uint8_t*>(frame);
  const int count = IntFromArgument(length);
  if (answers) return ScriptedAnswer(bytes, count, answer, answerLength, detail);
  const ecrsim::Reply reply = current->sim.Exchange(ecrOrRequest, {bytes, static_cast<std::size_t>(count)});
  if (!reply.answered) return TimeOut(detail);
  // No register answers more than the buffer a host offers.
  if (reply.answer.size() > static_cast<std::size_t>(*static_cast<std::int32_t*>(answerLength))) std::abort();
  std::copy(reply.answer.begin(), reply.answer.end(), static_cast<std::uint8_t*>(answer));
  *static_cast<std::int32_t*>(answerLength) = static_cast<std::int32_t>(reply.answer.size());
  *static_cast<std::int32_t*>(detail) = reply.detail;
  return reply.hostResult;
}

void QUADREL_CALL OnProgress(int, int, int, const char* text, int* abort) {
  if (text && std::strlen(text) > 4096) std::abort();
  if (++progressCalls >= kProgressCallsBeforeStop && abort) *abort = 1;
}

int QUADREL_CALL OnStatus(int, int, void* record) {
  static_cast<std::uint8_t*>(record)[0] = 0;
  return 0;
}

// The extended status: from the stream, or the simulated register's bytes.
int QUADREL_CALL OnStatusEx(int ecr, int, int* status, int* length, std::uint8_t* buffer) {
  if (!status || !length || !buffer) std::abort();
  *status = 0;
  std::span<const std::uint8_t> bytes;
  if (answers) {
    if (answers->Empty()) return kTimeOut;
    const std::uint8_t head = answers->Byte();
    if ((head & 7) >= 5) return 1 + head % 7;
    bytes = answers->Take(answers->Byte());
  } else if (const ecrsim::SimRegister* reg = current->sim.Find(ecr)) {
    bytes = reg->Config().Data(ecrsim::Area::ExtendedStatus);
  }
  const std::size_t count = std::min<std::size_t>(bytes.size(), kHostStatusExBytes);
  std::copy_n(bytes.begin(), count, buffer);
  *length = static_cast<int>(count);
  return 0;
}

bool LoadShippedDefinitions() {
  static const bool loaded = quadrel::LoadDefinitionFile(QUADREL_SOURCE_DIR "/definitions/TALLIS.INI");
  return loaded;
}

}  // namespace

std::uint8_t AnswerStream::Byte() {
  if (bytes_.empty()) return 0;
  const std::uint8_t byte = bytes_.front();
  bytes_ = bytes_.subspan(1);
  return byte;
}

std::span<const std::uint8_t> AnswerStream::Take(std::size_t count) {
  const std::span<const std::uint8_t> taken = bytes_.first(std::min(count, bytes_.size()));
  bytes_ = bytes_.subspan(taken.size());
  return taken;
}

TranslatorHost::TranslatorHost(AnswerStream* stream) {
  if (!LoadShippedDefinitions()) std::abort();
  platform::UseVirtualTimeForTests(true);
  quadrel::ScaleSmtpWaitsForTests(1);
  // Files the commands name land in the private folder (Run keeps lines from naming others).
  if (::chdir(PrivateFolder().c_str()) != 0) std::abort();
  current = this;
  answers = nullptr;
  progressCalls = 0;
  info = HostInfoRecord{};
  info.protocolType = 3;
  info.presenceFlags = presence;
  info.registerCount = 1;
  info.status = &OnStatus;
  info.statusEx = &OnStatusEx;
  sim.AddRegister(1, *ecrsim::BuiltInConfig("t72"));
  quadrel_test::InstallHost(&OnEcrIO, &OnProgress, &info);
  // The register's configuration comes from the simulator, so that fuzzed
  // answers reach the commands rather than stop at the configuration read.
  if (Run("SELEZIONA CASSA=1") != 0) std::abort();
  answers = stream;
}

TranslatorHost::~TranslatorHost() {
  quadrel::ResetProcessState();
  current = nullptr;
  answers = nullptr;
}

int TranslatorHost::Run(std::string line) {
  // No path may leave the private folder.
  std::replace(line.begin(), line.end(), '/', '_');
  std::replace(line.begin(), line.end(), '\\', '_');
  char text[kResultTextBytes + 64];
  std::memset(text, 0x5A, sizeof text);
  const int result = EcrCmd(line.c_str(), text);
  if (std::memchr(text, '\0', kResultTextBytes) == nullptr) std::abort();
  return result;
}

const std::string& PrivateFolder() {
  // Never destroyed: the exit handler that removes the folder still reads it.
  static const std::string& folder = *new std::string([] {
    const auto path = std::filesystem::temp_directory_path() / ("quadrel_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(PrivateFolder(), ignored);
    });
    return path.string();
  }());
  return folder;
}

}  // namespace fuzz
