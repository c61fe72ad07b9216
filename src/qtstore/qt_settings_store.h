// QtSettingsStore: the settings tree of the product family kept by QSettings. On Windows it
// is the registry key "HKEY_CURRENT_USER\Software\VB and VBA Program Settings\Velmora",
// shared with the family's other programs (integers as DWORD values); elsewhere it is an
// INI file, by default "<user configuration folder>/Velmora/Velmora.ini".
//
// Keys ("Corvalent\Settings", "Config\LCUs\Serial3") become nested QSettings groups. Keys
// and value names compare without regard to case, as in the registry: a write to an
// existing key or value keeps the spelling already stored.
#pragma once

#include <memory>
#include <string>

#include <QSettings>
#include <QString>
#include <QVariant>

#include "core/host/settings_store.h"

namespace lcu {

class QtSettingsStore final : public SettingsStore {
 public:
  /// The current user's store: the registry on Windows, DefaultIniPath() elsewhere.
  QtSettingsStore();
  /// An INI file at iniFile, on every platform (tests, portable set-ups).
  explicit QtSettingsStore(const QString& iniFile);

  /// "<QStandardPaths::ConfigLocation>/Velmora/Velmora.ini".
  static QString DefaultIniPath();

  /// Where the values live: the INI file's path or the registry key, for messages.
  std::string Location() const;

  bool KeyExists(std::string_view key) const override;
  std::optional<std::string> ReadValue(std::string_view key, std::string_view name) const override;
  bool WriteString(std::string_view key, std::string_view name, std::string_view text) override;
  bool WriteInteger(std::string_view key, std::string_view name, std::int32_t value) override;
  std::vector<SettingsEntry> List() const override;

 private:
  QtSettingsStore(const QString& location, QSettings::Format format);

  // A fresh QSettings per operation: its status starts clean, so each write reports its
  // own outcome, and changes made by other processes are seen.
  std::unique_ptr<QSettings> Open() const;
  bool Write(std::string_view key, std::string_view name, const QVariant& value);

  QString m_location;
  QSettings::Format m_format;
};

}  // namespace lcu
