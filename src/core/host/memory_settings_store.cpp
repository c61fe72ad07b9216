#include "core/host/memory_settings_store.h"

#include <cctype>

namespace lcu {

std::string MemorySettingsStore::Fold(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '/') c = '\\';
  }
  return out;
}

bool MemorySettingsStore::KeyExists(std::string_view key) const {
  const std::string folded = Fold(key);
  for (const auto& [k, unused] : m_keys) {
    if (k == folded ||
        (k.size() > folded.size() && k.compare(0, folded.size(), folded) == 0 && k[folded.size()] == '\\'))
      return true;
  }
  return false;
}

std::optional<std::string> MemorySettingsStore::ReadValue(std::string_view key, std::string_view name) const {
  const auto k = m_keys.find(Fold(key));
  if (k == m_keys.end()) return std::nullopt;
  const auto v = k->second.values.find(Fold(name));
  if (v == k->second.values.end()) return std::nullopt;
  return v->second.text;
}

bool MemorySettingsStore::WriteString(std::string_view key, std::string_view name, std::string_view text) {
  // As in the programs' stores: a name with a key separator, or the unnamed value, has no
  // place in every store.
  if (m_bReadOnly || name.empty() || name.find_first_of("\\/") != std::string_view::npos) return false;
  Key& k = m_keys[Fold(key)];
  if (k.path.empty()) k.path = std::string(key);
  Value& v = k.values[Fold(name)];
  if (v.name.empty()) v.name = std::string(name);
  v.text = std::string(text);
  return true;
}

bool MemorySettingsStore::WriteInteger(std::string_view key, std::string_view name, std::int32_t value) {
  return WriteString(key, name, std::to_string(value));
}

std::vector<SettingsEntry> MemorySettingsStore::List() const {
  std::vector<SettingsEntry> out;
  for (const auto& [folded, k] : m_keys)
    for (const auto& [foldedName, v] : k.values) out.push_back({k.path, v.name, v.text});
  return out;
}

}  // namespace lcu
