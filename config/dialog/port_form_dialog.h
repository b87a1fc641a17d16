// Lathwell's dialog: shows the port form in its controls and turns the user's
// clicks and typing into the form's operations.
#pragma once

#include <windows.h>

#include "model/service_runner.h"
#include "model/settings_registry.h"

namespace lathwell {

// Shows the form until the user closes it.
void RunPortFormDialog(HINSTANCE instance, SettingsRegistry& registry, ServiceRunner& services);

}  // namespace lathwell
