// AutoRun: while no client is connected, the window's timer runs the command
// files other programs leave, each as a batch through the translator with its
// outcome in an errors file, and deletes each file once its batch ran.
// Single-port mode watches the user's one command file; spooler mode (a
// process started with "/p n") runs every file matching the port's pattern,
// in name order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "autorun/autorun_port.h"
#include "autorun/autorun_settings.h"

namespace ravelin {

// The translator's answer buffer for a command file.
inline constexpr std::size_t kAutoRunAnswerBytes = 257;
// What the errors file says when the port cannot be opened (36 characters,
// no line end; the spelling is what readers of these files look for).
inline constexpr char kPortNotOpenedErrorsText[] = "I/O Errror <Verificare Collegamento>";
// Before a file whose port did not open, or whose batch did not start and
// could not be set aside, is tried again.
inline constexpr std::uint32_t kRetryDelayMs = 1000;
// Added to the name of a command file whose batch could not start: it is
// kept for its producer to look at, and never taken again.
inline constexpr char kNotRunSuffix[] = ".notrun";
// Added to the name of a command file that ran but cannot be deleted.
inline constexpr char kRanSuffix[] = ".ran";
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
void SortInNameOrder(std::vector<std::string>& names);

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
    SetAside,       // the batch did not start: renamed aside, its errors file says why
    NotStarted,     // the batch did not start, nor could the file be renamed: kept
    Done,           // ran, and deleted or renamed aside
    Undeletable,    // ran, but stays under its name: AutoRun stops so it never runs twice
  };
  struct TCommandFile {
    std::string commandFile;
    std::string errorsFile;
  };

  void FirstTick();
  void SinglePortStep();
  void SpoolerStep();
  // Runs one file and settles the running flag and the next try by its
  // outcome; true when the next file may follow.
  bool RunAndSettle(const TCommandFile& file, int port);
  TRunOutcome RunCommandFile(const TCommandFile& file, int port);
  // The batch line, with the default separator whatever a client left set.
  int RunBatch(const TCommandFile& file, char* answer);
  bool DeleteCommandFile(const std::string& commandFile);
  std::vector<TCommandFile> WaitingFiles() const;
  void StopAutoRun();
  void EndRunning();
  bool NextTryDue() const;

  IAutoRunPort& port_;
  TAutoRunStart start_;
  TSettingReader settings_;
  TAutoRunWaits waits_;

  bool firstTick_ = true;
  bool inTick_ = false;
  bool active_ = false;
  bool spoolerMode_ = false;
  int spoolerPort_ = 0;
  TCommandPattern pattern_;
  std::string errorsFile_;
  // Set after a failed port open: the running flag stays set and this file
  // goes first at the next try.
  std::optional<TCommandFile> retry_;
  std::optional<std::uint32_t> nextTryAt_;
};

}  // namespace ravelin
