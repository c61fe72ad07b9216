#include "program/host_settings.h"

#include "platform/windows/registry_settings_store.h"

namespace lcu::program {

HostSettings OpenHostSettings() {
  auto store = std::make_unique<RegistrySettingsStore>();
  std::string location = store->Location();
  return {std::move(store), std::move(location)};
}

}  // namespace lcu::program
