#include "autorun/autorun_spooler.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cwctype>
#include <exception>
#include <string_view>
#include <utility>

#include "autorun/batch_line.h"
#include "autorun/spool_files.h"
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
// What the errors file and the log say of a name the translator cannot take.
constexpr char kNameOutsideCodePage[] = "File name outside the ANSI code page";

bool BatchRan(int code, bool resultsKept) {
  return code == 0 || code == kBatchRanWithErrors || (code == kErrorsFileError && resultsKept);
}

// The suffixes are plain ASCII.
std::wstring Wide(std::string_view ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

bool EndsWithNoCase(std::wstring_view text, std::wstring_view ending) {
  if (text.size() < ending.size()) return false;
  return std::equal(ending.begin(), ending.end(), text.end() - ending.size(),
                    [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); });
}

// Errors files (and the translator's temporary copies of them) and the files
// set aside lie beside the command files; a wide pattern must not run them.
bool IsSpoolersOwnFile(std::wstring_view name) {
  for (const char* ending : {kErrorsExtension, kTemporarySuffix, kRunningSuffix, kNotRunSuffix,
                             kNotWrittenSuffix, kStaleSuffix, kRanSuffix}) {
    if (EndsWithNoCase(name, Wide(ending))) return true;
  }
  return false;
}

std::wstring WithoutExtension(const std::wstring& name) {
  const auto dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

}  // namespace

void SortInNameOrder(std::vector<std::wstring>& names) {
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
      return std::towupper(x) < std::towupper(y);
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
  try {
    if (firstTick_) {
      FirstTick();
    } else if (active_ && NextTryDue() && !port_.ClientConnected()) {
      spoolerMode_ ? SpoolerStep() : SinglePortStep();
    }
  } catch (const std::exception& failure) {
    // Out of memory, most likely: the file in hand keeps its running name,
    // so it never runs twice; the next tick goes on with the others.
    port_.CloseLogicalPort();
    EndRunning();
    Log(std::string("AutoRun step failed: ") + failure.what());
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
      portLock_ = std::make_unique<TSpoolerPortLock>(*port);
      if (!portLock_->Held()) {
        Log(portLock_->Refusal());
        port_.ShowAutoRunGroup(false);
        return;
      }
      const TCommandPattern pattern = SplitCommandPattern(ReadSpoolerPattern(settings_, *port));
      folder_ = WidePath(pattern.folder);
      mask_ = WidePath(pattern.mask);
      if (!pattern.folder.empty()) CreateFolderWithParents(pattern.folder);
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
  RunAndSettle({WidePath(settings.commandFile), WidePath(settings.errorsFile)}, *port);
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
  HANDLE probe = CreateFileW(file.commandFile.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return TRunOutcome::NotTaken;
  port_.SetAutoRunRunning(true);
  CloseHandle(probe);
  errorsFile_ = DisplayPath(file.errorsFile);
  // The translator takes ANSI names only; such a file would be tried forever.
  if (!AnsiPath(file.commandFile) || !AnsiPath(file.errorsFile))
    return SetAside(file.commandFile, file, kNameOutsideCodePage,
                    "was not run: its name has characters outside the ANSI code page");

  if (port_.OpenLogicalPort(port) != 0) {
    // A port that half opened (TradInit failed) is closed before the next try.
    port_.CloseLogicalPort();
    WriteWholeFile(file.errorsFile, kPortNotOpenedErrorsText);
    return TRunOutcome::PortNotOpened;
  }
  const std::optional<std::wstring> running =
      MoveAside(file.commandFile, file.commandFile, Wide(kRunningSuffix));
  if (!running) {
    const DWORD error = GetLastError();
    port_.CloseLogicalPort();
    Log(DisplayPath(file.commandFile) + " could not be renamed before its run (error " +
        std::to_string(error) + "); it is tried again");
    return TRunOutcome::NotStarted;
  }
  // Results the translator could not publish stay under this name; one left
  // by a run that broke off is kept aside first, so it cannot pass for this run's.
  const std::wstring results = file.errorsFile + Wide(kTemporarySuffix);
  if (PathExists(results)) MoveAside(results, file.errorsFile, Wide(kNotWrittenSuffix));
  const bool resultsBefore = PathExists(results);
  std::array<char, kAutoRunAnswerBytes> answer{};
  const int code = RunBatch(*AnsiPath(*running), file.errorsFile, answer.data());
  answer.back() = '\0';
  port_.CloseLogicalPort();

  const bool resultsKept = !resultsBefore && PathExists(results);
  if (resultsKept) errorsFile_ = DisplayPath(KeepUnwrittenResults(file, results));
  port_.ShowAutoRunAnswer(answer.data());
  if (!BatchRan(code, resultsKept)) {
    // Tried again every second it would hold up every later file.
    return SetAside(*running, file, answer.data(), std::string("could not start (") + answer.data() + ")");
  }
  // Under its running name it never runs again, deleted or not.
  if (!DeleteRanFile(*running)) {
    const DWORD error = GetLastError();
    Log(DisplayPath(file.commandFile) + " ran but could not be deleted (error " + std::to_string(error) +
        "); it stays as " + DisplayPath(*running) + " and does not run again");
  }
  return TRunOutcome::Done;
}

TAutoRunSpooler::TRunOutcome TAutoRunSpooler::SetAside(const std::wstring& file, const TCommandFile& named,
                                                       const std::string& errorsText,
                                                       const std::string& why) {
  const std::optional<std::wstring> aside = MoveAside(file, named.commandFile, Wide(kNotRunSuffix));
  const std::wstring kept = aside.value_or(file);
  // The file under its own name would be tried again: only there it waits a second.
  if (kept == named.commandFile) {
    Log(DisplayPath(named.commandFile) + " " + why + "; it could not be set aside and is tried again");
    return TRunOutcome::NotStarted;
  }
  WriteWholeFile(named.errorsFile, errorsText);
  Log(DisplayPath(named.commandFile) + " " + why + "; it is kept as " + DisplayPath(kept));
  return TRunOutcome::SetAside;
}

std::wstring TAutoRunSpooler::KeepUnwrittenResults(const TCommandFile& file, const std::wstring& results) {
  const std::wstring kept = MoveAside(results, file.errorsFile, Wide(kNotWrittenSuffix)).value_or(results);
  std::string note = "The errors file " + DisplayPath(file.errorsFile) +
                     " could not be written; the results of " + DisplayPath(file.commandFile) +
                     " are kept in " + DisplayPath(kept);
  if (PathExists(file.errorsFile)) {
    const std::optional<std::wstring> stale = MoveAside(file.errorsFile, file.errorsFile, Wide(kStaleSuffix));
    const DWORD error = GetLastError();
    note += stale ? ", the earlier errors file in " + DisplayPath(*stale)
                  : "; the earlier errors file stays under its name (error " + std::to_string(error) + ")";
  }
  Log(note);
  return kept;
}

int TAutoRunSpooler::RunBatch(const std::string& runningFile, const std::wstring& errorsFile, char* answer) {
  const int separator = port_.GetOption(TTranslatorOption::SeparatorChar);
  port_.SetOption(TTranslatorOption::SeparatorChar, kDefaultSeparator);
  const char quote = static_cast<char>(port_.GetOption(TTranslatorOption::QuoteChar));
  const int code = port_.EcrCmd(BatchLine(runningFile, *AnsiPath(errorsFile), quote).c_str(), answer);
  port_.SetOption(TTranslatorOption::SeparatorChar, separator);
  return code;
}

bool TAutoRunSpooler::DeleteRanFile(const std::wstring& runningFile) {
  // A holder that shares nothing (a virus scanner) may let go a moment later.
  for (int attempt = 1;; ++attempt) {
    if (DeleteFileW(runningFile.c_str()) || !PathExists(runningFile)) return true;
    if (attempt == kDeleteAttempts) return false;
    port_.ProcessMessages();
    waits_.pause(kDeleteRetryDelayMs);
  }
}

std::vector<TAutoRunSpooler::TCommandFile> TAutoRunSpooler::WaitingFiles() const {
  std::vector<std::wstring> names = MatchingFileNames(folder_, mask_);
  std::erase_if(names, [](const std::wstring& name) { return IsSpoolersOwnFile(name); });
  SortInNameOrder(names);
  std::vector<TCommandFile> files;
  files.reserve(names.size());
  for (const std::wstring& name : names)
    files.push_back({folder_ + name, folder_ + WithoutExtension(name) + Wide(kErrorsExtension)});
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
