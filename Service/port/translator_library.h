// TTranslatorLibrary: the translator library of a logical port, chosen by the
// port type and the Windows version, its 19 exports bound by name, and the
// two host callbacks through which the translator reaches the driver window.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "interfaces/translator_exports.h"
#include "notifier.h"
#include "port/translator_file_name.h"

// The result of a port open whose translator is not fully bound.
constexpr int kTradInitUnavailable = 20;
// The host-service answer when nothing can serve the request (no port, no
// translator, no handler): the protocol library's "no line", so the
// translator never takes it for a success.
constexpr int kHostNoLine = 2;
// Answer buffer of EcrCmd: the translator's longest result text is 256 bytes
// with its terminator; a client call gets the full 1024.
constexpr std::size_t kEcrCmdAnswerBytes = 1024;

using TradServiceHandler = std::function<int(int, int, void*, void*, void*, void*, void*)>;
using TradProgressHandler = std::function<void(int ecr, int count, int percent, const std::string& text, int* abort)>;

class TTranslatorLibrary {
 public:
  TTranslatorLibrary(const std::string& keyPath, Notifier& notifier,
                     WindowsVersion version = CurrentWindowsVersion());
  ~TTranslatorLibrary();
  TTranslatorLibrary(const TTranslatorLibrary&) = delete;
  TTranslatorLibrary& operator=(const TTranslatorLibrary&) = delete;

  bool ok() const { return ok_; }
  const std::string& kind() const { return kind_; }
  const std::string& fileName() const { return fileName_; }
  const std::string& errorText() const { return errorText_; }
  void* module() const { return module_; }
  // Bound entry points; only meaningful when ok().
  const TranslatorEntryPoints& entry() const { return entry_; }

  int CallTradInit();
  void SetRtClient(int n, int value);
  int RtClient(int n) const;
  void SetServiceHandler(TradServiceHandler handler) { serviceHandler_ = std::move(handler); }
  void SetProgressHandler(TradProgressHandler handler);

  // The translator's texts copied at once into buffers large enough for any of them.
  int EcrCmd(const std::string& line, std::string& answer);
  std::optional<std::string> EcrConfStr(unsigned id);

  int DoTradEcrIO(int a1, int a2, void* a3, void* a4, void* a5, void* a6, void* a7);
  void DoTradProgress(int ecr, int count, int percent, const char* text, int* abort);

  // The process-wide callbacks handed to TradInit.
  static int QUADREL_CALL TradEcrIOCallback(int a1, int a2, void* a3, void* a4, void* a5, void* a6, void* a7);
  static void QUADREL_CALL TradProgressCallback(int ecr, int count, int percent, const char* text, int* abort);

 private:
  bool Bind(Notifier& notifier);

  void* module_ = nullptr;
  std::string kind_;
  std::string fileName_;
  std::string errorText_;
  bool ok_ = false;
  std::array<int, 3> rtClients_{};
  TradServiceHandler serviceHandler_;
  TradProgressHandler progressHandler_;
  TranslatorEntryPoints entry_;
};
