// QtSettingsStore on an INI file in a temporary folder: what one store writes, a fresh store
// on the same file reads back.
#include "qt_settings_store.h"

#include <climits>
#include <cstdint>
#include <variant>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace lcu {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
 protected:
  QString IniPath() const { return m_dir.filePath(QStringLiteral("Velmora.ini")); }
  QtSettingsStore Store() const { return QtSettingsStore(IniPath()); }

  QTemporaryDir m_dir;
};

struct RoundTripCase {
  const char* key;
  const char* name;
  std::variant<std::int32_t, const char*> written;
  const char* read;
};

TEST_F(QtSettingsStoreTest, ValuesRoundTripThroughTheFile) {
  const RoundTripCase cases[] = {
      {"Corvalent\\Settings", "Auto Download", 1, "1"},
      {"Corvalent\\ChannelData", "ConfigStamp", INT32_MIN, "-2147483648"},
      {"Paths", "SetupDirectory", "C:\\Velmora\\Setup", "C:\\Velmora\\Setup"},
      {"Config\\LCUs\\Serial3", "Serial", "17", "17"},
      {"Corvalent\\Settings", "Monitor", "  two, three; four=5 #6 \"q\" @at  ", "  two, three; four=5 #6 \"q\" @at  "},
      {"Corvalent\\Settings", "Accented", "Z\xC3\xBCrich", "Z\xC3\xBCrich"},
      {"Corvalent\\Settings", "  Padded  Name ", "x", "x"},
  };
  QtSettingsStore writer = Store();
  for (const RoundTripCase& c : cases) {
    const bool written = std::holds_alternative<std::int32_t>(c.written)
                             ? writer.WriteInteger(c.key, c.name, std::get<std::int32_t>(c.written))
                             : writer.WriteString(c.key, c.name, std::get<const char*>(c.written));
    EXPECT_TRUE(written) << c.key << '\\' << c.name;
  }
  const QtSettingsStore reader = Store();
  for (const RoundTripCase& c : cases) EXPECT_EQ(reader.ReadValue(c.key, c.name), c.read) << c.key << '\\' << c.name;
}

TEST_F(QtSettingsStoreTest, MissingOrUnstorableValuesReadAsNothing) {
  QtSettingsStore store = Store();
  EXPECT_EQ(store.ReadValue("Paths", "SetupDirectory"), std::nullopt);
  ASSERT_TRUE(store.WriteString("Paths", "DataDirectory", "/data"));
  EXPECT_EQ(store.ReadValue("Paths", "SetupDirectory"), std::nullopt);
  EXPECT_EQ(store.ReadValue("Config", "DataDirectory"), std::nullopt);
  // A value name cannot hold a key separator, and the registry's unnamed value has no place.
  for (const char* name : {"", "a\\b", "a/b"}) {
    EXPECT_FALSE(store.WriteString("Config", name, "x")) << name;
    EXPECT_EQ(store.ReadValue("Config", name), std::nullopt) << name;
  }
  EXPECT_FALSE(store.KeyExists("Config"));
}

TEST_F(QtSettingsStoreTest, KeyExistsForKeysHoldingValuesOrSubkeys) {
  QtSettingsStore store = Store();
  EXPECT_FALSE(store.KeyExists("Config"));
  ASSERT_TRUE(store.WriteString("Config\\LCUs\\Serial3", "Serial", "17"));
  const struct {
    const char* key;
    bool exists;
  } cases[] = {
      {"Config", true},           {"Config\\LCUs", true},        {"Config\\LCUs\\Serial3", true},
      {"Config/LCUs/Serial3", true}, {"config\\lcus\\SERIAL3", true}, {"Config\\LCUs\\Serial4", false},
      {"Conf", false},            {"Config\\LCUs\\Serial3\\Serial", false},
  };
  for (const auto& c : cases) EXPECT_EQ(store.KeyExists(c.key), c.exists) << c.key;
}

TEST_F(QtSettingsStoreTest, KeysAndNamesIgnoreCaseAndKeepTheStoredSpelling) {
  QtSettingsStore store = Store();
  ASSERT_TRUE(store.WriteString("Config\\LCUs\\Serial1", "Serial", "1"));
  ASSERT_TRUE(store.WriteString("config/lcus/SERIAL1", "SERIAL", "2"));
  EXPECT_EQ(Store().ReadValue("CONFIG\\LCUs\\serial1", "serial"), "2");
  const auto entries = Store().List();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].key, "Config\\LCUs\\Serial1");
  EXPECT_EQ(entries[0].name, "Serial");
}

TEST_F(QtSettingsStoreTest, ListGivesEveryValueOrderedByKeyAndName) {
  QtSettingsStore store = Store();
  ASSERT_TRUE(store.WriteString("Paths", "SetupDirectory", "/setup"));
  ASSERT_TRUE(store.WriteString("Corvalent\\Settings", "Top", "0"));
  ASSERT_TRUE(store.WriteInteger("Corvalent\\Settings", "Auto Download", 1));
  ASSERT_TRUE(store.WriteString("Config\\LCUs\\Serial1", "Serial", "1"));
  ASSERT_TRUE(store.WriteString("Config\\Hardware", "Level", "2"));
  ASSERT_TRUE(store.WriteString("Corvalent\\Settings", "bottom", "600"));

  std::vector<std::string> listed;
  for (const SettingsEntry& e : Store().List()) listed.push_back(e.key + '\\' + e.name + '=' + e.text);
  EXPECT_EQ(listed, (std::vector<std::string>{
                        "Config\\Hardware\\Level=2",
                        "Config\\LCUs\\Serial1\\Serial=1",
                        "Corvalent\\Settings\\Auto Download=1",
                        "Corvalent\\Settings\\bottom=600",
                        "Corvalent\\Settings\\Top=0",
                        "Paths\\SetupDirectory=/setup",
                    }));
}

// A write that does not reach the file must say so, and must not leave this process
// reading a value the file does not hold.
void ExpectRefusedWrite(QtSettingsStore& store) {
  EXPECT_FALSE(store.WriteString("Paths", "SetupDirectory", "/new"));
  EXPECT_FALSE(store.WriteInteger("Paths", "Level", 3));
  EXPECT_NE(store.ReadValue("Paths", "SetupDirectory"), "/new");
  EXPECT_EQ(store.ReadValue("Paths", "Level"), std::nullopt);
}

// A read-only file is refused before anything is written; in a read-only folder the file
// itself looks writable and only saving it fails.
TEST_F(QtSettingsStoreTest, WriteRefusedByPermissionsFails) {
  const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
  const QFile::Permissions writable = readOnly | QFile::WriteOwner;
  const struct {
    const char* folder;
    bool lockFolder;
  } cases[] = {{"file", false}, {"folder", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    const QString folder = m_dir.filePath(QString::fromLatin1(c.folder));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString ini = QDir(folder).filePath(QStringLiteral("Velmora.ini"));
    ASSERT_TRUE(QtSettingsStore(ini).WriteString("Paths", "SetupDirectory", "/old"));
    const QString locked = c.lockFolder ? folder : ini;
    QFile::setPermissions(locked, readOnly);
#if !defined(_WIN32)
    if (access(locked.toLocal8Bit().constData(), W_OK) == 0) {
      QFile::setPermissions(locked, writable);
      GTEST_SKIP() << "this user may write where permissions forbid it";
    }
#endif
    QtSettingsStore store(ini);
    ExpectRefusedWrite(store);
    EXPECT_EQ(store.ReadValue("Paths", "SetupDirectory"), "/old");
    QFile::setPermissions(locked, writable);
  }
}

TEST_F(QtSettingsStoreTest, WriteToUnusableLocationFails) {
  QFile plainFile(m_dir.filePath(QStringLiteral("plain")));
  ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
  plainFile.close();
  ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder.ini")));
  for (const QString& path : {m_dir.filePath(QStringLiteral("plain/Velmora.ini")), m_dir.filePath(QStringLiteral("folder.ini"))}) {
    SCOPED_TRACE(path.toStdString());
    QtSettingsStore store(path);
    ExpectRefusedWrite(store);
  }
}

}  // namespace
}  // namespace lcu
