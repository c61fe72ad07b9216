#include "program/host_settings.h"

#include "qtstore/qt_settings_store.h"

namespace lcu::program {

HostSettings OpenHostSettings() {
  auto store = std::make_unique<QtSettingsStore>();
  std::string location = store->Location();
  return {std::move(store), std::move(location)};
}

}  // namespace lcu::program
