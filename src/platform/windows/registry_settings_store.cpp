#include "platform/windows/registry_settings_store.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <span>
#include <utility>

#include "core/util/little_endian.h"
#include "platform/windows/wide_text.h"

namespace lcu {

namespace {

// An open registry key, closed when it goes out of scope.
class Key {
 public:
  Key() = default;
  ~Key() {
    if (m_key) RegCloseKey(m_key);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  bool Open(const std::wstring& path, REGSAM access) {
    return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &m_key) == ERROR_SUCCESS;
  }
  bool Create(const std::wstring& path) {
    return RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                           &m_key, nullptr) == ERROR_SUCCESS;
  }
  HKEY Get() const { return m_key; }

 private:
  HKEY m_key = nullptr;
};

// A value name becomes part of a key path in the family's other stores (the INI file of
// the Qt store), where a separator would open a key; the unnamed default value has no place
// there either. Such names are refused so that every store holds the same tree.
bool IsValidName(std::string_view name) { return !name.empty() && name.find_first_of("\\/") == std::string_view::npos; }

std::optional<std::string> ValueText(HKEY key, const std::wstring& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  // Another program may change the value between the two queries: ask again with its new size.
  std::wstring data;
  LSTATUS status = ERROR_MORE_DATA;
  while (status == ERROR_MORE_DATA) {
    data.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    status = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  }
  if (status != ERROR_SUCCESS) return std::nullopt;
  // Registry numbers are stored little-endian.
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data.data()), size);
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      // The stored text may or may not end with its terminator; it ends at the first one.
      data.resize(size / sizeof(wchar_t));
      data.resize(std::min(data.size(), data.find(L'\0')));
      return win::Utf8FromWide(data);
    }
    case REG_DWORD: {
      if (size < sizeof(DWORD)) return std::nullopt;
      return std::to_string(le::S32(bytes, 0));
    }
    case REG_QWORD: {
      if (size < sizeof(std::uint64_t)) return std::nullopt;
      return std::to_string(static_cast<std::int64_t>(le::U64(bytes, 0)));
    }
    default: return std::nullopt;
  }
}

std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

// Appends every value of the key at path and of its subkeys; prefix is the key's path below
// the root as listed ("" for the root itself).
void ListKey(const std::wstring& path, const std::string& prefix, std::vector<SettingsEntry>& out) {
  Key key;
  if (!key.Open(path, KEY_READ)) return;
  DWORD subkeys = 0;
  DWORD longestSubkey = 0;
  DWORD values = 0;
  DWORD longestName = 0;
  if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return;
  }
  std::wstring name(longestName + 1, L'\0');
  for (DWORD i = 0; i < values; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumValueW(key.Get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      continue;
    const std::wstring valueName(name.data(), length);
    if (valueName.empty()) continue;  // the unnamed default value is no setting
    if (auto text = ValueText(key.Get(), valueName)) out.push_back({prefix, win::Utf8FromWide(valueName), *text});
  }
  std::wstring subkey(longestSubkey + 1, L'\0');
  for (DWORD i = 0; i < subkeys; ++i) {
    DWORD length = static_cast<DWORD>(subkey.size());
    if (RegEnumKeyExW(key.Get(), i, subkey.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      continue;
    const std::wstring child(subkey.data(), length);
    const std::string childName = win::Utf8FromWide(child);
    ListKey(path + L"\\" + child, prefix.empty() ? childName : prefix + "\\" + childName, out);
  }
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::wstring root) : m_root(std::move(root)) {}

std::string RegistrySettingsStore::Location() const { return "HKEY_CURRENT_USER\\" + win::Utf8FromWide(m_root); }

// The root and the key's segments joined with backslashes; empty segments are dropped, as
// the registry would refuse them.
std::wstring RegistrySettingsStore::KeyPath(std::string_view key) const {
  std::wstring path = m_root;
  std::size_t start = 0;
  while (start <= key.size()) {
    const std::size_t end = std::min(key.find_first_of("\\/", start), key.size());
    if (end > start) path += L"\\" + win::WideFromUtf8(key.substr(start, end - start));
    start = end + 1;
  }
  return path;
}

bool RegistrySettingsStore::KeyExists(std::string_view key) const {
  Key open;
  if (!open.Open(KeyPath(key), KEY_QUERY_VALUE)) return false;
  DWORD subkeys = 0;
  DWORD values = 0;
  if (RegQueryInfoKeyW(open.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return subkeys > 0 || values > 0;
}

std::optional<std::string> RegistrySettingsStore::ReadValue(std::string_view key, std::string_view name) const {
  if (!IsValidName(name)) return std::nullopt;
  Key open;
  if (!open.Open(KeyPath(key), KEY_QUERY_VALUE)) return std::nullopt;
  return ValueText(open.Get(), win::WideFromUtf8(name));
}

bool RegistrySettingsStore::WriteString(std::string_view key, std::string_view name, std::string_view text) {
  // Stored with its terminator, as the family's programs write their strings.
  const std::wstring wide = win::WideFromUtf8(text);
  return Write(key, name, REG_SZ, wide.c_str(), static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

bool RegistrySettingsStore::WriteInteger(std::string_view key, std::string_view name, std::int32_t value) {
  const auto dword = static_cast<DWORD>(value);
  return Write(key, name, REG_DWORD, &dword, sizeof dword);
}

bool RegistrySettingsStore::Write(std::string_view key, std::string_view name, unsigned long type, const void* data,
                                  unsigned long size) {
  if (!IsValidName(name)) return false;
  Key open;
  if (!open.Create(KeyPath(key))) return false;
  return RegSetValueExW(open.Get(), win::WideFromUtf8(name).c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
         ERROR_SUCCESS;
}

std::vector<SettingsEntry> RegistrySettingsStore::List() const {
  std::vector<SettingsEntry> entries;
  ListKey(m_root, "", entries);
  std::sort(entries.begin(), entries.end(), [](const SettingsEntry& a, const SettingsEntry& b) {
    return std::pair(Fold(a.key), Fold(a.name)) < std::pair(Fold(b.key), Fold(b.name));
  });
  return entries;
}

}  // namespace lcu
