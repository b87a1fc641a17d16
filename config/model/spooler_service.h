// Installing and removing a logical port's spooler service: every command is
// awaited in order, the old services are gone before the new one is created,
// and the new one must be running at the end.
#pragma once

#include <optional>
#include <string>

#include "model/service_runner.h"
#include "model/settings_registry.h"

namespace lathwell {

// Replaces the port's service (and one under the former name) by a new one
// that runs Ravelin for the port. Nothing when it runs; otherwise the
// message for the user naming the step that failed.
std::optional<std::string> InstallSpoolerService(ServiceRunner& runner, SettingsRegistry& registry,
                                                 const std::string& installationDir, int port);

// Stops and deletes the port's service; a service that is not there is no fault.
void RemoveSpoolerService(ServiceRunner& runner, int port);

}  // namespace lathwell
