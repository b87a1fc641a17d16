// A service runner that records the command lines and pauses it is given and
// answers as a test scripts it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/service_runner.h"

namespace lathwell {

class RecordedServices : public ServiceRunner {
 public:
  std::optional<unsigned long> Run(const ServiceCommand& command) override {
    steps.push_back(command.line);
    programs.push_back(command.program);
    const auto answer = exitCodes.find(command.line);
    if (answer == exitCodes.end()) return 0UL;
    return answer->second;
  }
  void Pause(int milliseconds) override {
    steps.push_back("pause " + std::to_string(milliseconds));
    paused += milliseconds;
  }
  bool Exists(const std::string&) override { return lingeringQueries > 0 && lingeringQueries-- > 0; }
  bool Running(const std::string&) override { return running; }

  std::vector<std::string> steps;     // command lines and "pause <ms>"
  std::vector<std::string> programs;  // the program of each command line
  // Lines that end with a given exit code, or cannot run at all (nothing).
  std::map<std::string, std::optional<unsigned long>> exitCodes;
  int lingeringQueries = 0;  // how many existence queries still find a service
  bool running = true;
  int paused = 0;
};

}  // namespace lathwell
