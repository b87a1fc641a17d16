// How Lathwell runs the service commands and asks the service manager about
// a service. The Win32 runner starts each command hidden and awaits it; tests
// record what would run.
#pragma once

#include <optional>
#include <string>

namespace lathwell {

// A program and its whole command line. `program` is the file that runs: a
// bare name ("sc.exe") is a system tool taken from the system folder only;
// anything else is a path. The line is what the program sees.
struct ServiceCommand {
  std::string program;
  std::string line;
};

class ServiceRunner {
 public:
  virtual ~ServiceRunner() = default;
  // Runs the command and waits (bounded) for its end: its exit code, or
  // nothing when it could not start or did not end in time.
  virtual std::optional<unsigned long> Run(const ServiceCommand& command) = 0;
  virtual void Pause(int milliseconds) = 0;
  // Whether the service manager still knows the service (also while it is
  // marked for deletion).
  virtual bool Exists(const std::string& service) = 0;
  virtual bool Running(const std::string& service) = 0;
};

}  // namespace lathwell
