#include "port/translator_library.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>

#include "interfaces/registry.h"
#include "platform/platform.h"
#include "port/program_library.h"

namespace {

constexpr std::size_t kPortTypeBytes = 256;
constexpr const char* kReportedName = "Quadrel.dll";  // named in messages whatever file was loaded

// Set by each fully bound construction, cleared when that object goes.
std::atomic<TTranslatorLibrary*> currentTranslator{nullptr};
std::atomic<bool> progressForwarding{false};

// Each translator file is loaded once per process and stays loaded: its
// attach-time defaults run once, and option values survive a port's reopening.
HMODULE LoadTranslatorOnce(const std::string& fileName) {
  static std::mutex mutex;
  static std::map<std::string, HMODULE> loaded;
  std::lock_guard lock(mutex);
  if (const auto it = loaded.find(fileName); it != loaded.end()) return it->second;
  const HMODULE module = ravelin::LoadProgramLibrary(fileName);
  if (module) loaded.emplace(fileName, module);
  return module;
}

struct ExportSlot {
  const char* name;
  void (*store)(TranslatorEntryPoints&, FARPROC);
};

#define EXPORT_SLOT(result, name, parameters)                                             \
  ExportSlot{#name, [](TranslatorEntryPoints& entry, FARPROC address) {                      \
               entry.name = reinterpret_cast<decltype(entry.name)>(reinterpret_cast<void*>(address)); \
             }},

constexpr ExportSlot kExportOrder[] = {QUADREL_EXPORTS(EXPORT_SLOT)};
static_assert(std::size(kExportOrder) == kTranslatorExportCount);

#undef EXPORT_SLOT

}  // namespace

TTranslatorLibrary::TTranslatorLibrary(const std::string& keyPath, Notifier& notifier, WindowsVersion version) {
  std::string portType;
  platform::ReadSettingText(platform::SettingsRoot::LocalMachine, keyPath, registry::kPortType, kPortTypeBytes, portType);
  kind_ = TranslatorKind(portType);
  fileName_ = TranslatorFileName(kind_, version);
  module_ = LoadTranslatorOnce(fileName_);
  if (!module_) {
    errorText_ = "Dll not found. Name:\n\n\t" + fileName_;
    notifier.Show(errorText_);
    return;
  }
  errorText_ = kReportedName;
  if (!Bind(notifier)) return;
  ok_ = true;
  currentTranslator = this;
}

TTranslatorLibrary::~TTranslatorLibrary() {
  TTranslatorLibrary* self = this;
  currentTranslator.compare_exchange_strong(self, nullptr);
}

bool TTranslatorLibrary::Bind(Notifier& notifier) {
  const auto module = static_cast<HMODULE>(module_);
  for (const ExportSlot& slot : kExportOrder) {
    const FARPROC address = GetProcAddress(module, slot.name);
    if (!address) {
      entry_ = {};  // nothing of a partly bound library may be called
      if (std::string(slot.name) == "TradInit") return false;
      errorText_ = std::string(kReportedName) + " non compatibile, manca la funzione:\n\n" + slot.name;
      notifier.Show(errorText_);
      return false;
    }
    slot.store(entry_, address);
  }
  return true;
}

int TTranslatorLibrary::CallTradInit() {
  if (!ok_) return kTradInitUnavailable;
  return entry_.TradInit(DefinitionsFileName(kind_), 0, TradProgressCallback, TradEcrIOCallback);
}

void TTranslatorLibrary::SetRtClient(int n, int value) {
  if (n >= 1 && n <= 3) rtClients_[static_cast<std::size_t>(n - 1)] = value;
}

int TTranslatorLibrary::RtClient(int n) const {
  return n >= 1 && n <= 3 ? rtClients_[static_cast<std::size_t>(n - 1)] : 0;
}

void TTranslatorLibrary::SetProgressHandler(TradProgressHandler handler) {
  progressHandler_ = std::move(handler);
  progressForwarding = true;
}

int TTranslatorLibrary::EcrCmd(const std::string& line, std::string& answer) {
  answer.clear();
  if (!ok_) return kTradInitUnavailable;
  std::array<char, kEcrCmdAnswerBytes> buffer{};
  const int result = entry_.EcrCmd(line.c_str(), buffer.data());
  buffer.back() = '\0';
  answer = buffer.data();
  return result;
}

std::optional<std::string> TTranslatorLibrary::EcrConfStr(unsigned id) {
  if (!ok_) return std::nullopt;
  const char* text = entry_.GetEcrConfStr(id);
  if (!text) return std::nullopt;
  return std::string(text);
}

int TTranslatorLibrary::DoTradEcrIO(int a1, int a2, void* a3, void* a4, void* a5, void* a6, void* a7) {
  return serviceHandler_ ? serviceHandler_(a1, a2, a3, a4, a5, a6, a7) : kHostNoLine;
}

void TTranslatorLibrary::DoTradProgress(int ecr, int count, int percent, const char* text, int* abort) {
  if (progressHandler_) progressHandler_(ecr, count, percent, text ? std::string(text) : std::string(), abort);
}

int QUADREL_CALL TTranslatorLibrary::TradEcrIOCallback(int a1, int a2, void* a3, void* a4, void* a5, void* a6,
                                                       void* a7) {
  TTranslatorLibrary* current = currentTranslator;
  try {
    return current ? current->DoTradEcrIO(a1, a2, a3, a4, a5, a6, a7) : kHostNoLine;
  } catch (...) {
    return kHostNoLine;
  }
}

void QUADREL_CALL TTranslatorLibrary::TradProgressCallback(int ecr, int count, int percent, const char* text,
                                                           int* abort) {
  TTranslatorLibrary* current = currentTranslator;
  if (!progressForwarding || !current) return;
  try {
    current->DoTradProgress(ecr, count, percent, text, abort);
  } catch (...) {
  }
}
