// ecrsim --port N --control M [--config FILE] [--printout DIR]
// Serves simulated registers on loopback port N (0 = any free port) and takes
// control commands on port M; prints the ports it got and runs until a "stop"
// command or SIGTERM/SIGINT. With --printout, register N's printout is also
// appended to DIR/printout-N.txt.
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "control/control_commands.h"
#include "server/sim_server.h"

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void OnStopSignal(int) {
  stopSignal = 1;
}

bool ParsePort(const char* text, std::uint16_t& port) {
  const std::string_view word(text);
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || value > 65535) return false;
  port = static_cast<std::uint16_t>(value);
  return true;
}

int Usage() {
  std::fprintf(stderr, "usage: ecrsim --port N --control M [--config FILE] [--printout DIR]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint16_t wirePort = 0, controlPort = 0;
  bool haveWire = false, haveControl = false;
  const char* configFile = nullptr;
  ecrsim::Simulator sim;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--port") == 0 && hasValue) {
      haveWire = ParsePort(argv[++i], wirePort);
      if (!haveWire) return Usage();
    } else if (std::strcmp(argv[i], "--control") == 0 && hasValue) {
      haveControl = ParsePort(argv[++i], controlPort);
      if (!haveControl) return Usage();
    } else if (std::strcmp(argv[i], "--config") == 0 && hasValue) {
      configFile = argv[++i];
    } else if (std::strcmp(argv[i], "--printout") == 0 && hasValue) {
      sim.printoutDir = argv[++i];
    } else {
      return Usage();
    }
  }
  if (!haveWire || !haveControl) return Usage();

  std::string error;
  if (configFile) {
    if (!ecrsim::LoadConfigFile(sim, configFile, error)) {
      std::fprintf(stderr, "ecrsim: %s: %s\n", configFile, error.c_str());
      return 1;
    }
  } else {
    sim.AddRegister(1, *ecrsim::BuiltInConfig(ecrsim::kDefaultConfigName));
  }

  if (!ecrsim::net::Startup()) {
    std::fprintf(stderr, "ecrsim: sockets unavailable\n");
    return 1;
  }
  int status = 0;
  {
    ecrsim::SimServer server(sim);
    if (server.Open(wirePort, controlPort, error)) {
      std::signal(SIGTERM, OnStopSignal);
      std::signal(SIGINT, OnStopSignal);
      std::printf("ecrsim wire port %u\necrsim control port %u\n", server.WirePort(), server.ControlPort());
      std::fflush(stdout);
      server.Run(stopSignal);
      std::printf("ecrsim stopped\n");
      std::fflush(stdout);
    } else {
      std::fprintf(stderr, "ecrsim: %s\n", error.c_str());
      status = 1;
    }
  }
  ecrsim::net::Cleanup();
  return status;
}
