// An in-memory SettingsStore for tests and throw-away runs.
#pragma once

#include <map>
#include <string>

#include "core/host/settings_store.h"

namespace lcu {

class MemorySettingsStore final : public SettingsStore {
 public:
  bool KeyExists(std::string_view key) const override;
  std::optional<std::string> ReadValue(std::string_view key, std::string_view name) const override;
  bool WriteString(std::string_view key, std::string_view name, std::string_view text) override;
  bool WriteInteger(std::string_view key, std::string_view name, std::int32_t value) override;
  std::vector<SettingsEntry> List() const override;

  /// Makes every later write fail, as a store on a read-only disk would.
  void SetReadOnly(bool readOnly) { m_bReadOnly = readOnly; }

 private:
  // Registry keys and value names compare without regard to case.
  static std::string Fold(std::string_view text);

  struct Value {
    std::string name;  // as first written
    std::string text;
  };
  struct Key {
    std::string path;  // as first written
    std::map<std::string, Value> values;
  };
  std::map<std::string, Key> m_keys;
  bool m_bReadOnly = false;
};

}  // namespace lcu
