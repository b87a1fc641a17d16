// The service runner of Lathwell.exe: hidden processes and the service manager.
#pragma once

#include "model/service_runner.h"

namespace lathwell {

class Win32ServiceRunner : public ServiceRunner {
 public:
  std::optional<unsigned long> Run(const ServiceCommand& command) override;
  void Pause(int milliseconds) override;
  bool Exists(const std::string& service) override;
  bool Running(const std::string& service) override;
};

}  // namespace lathwell
