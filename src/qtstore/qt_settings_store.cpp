#include "qtstore/qt_settings_store.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include <QDir>
#include <QStandardPaths>
#include <QStringList>

namespace lcu {

namespace {

constexpr char kFamilyFolder[] = "Velmora";
constexpr char kIniFileName[] = "Velmora.ini";
#if defined(Q_OS_WIN)
constexpr char kRegistryRoot[] = "HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Velmora";
#endif

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string ToStdString(const QString& text) { return text.toStdString(); }

// A value name becomes the last part of a QSettings key, where both separators would open
// a group; the registry's unnamed default value has no counterpart.
bool IsValidName(std::string_view name) { return !name.empty() && name.find_first_of("\\/") == std::string_view::npos; }

// The stored spelling of a group or value name, or the wanted one when none matches.
QString StoredSpelling(const QStringList& stored, const QString& wanted) {
  for (const QString& name : stored)
    if (name.compare(wanted, Qt::CaseInsensitive) == 0) return name;
  return wanted;
}

// Enters the group of a key segment by segment, following the spelling already stored.
void EnterKey(QSettings& settings, std::string_view key) {
  QString path = ToQString(key);
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  for (const QString& segment : path.split(QLatin1Char('/'), Qt::SkipEmptyParts))
    settings.beginGroup(StoredSpelling(settings.childGroups(), segment));
}

std::string ValueText(const QVariant& value) {
  // An INI line edited by hand with unquoted commas reads back as a list.
  if (value.typeId() == QMetaType::QStringList) return ToStdString(value.toStringList().join(QLatin1Char(',')));
  return ToStdString(value.toString());
}

std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

}  // namespace

#if defined(Q_OS_WIN)
QtSettingsStore::QtSettingsStore() : QtSettingsStore(QString::fromLatin1(kRegistryRoot), QSettings::NativeFormat) {}
#else
QtSettingsStore::QtSettingsStore() : QtSettingsStore(DefaultIniPath(), QSettings::IniFormat) {}
#endif

QtSettingsStore::QtSettingsStore(const QString& iniFile) : QtSettingsStore(iniFile, QSettings::IniFormat) {}

QtSettingsStore::QtSettingsStore(const QString& location, QSettings::Format format)
    : m_location(location), m_format(format) {}

QString QtSettingsStore::DefaultIniPath() {
  const QDir config(QStandardPaths::writableLocation(QStandardPaths::ConfigLocation));
  return config.filePath(QString::fromLatin1(kFamilyFolder) + QLatin1Char('/') + QString::fromLatin1(kIniFileName));
}

std::string QtSettingsStore::Location() const { return ToStdString(QDir::toNativeSeparators(m_location)); }

std::unique_ptr<QSettings> QtSettingsStore::Open() const { return std::make_unique<QSettings>(m_location, m_format); }

bool QtSettingsStore::KeyExists(std::string_view key) const {
  const auto settings = Open();
  EnterKey(*settings, key);
  return !settings->childKeys().isEmpty() || !settings->childGroups().isEmpty();
}

std::optional<std::string> QtSettingsStore::ReadValue(std::string_view key, std::string_view name) const {
  if (!IsValidName(name)) return std::nullopt;
  const auto settings = Open();
  EnterKey(*settings, key);
  const QVariant value = settings->value(StoredSpelling(settings->childKeys(), ToQString(name)));
  if (!value.isValid()) return std::nullopt;
  return ValueText(value);
}

bool QtSettingsStore::WriteString(std::string_view key, std::string_view name, std::string_view text) {
  return Write(key, name, QVariant(ToQString(text)));
}

bool QtSettingsStore::WriteInteger(std::string_view key, std::string_view name, std::int32_t value) {
  return Write(key, name, QVariant(static_cast<int>(value)));
}

bool QtSettingsStore::Write(std::string_view key, std::string_view name, const QVariant& value) {
  if (!IsValidName(name)) return false;
  const auto settings = Open();
  if (!settings->isWritable()) return false;
  EnterKey(*settings, key);
  const QString storedName = StoredSpelling(settings->childKeys(), ToQString(name));
  const QVariant previous = settings->value(storedName);
  settings->setValue(storedName, value);
  settings->sync();
  if (settings->status() == QSettings::NoError) return true;
  // QSettings keeps unsaved changes in a cache that every later QSettings of this file
  // shares; take the change back so that this process goes on reading what is stored.
  if (previous.isValid())
    settings->setValue(storedName, previous);
  else
    settings->remove(storedName);
  return false;
}

std::vector<SettingsEntry> QtSettingsStore::List() const {
  const auto settings = Open();
  std::vector<SettingsEntry> entries;
  for (const QString& fullKey : settings->allKeys()) {
    const qsizetype slash = fullKey.lastIndexOf(QLatin1Char('/'));
    QString key = slash < 0 ? QString() : fullKey.left(slash);
    key.replace(QLatin1Char('/'), QLatin1Char('\\'));
    entries.push_back({ToStdString(key), ToStdString(fullKey.mid(slash + 1)), ValueText(settings->value(fullKey))});
  }
  std::sort(entries.begin(), entries.end(), [](const SettingsEntry& a, const SettingsEntry& b) {
    return std::pair(Fold(a.key), Fold(a.name)) < std::pair(Fold(b.key), Fold(b.name));
  });
  return entries;
}

}  // namespace lcu
