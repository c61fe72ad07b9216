// The current user's settings store that both programs share with the product family's other
// programs: the registry on Windows, the INI file of the Qt store elsewhere. Each platform has
// its own implementation file, chosen in CMake.
#pragma once

#include <memory>
#include <string>

#include "core/host/settings_store.h"

namespace lcu::program {

struct HostSettings {
  std::unique_ptr<SettingsStore> store;
  std::string location;  // where the values live, for messages
};

HostSettings OpenHostSettings();

}  // namespace lcu::program
