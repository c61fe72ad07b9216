// The per-user settings store that replaces the registry tree below
// "Software\VB and VBA Program Settings\Velmora\". Keys are paths below that root with
// backslash separators ("Corvalent\Settings", "Paths", "Config\LCUs\Serial3"); each key
// holds named values. The programs implement it over QSettings (the native registry on
// Windows, an INI file elsewhere); tests use MemorySettingsStore.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lcu {

/// One stored value, as listed by SettingsStore::List.
struct SettingsEntry {
  std::string key;
  std::string name;
  std::string text;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  /// True when the key holds at least one value or subkey.
  virtual bool KeyExists(std::string_view key) const = 0;
  /// The value's text (an integer value reads as its decimal text); nullopt when the key
  /// or the value is missing.
  virtual std::optional<std::string> ReadValue(std::string_view key, std::string_view name) const = 0;
  /// Writes a string value; false when the store could not be written.
  virtual bool WriteString(std::string_view key, std::string_view name, std::string_view text) = 0;
  /// Writes a 32-bit integer value; false when the store could not be written.
  virtual bool WriteInteger(std::string_view key, std::string_view name, std::int32_t value) = 0;
  /// Every value of the store, ordered by key and name.
  virtual std::vector<SettingsEntry> List() const = 0;
};

}  // namespace lcu
