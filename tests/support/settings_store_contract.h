// The contract every SettingsStore keeps, as one typed suite. A store's test instantiates it
// with a backing type whose Store() is the store under test and whose Fresh() is a new store
// over the same values (or the same store, when it keeps nothing outside itself): what the
// one writes, the other must read back, so a store that only caches its writes fails.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/host/settings_store.h"

namespace lcu::test {

template <typename Backing>
class SettingsStoreContract : public ::testing::Test {
 protected:
  Backing m_backing;
};

TYPED_TEST_SUITE_P(SettingsStoreContract);

TYPED_TEST_P(SettingsStoreContract, ValuesRoundTrip) {
  const struct {
    const char* key;
    const char* name;
    std::variant<std::int32_t, const char*> written;
    const char* read;
  } cases[] = {
      {"Corvalent\\Settings", "Auto Download", 1, "1"},
      {"Corvalent\\ChannelData", "ConfigStamp", INT32_MIN, "-2147483648"},
      {"Paths", "SetupDirectory", "C:\\Velmora\\Setup", "C:\\Velmora\\Setup"},
      {"Config\\LCUs\\Serial3", "Serial", "17", "17"},
      {"Config/Hardware", "Level", "2", "2"},
      {"Corvalent\\Settings", "Monitor", "  two, three; four=5 #6 \"q\" @at  ", "  two, three; four=5 #6 \"q\" @at  "},
      {"Corvalent\\Settings", "Accented", "Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9F\x9A\x97",
       "Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9F\x9A\x97"},
      {"Corvalent\\Settings", "  Padded  Name ", "x", "x"},
      {"Corvalent\\Settings", "Empty", "", ""},
  };
  SettingsStore& writer = this->m_backing.Store();
  for (const auto& c : cases) {
    const bool written = std::holds_alternative<std::int32_t>(c.written)
                             ? writer.WriteInteger(c.key, c.name, std::get<std::int32_t>(c.written))
                             : writer.WriteString(c.key, c.name, std::get<const char*>(c.written));
    EXPECT_TRUE(written) << c.key << '\\' << c.name;
  }
  const SettingsStore& reader = this->m_backing.Fresh();
  for (const auto& c : cases) EXPECT_EQ(reader.ReadValue(c.key, c.name), c.read) << c.key << '\\' << c.name;
}

TYPED_TEST_P(SettingsStoreContract, MissingOrUnstorableValuesReadAsNothing) {
  SettingsStore& store = this->m_backing.Store();
  EXPECT_EQ(store.ReadValue("Paths", "SetupDirectory"), std::nullopt);
  ASSERT_TRUE(store.WriteString("Paths", "DataDirectory", "/data"));
  EXPECT_EQ(store.ReadValue("Paths", "SetupDirectory"), std::nullopt);
  EXPECT_EQ(store.ReadValue("Config", "DataDirectory"), std::nullopt);
  // A value name cannot hold a key separator, and the registry's unnamed value has no place
  // in the other stores.
  for (const char* name : {"", "a\\b", "a/b"}) {
    EXPECT_FALSE(store.WriteString("Config", name, "x")) << name;
    EXPECT_FALSE(store.WriteInteger("Config", name, 1)) << name;
    EXPECT_EQ(store.ReadValue("Config", name), std::nullopt) << name;
  }
  EXPECT_FALSE(this->m_backing.Fresh().KeyExists("Config"));
}

TYPED_TEST_P(SettingsStoreContract, KeyExistsForKeysHoldingValuesOrSubkeys) {
  SettingsStore& store = this->m_backing.Store();
  EXPECT_FALSE(store.KeyExists("Config"));
  ASSERT_TRUE(store.WriteString("Config\\LCUs\\Serial3", "Serial", "17"));
  const std::pair<const char*, bool> cases[] = {
      {"Config", true},
      {"Config\\LCUs", true},
      {"Config\\LCUs\\Serial3", true},
      {"Config/LCUs/Serial3", true},
      {"config\\lcus\\SERIAL3", true},
      {"Config\\LCUs\\Serial4", false},
      {"Config\\LCUs\\Serial", false},
      {"Conf", false},
      {"Config\\LCUs\\Serial3\\Serial", false},
  };
  const SettingsStore& fresh = this->m_backing.Fresh();
  for (const auto& [key, exists] : cases) EXPECT_EQ(fresh.KeyExists(key), exists) << key;
}

// Keys and names ignore case; the listing keeps the first spelling stored.
TYPED_TEST_P(SettingsStoreContract, ListGivesEveryValueOrderedByKeyAndName) {
  SettingsStore& store = this->m_backing.Store();
  ASSERT_TRUE(store.WriteString("Config\\LCUs\\Serial1", "Serial", "0"));
  ASSERT_TRUE(store.WriteString("config/lcus/SERIAL1", "SERIAL", "1"));
  ASSERT_TRUE(store.WriteString("Paths", "SetupDirectory", "/setup"));
  ASSERT_TRUE(store.WriteString("Corvalent\\Settings", "Top", "0"));
  ASSERT_TRUE(store.WriteInteger("Corvalent\\Settings", "Auto Download", 1));
  ASSERT_TRUE(store.WriteString("Config\\Hardware", "Level", "2"));
  ASSERT_TRUE(store.WriteString("Corvalent\\Settings", "bottom", "600"));

  EXPECT_EQ(this->m_backing.Fresh().ReadValue("CONFIG\\LCUs\\serial1", "serial"), "1");
  std::vector<std::string> listed;
  for (const SettingsEntry& e : this->m_backing.Fresh().List()) listed.push_back(e.key + '\\' + e.name + '=' + e.text);
  EXPECT_EQ(listed, (std::vector<std::string>{"Config\\Hardware\\Level=2", "Config\\LCUs\\Serial1\\Serial=1",
                                              "Corvalent\\Settings\\Auto Download=1", "Corvalent\\Settings\\bottom=600",
                                              "Corvalent\\Settings\\Top=0", "Paths\\SetupDirectory=/setup"}));
}

REGISTER_TYPED_TEST_SUITE_P(SettingsStoreContract, ValuesRoundTrip, MissingOrUnstorableValuesReadAsNothing,
                            KeyExistsForKeysHoldingValuesOrSubkeys, ListGivesEveryValueOrderedByKeyAndName);

}  // namespace lcu::test
