// RegistrySettingsStore: the settings tree of the product family in the current user's
// registry, "HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Velmora", where the
// family's other programs read and write the same values. Text is UTF-8 here and UTF-16 in
// the registry (the wide functions), so every program of the family reads the same
// characters; strings are REG_SZ values, integers REG_DWORD values.
//
// Keys ("Corvalent\Settings", "Config\LCUs\Serial3", "/" taken for "\") and value names
// compare without regard to case, as the registry does; a write to an existing key or
// value keeps the spelling already stored. Each call opens the keys it needs, so values
// that other programs change are seen at once.
#pragma once

#include <string>

#include "core/host/settings_store.h"

namespace lcu {

class RegistrySettingsStore final : public SettingsStore {
 public:
  /// The family's key below HKEY_CURRENT_USER.
  static constexpr wchar_t kFamilyKey[] = L"Software\\VB and VBA Program Settings\\Velmora";

  /// The store below HKEY_CURRENT_USER\root (tests use a key of their own).
  explicit RegistrySettingsStore(std::wstring root = kFamilyKey);

  /// The full name of the root key, for messages.
  std::string Location() const;

  bool KeyExists(std::string_view key) const override;
  /// REG_SZ and REG_EXPAND_SZ values read as their text (not expanded), REG_DWORD and
  /// REG_QWORD values as their decimal text (a DWORD as a signed 32-bit number, as written);
  /// values of any other type read as missing.
  std::optional<std::string> ReadValue(std::string_view key, std::string_view name) const override;
  bool WriteString(std::string_view key, std::string_view name, std::string_view text) override;
  bool WriteInteger(std::string_view key, std::string_view name, std::int32_t value) override;
  /// Every value below the root, ordered by key and then name without regard to case.
  std::vector<SettingsEntry> List() const override;

 private:
  std::wstring KeyPath(std::string_view key) const;
  bool Write(std::string_view key, std::string_view name, unsigned long type, const void* data, unsigned long size);

  std::wstring m_root;
};

}  // namespace lcu
