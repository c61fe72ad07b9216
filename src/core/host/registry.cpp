#include "core/host/registry.h"

#include "core/messages/messages.h"
#include "core/util/decimal_text.h"

namespace lcu {

std::string RegReadString(const SettingsStore& store, std::string_view keyPrefix, std::string_view subKey,
                          std::string_view valueName, std::string_view defaultText) {
  std::string key(keyPrefix);
  key += subKey;
  if (key.size() > kRegKeyLimit) key.resize(kRegKeyLimit);
  std::string result(defaultText);
  if (const auto value = store.ReadValue(key, valueName)) result = *value;
  if (result.size() > kRegStringLimit) result.resize(kRegStringLimit);
  return result;
}

std::string SlotKey(int slot) { return "Config\\LCUs\\Serial" + std::to_string(slot); }

std::string Profile::SectionKey(std::string_view section) {
  std::string key(msg::kAppTitle);
  key += '\\';
  key += section;
  return key;
}

std::int32_t Profile::GetProfileInt(std::string_view section, std::string_view name, std::int32_t defaultValue) const {
  const auto text = m_store.ReadValue(SectionKey(section), name);
  if (!text) return defaultValue;
  std::int32_t value = 0;
  return TryParseDecimalInt(*text, value) ? value : defaultValue;
}

std::string Profile::GetProfileString(std::string_view section, std::string_view name,
                                      std::string_view defaultText) const {
  const auto text = m_store.ReadValue(SectionKey(section), name);
  return text ? *text : std::string(defaultText);
}

bool Profile::WriteProfileInt(std::string_view section, std::string_view name, std::int32_t value) {
  return m_store.WriteInteger(SectionKey(section), name, value);
}

bool Profile::WriteProfileString(std::string_view section, std::string_view name, std::string_view text) {
  return m_store.WriteString(SectionKey(section), name, text);
}

}  // namespace lcu
