// What Ravelin's command line asks for. A switch is a word preceded by '/'
// or '-', in any case, anywhere on the line; "/P n" names the AutoRun port.
#pragma once

#include <string>
#include <string_view>

namespace ravelin {

struct TStartOptions {
  bool regServer = false;
  bool unregServer = false;
  bool automation = false;
  bool embedding = false;
  std::string autoRunPort = "1";
  // "/p n" was on the line: only then may the process spool the port's
  // files (a spooler service); the default "1" above never selects that.
  bool autoRunPortGiven = false;

  bool StartedByCom() const { return automation || embedding; }
};

// `arguments`: the command line without the program's name.
TStartOptions ParseCommandLine(std::string_view arguments);

}  // namespace ravelin
