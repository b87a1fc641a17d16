#include "autorun/autorun_spooler.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <utility>

#include "autorun/batch_line.h"
#include "translator_gate.h"

namespace ravelin {
namespace {

// A batch that ran ends with 0 or with "errors during execution", or with
// "errors file open error" when its results could not be copied over the
// errors file at the end: they are then kept under the temporary name, made
// by this run. Every other code (batch or errors file not opened, translator
// busy or missing) means no line of the file ran.
constexpr int kBatchRanWithErrors = 14;
constexpr int kErrorsFileError = 12;
constexpr char kErrorsExtension[] = ".err";
constexpr char kTemporarySuffix[] = ".tmp";
bool BatchRan(int code, bool resultsKept) {
  return code == 0 || code == kBatchRanWithErrors || (code == kErrorsFileError && resultsKept);
}

bool EndsWithNoCase(std::string_view text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), text.end() - ending.size(), [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
  });
}

// Errors files (and the translator's temporary copies of them) and the files
// set aside lie beside the command files; a wide pattern must not run them.
bool IsSpoolersOwnFile(std::string_view name) {
  return EndsWithNoCase(name, kErrorsExtension) || EndsWithNoCase(name, std::string(kErrorsExtension) + kTemporarySuffix) ||
         EndsWithNoCase(name, kNotRunSuffix) || EndsWithNoCase(name, kRanSuffix);
}

std::string WithoutExtension(const std::string& name) {
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteErrorsText(const std::string& errorsFile, std::string_view text) {
  HANDLE file = CreateFileA(errorsFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

bool RenameAside(const std::string& commandFile, const char* suffix) {
  return MoveFileExA(commandFile.c_str(), (commandFile + suffix).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace

void SortInNameOrder(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
    });
  });
}

TAutoRunWaits SystemWaits() {
  return {[] { return static_cast<std::uint32_t>(GetTickCount()); }, [](std::uint32_t ms) { Sleep(ms); }};
}

TAutoRunSpooler::TAutoRunSpooler(IAutoRunPort& port, TAutoRunStart start, TSettingReader settings,
                                 TAutoRunWaits waits)
    : port_(port), start_(std::move(start)), settings_(std::move(settings)), waits_(std::move(waits)) {}

void TAutoRunSpooler::Tick() {
  if (inTick_) return;
  inTick_ = true;
  if (firstTick_) {
    FirstTick();
  } else if (active_ && NextTryDue() && !port_.ClientConnected()) {
    spoolerMode_ ? SpoolerStep() : SinglePortStep();
  }
  inTick_ = false;
}

void TAutoRunSpooler::FirstTick() {
  firstTick_ = false;
  std::string portText = start_.portText;
  if (portText != "0" && start_.portFromCommandLine && SpoolerModeEnabled(settings_)) {
    if (const auto port = AutoRunPortNumber(portText)) {
      spoolerMode_ = true;
      spoolerPort_ = *port;
      pattern_ = SplitCommandPattern(ReadSpoolerPattern(settings_, *port));
      if (!pattern_.folder.empty()) CreateFolderWithParents(pattern_.folder);
    }
  }
  if (!spoolerMode_) portText = ReadSinglePortText(settings_);
  active_ = AutoRunPortNumber(portText).has_value();
  port_.ShowAutoRunGroup(active_ && !spoolerMode_);
}

void TAutoRunSpooler::SinglePortStep() {
  const TSinglePortSettings settings = ReadSinglePortSettings(settings_);
  const auto port = AutoRunPortNumber(settings.portText);
  // Switched off (or naming no port): this tick looks for nothing either.
  if (!port) return StopAutoRun();
  errorsFile_ = settings.errorsFile;
  RunAndSettle({settings.commandFile, settings.errorsFile}, *port);
}

void TAutoRunSpooler::SpoolerStep() {
  if (retry_ && !RunAndSettle(*retry_, spoolerPort_)) return;
  for (const TCommandFile& file : WaitingFiles()) {
    // Between files a client may connect; its commands go first.
    port_.ProcessMessages();
    if (port_.ClientConnected() || !RunAndSettle(file, spoolerPort_)) return;
  }
}

bool TAutoRunSpooler::RunAndSettle(const TCommandFile& file, int port) {
  const TRunOutcome outcome = RunCommandFile(file, port);
  if (outcome == TRunOutcome::PortNotOpened) {
    // Keeps the clients out and comes back to this file first, without
    // holding the window thread through the wait.
    retry_ = file;
    nextTryAt_ = waits_.tickCount() + kRetryDelayMs;
    return false;
  }
  EndRunning();
  switch (outcome) {
    case TRunOutcome::Done:
    case TRunOutcome::SetAside:
      return true;
    case TRunOutcome::NotStarted:
      nextTryAt_ = waits_.tickCount() + kRetryDelayMs;
      return false;
    case TRunOutcome::Undeletable:
      StopAutoRun();
      return false;
    case TRunOutcome::NotTaken:
    case TRunOutcome::PortNotOpened:
      return false;
  }
  return false;
}

TAutoRunSpooler::TRunOutcome TAutoRunSpooler::RunCommandFile(const TCommandFile& file, int port) {
  // A client's command holds the translator: the file waits, so the two
  // never interleave on the register.
  TTranslatorGate gate;
  if (!gate.Entered()) return TRunOutcome::NotTaken;
  // Sharing nothing but deletion: a file its producer still holds is refused.
  HANDLE probe = CreateFileA(file.commandFile.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return TRunOutcome::NotTaken;
  port_.SetAutoRunRunning(true);
  CloseHandle(probe);
  errorsFile_ = file.errorsFile;

  if (port_.OpenLogicalPort(port) != 0) {
    // A port that half opened (TradInit failed) is closed before the next try.
    port_.CloseLogicalPort();
    WriteErrorsText(file.errorsFile, kPortNotOpenedErrorsText);
    return TRunOutcome::PortNotOpened;
  }
  // Results the translator could not publish stay under this name; one left
  // by an earlier run would pass for this run's.
  const std::string keptResults = file.errorsFile + kTemporarySuffix;
  DeleteFileA(keptResults.c_str());
  const bool keptBefore = FileExists(keptResults);
  std::array<char, kAutoRunAnswerBytes> answer{};
  const int code = RunBatch(file, answer.data());
  answer.back() = '\0';
  port_.ShowAutoRunAnswer(answer.data());
  port_.CloseLogicalPort();

  const bool resultsKept = !keptBefore && FileExists(keptResults);
  if (!BatchRan(code, resultsKept)) {
    // Tried again every second it would hold up every later file.
    if (!RenameAside(file.commandFile, kNotRunSuffix)) return TRunOutcome::NotStarted;
    WriteErrorsText(file.errorsFile, answer.data());
    port_.LogAutoRun(file.commandFile + " could not start (" + answer.data() + "); it is kept as " +
                     file.commandFile + kNotRunSuffix);
    return TRunOutcome::SetAside;
  }
  if (resultsKept)
    port_.LogAutoRun("The errors file " + file.errorsFile + " could not be written; the results of " +
                     file.commandFile + " are kept in " + keptResults);
  // Its lines ran: whatever happens to it, it must never run again.
  if (DeleteCommandFile(file.commandFile) || RenameAside(file.commandFile, kRanSuffix)) return TRunOutcome::Done;
  return TRunOutcome::Undeletable;
}

int TAutoRunSpooler::RunBatch(const TCommandFile& file, char* answer) {
  const int separator = port_.GetOption(TTranslatorOption::SeparatorChar);
  port_.SetOption(TTranslatorOption::SeparatorChar, kDefaultSeparator);
  const char quote = static_cast<char>(port_.GetOption(TTranslatorOption::QuoteChar));
  const int code = port_.EcrCmd(BatchLine(file.commandFile, file.errorsFile, quote).c_str(), answer);
  port_.SetOption(TTranslatorOption::SeparatorChar, separator);
  return code;
}

bool TAutoRunSpooler::DeleteCommandFile(const std::string& commandFile) {
  // A file that is still there, even one held open without any sharing,
  // counts as not deleted: it would run a second time.
  for (int attempt = 1;; ++attempt) {
    if (DeleteFileA(commandFile.c_str()) || !FileExists(commandFile)) return true;
    if (attempt == kDeleteAttempts) return false;
    port_.ProcessMessages();
    waits_.pause(kDeleteRetryDelayMs);
  }
}

std::vector<TAutoRunSpooler::TCommandFile> TAutoRunSpooler::WaitingFiles() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((pattern_.folder + pattern_.mask).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  do {
    const DWORD attributes = found.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !(attributes & FILE_ATTRIBUTE_ARCHIVE)) continue;
    if (IsSpoolersOwnFile(found.cFileName)) continue;
    names.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);

  SortInNameOrder(names);
  std::vector<TCommandFile> files;
  files.reserve(names.size());
  for (const std::string& name : names) {
    files.push_back({pattern_.folder + name, pattern_.folder + WithoutExtension(name) + kErrorsExtension});
  }
  return files;
}

void TAutoRunSpooler::StopAutoRun() {
  active_ = false;
  port_.ShowAutoRunGroup(false);
  if (retry_) EndRunning();
}

void TAutoRunSpooler::EndRunning() {
  retry_.reset();
  port_.SetAutoRunRunning(false);
}

bool TAutoRunSpooler::NextTryDue() const {
  // Compared as a signed distance, so the tick count may wrap.
  return !nextTryAt_ || static_cast<std::int32_t>(waits_.tickCount() - *nextTryAt_) >= 0;
}

}  // namespace ravelin
