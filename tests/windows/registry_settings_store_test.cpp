// The registry store: the store contract on a throw-away key, and the registry's own view of
// what it writes: UTF-16 strings and DWORD integers that the family's other programs read,
// and their values of either type read back as text.
#include "platform/windows/registry_settings_store.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/settings_store_contract.h"

namespace lcu::test {

// A key of its own below HKEY_CURRENT_USER\Software for each test, deleted afterwards.
class ScratchKey {
 public:
  ScratchKey() {
    static int count = 0;
    m_path =
        L"Software\\LCU workstation tests\\" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
  }
  ~ScratchKey() { RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str()); }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;
  const std::wstring& Path() const { return m_path; }

 private:
  std::wstring m_path;
};

struct RegistryBacking {
  SettingsStore& Store() { return store; }
  const SettingsStore& Fresh() { return fresh.emplace(key.Path()); }

  ScratchKey key;
  RegistrySettingsStore store{key.Path()};
  std::optional<RegistrySettingsStore> fresh;
};
INSTANTIATE_TYPED_TEST_SUITE_P(Registry, SettingsStoreContract, ::testing::Types<RegistryBacking>);

namespace {

TEST(RegistrySettingsStore, WritesWhatTheFamilysProgramsReadAndReadsWhatTheyWrite) {
  const ScratchKey key;
  RegistrySettingsStore store(key.Path());
  ASSERT_TRUE(store.WriteString("Paths", "DataDirectory", "D:\\Z\xC3\xBCrich\\Sample"));
  ASSERT_TRUE(store.WriteInteger("Corvalent\\Settings", "Bottom", -20));

  wchar_t text[64] = {};
  DWORD size = sizeof text;
  DWORD type = 0;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, (key.Path() + L"\\Paths").c_str(), L"DataDirectory", RRF_RT_ANY, &type,
                         text, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(text), L"D:\\Z\u00FCrich\\Sample");
  EXPECT_EQ(size, sizeof(L"D:\\Z\u00FCrich\\Sample"));  // with its terminator

  DWORD number = 0;
  size = sizeof number;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, (key.Path() + L"\\Corvalent\\Settings").c_str(), L"Bottom", RRF_RT_ANY,
                         &type, &number, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number, static_cast<DWORD>(-20));

  // Values another program wrote: a wide string without its terminator, a DWORD, and a type
  // that is no setting.
  HKEY other = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (key.Path() + L"\\ChannelData").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &other, nullptr),
            ERROR_SUCCESS);
  const wchar_t id[] = {L'1', L'\u00B2'};
  RegSetValueExW(other, L"ChannelID", 0, REG_SZ, reinterpret_cast<const BYTE*>(id), sizeof id);
  const DWORD stamp = 7;
  RegSetValueExW(other, L"ConfigStamp", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stamp), sizeof stamp);
  const BYTE blob[] = {1, 2, 3};
  RegSetValueExW(other, L"Blob", 0, REG_BINARY, blob, sizeof blob);
  RegCloseKey(other);
  EXPECT_EQ(store.ReadValue("ChannelData", "ChannelID"), "1\xC2\xB2");
  EXPECT_EQ(store.ReadValue("ChannelData", "ConfigStamp"), "7");
  EXPECT_EQ(store.ReadValue("ChannelData", "Blob"), std::nullopt);
  EXPECT_EQ(store.List().size(), 4u);
}

TEST(RegistrySettingsStore, TheProgramsStoreIsTheFamilysKey) {
  EXPECT_EQ(RegistrySettingsStore().Location(), "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Velmora");
}

}  // namespace
}  // namespace lcu::test
