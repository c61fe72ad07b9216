// The settings store contract on the store in memory.
#include <gtest/gtest.h>

#include "core/host/memory_settings_store.h"
#include "support/settings_store_contract.h"

namespace lcu::test {

struct MemoryBacking {
  SettingsStore& Store() { return store; }
  const SettingsStore& Fresh() { return store; }
  MemorySettingsStore store;
};
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, ::testing::Types<MemoryBacking>);

}  // namespace lcu::test
