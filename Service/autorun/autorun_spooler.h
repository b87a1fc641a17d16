// AutoRun: while no client is connected, the window's timer runs the command
// files other programs leave, each as a batch through the translator with its
// outcome in an errors file: each file is renamed before its batch and
// deleted after it.
// Single-port mode watches the user's one command file; spooler mode (a
// process started with "/p n", one per port) runs every file matching the
// port's pattern, in name order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "autorun/autorun_port.h"
#include "autorun/autorun_settings.h"
#include "autorun/spooler_port_lock.h"

namespace ravelin {

// The translator's answer buffer for a command file.
inline constexpr std::size_t kAutoRunAnswerBytes = 257;
// What the errors file says when the port cannot be opened (36 characters,
// no line end; the spelling is what readers of these files look for).
inline constexpr char kPortNotOpenedErrorsText[] = "I/O Errror <Verificare Collegamento>";
// Before a file whose port did not open, or whose batch did not start and
// could not be set aside, is tried again.
inline constexpr std::uint32_t kRetryDelayMs = 1000;
// A command file is renamed to its name + this suffix before its batch runs,
// so a file whose lines may have run is never taken again, even after a
// crash mid-file; it is deleted after the batch.
inline constexpr char kRunningSuffix[] = ".running";
// Added to the name of a command file whose batch could not start: it is
// kept for its producer to look at, and never taken again.
inline constexpr char kNotRunSuffix[] = ".notrun";
// Added to the errors file's name for a run's results that could not be
// written over the errors file, and for the earlier errors file then moved
// out of the way so it cannot pass for this run's.
inline constexpr char kNotWrittenSuffix[] = ".notwritten";
inline constexpr char kStaleSuffix[] = ".stale";
// What earlier versions named a command file that ran but could not be
// deleted; such a file must never run either.
inline constexpr char kRanSuffix[] = ".ran";
// Each suffix above gets a number before it when its name is taken
// ("sco1.dat.2.notrun"): a file set aside never replaces another.
inline constexpr int kDeleteAttempts = 100;
inline constexpr std::uint32_t kDeleteRetryDelayMs = 100;

struct TAutoRunStart {
  std::string portText = "1";  // "1", or the "/p" value of the command line
  // Only a process started with "/p" may spool the port's pattern: a process
  // started by COM or by hand must not take the files of a port's service.
  bool portFromCommandLine = false;
};

// The order spooler files run in: their names compared without case, as the
// file system matches them. The order a folder lists its files in is not
// stable; producers number their files.
void SortInNameOrder(std::vector<std::wstring>& names);

// The clock and the pause AutoRun waits with; tests make time pass at once.
struct TAutoRunWaits {
  std::function<std::uint32_t()> tickCount;  // milliseconds, wraps
  std::function<void(std::uint32_t ms)> pause;
};
TAutoRunWaits SystemWaits();

class TAutoRunSpooler {
 public:
  TAutoRunSpooler(IAutoRunPort& port, TAutoRunStart start, TSettingReader settings = ReadRegistrySetting,
                  TAutoRunWaits waits = SystemWaits());
  TAutoRunSpooler(const TAutoRunSpooler&) = delete;
  TAutoRunSpooler& operator=(const TAutoRunSpooler&) = delete;

  // The AutoRun step of every timer tick. The first reads the settings; the
  // later ones run the waiting command files. A tick that arrives while a
  // file runs (the translator lets messages through) does nothing.
  void Tick();

  bool Active() const { return active_; }
  bool SpoolerMode() const { return spoolerMode_; }
  // The errors file the log shows: the configured one in single-port mode,
  // the last one written in spooler mode.
  const std::string& ErrorsFile() const { return errorsFile_; }

 private:
  enum class TRunOutcome {
    NotTaken,       // missing, or still held open by its producer
    PortNotOpened,  // errors file written; the same file is tried again
    SetAside,       // not run: renamed aside, its errors file says why
    NotStarted,     // could not be renamed before its batch: kept, tried again later
    Done,           // ran (and deleted, or logged as left under its running name)
  };
  struct TCommandFile {
    std::wstring commandFile;
    std::wstring errorsFile;
  };

  void FirstTick();
  void SinglePortStep();
  void SpoolerStep();
  // Runs one file and settles the running flag and the next try by its
  // outcome; true when the next file may follow.
  bool RunAndSettle(const TCommandFile& file, int port);
  TRunOutcome RunCommandFile(const TCommandFile& file, int port);
  // The batch of the file under its running name, with the default
  // separator whatever a client left set.
  int RunBatch(const std::string& runningFile, const std::wstring& errorsFile, char* answer);
  // A file whose batch did not start, or whose name the translator cannot
  // take: renamed aside, `errorsText` in its errors file, `why` in the log.
  TRunOutcome SetAside(const std::wstring& file, const TCommandFile& named, const std::string& errorsText,
                       const std::string& why);
  // This run's results that the translator could not write over the errors
  // file: kept under a name that says so, with the earlier errors file
  // moved out of the way. The file the log view shows.
  std::wstring KeepUnwrittenResults(const TCommandFile& file, const std::wstring& results);
  bool DeleteRanFile(const std::wstring& runningFile);
  std::vector<TCommandFile> WaitingFiles() const;
  void StopAutoRun();
  void EndRunning();
  bool NextTryDue() const;
  void Log(const std::string& text) { port_.LogAutoRun(text); }

  IAutoRunPort& port_;
  TAutoRunStart start_;
  TSettingReader settings_;
  TAutoRunWaits waits_;

  bool firstTick_ = true;
  bool inTick_ = false;
  bool active_ = false;
  bool spoolerMode_ = false;
  int spoolerPort_ = 0;
  std::unique_ptr<TSpoolerPortLock> portLock_;
  std::wstring folder_;
  std::wstring mask_;
  std::string errorsFile_;
  // Set after a failed port open: the running flag stays set and this file
  // goes first at the next try.
  std::optional<TCommandFile> retry_;
  std::optional<std::uint32_t> nextTryAt_;
};

}  // namespace ravelin
