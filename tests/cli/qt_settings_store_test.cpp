// QtSettingsStore on an INI file in a temporary folder: the store contract, and writes that
// the file system refuses.
#include "qtstore/qt_settings_store.h"

#include <optional>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/settings_store_contract.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace lcu {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
 protected:
  QTemporaryDir m_dir;
};

// A write that does not reach the file must say so, and must not leave this process reading a
// value the file does not hold: a read-only file is refused before anything is written, in a
// read-only folder the file itself looks writable and only saving it fails, and below a plain
// file or in place of a folder the file cannot be made at all.
TEST_F(QtSettingsStoreTest, WriteThatCannotReachTheFileFails) {
  const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
  QFile plain(m_dir.filePath(QStringLiteral("plain")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  const struct {
    const char* ini;
    const char* locked;  // made read-only after a first write; null: the file cannot be made
  } cases[] = {{"file/Velmora.ini", "file/Velmora.ini"},
               {"folder/Velmora.ini", "folder"},
               {"plain/Velmora.ini", nullptr},
               {"folder.ini", nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ini);
    const QString ini = m_dir.filePath(QString::fromLatin1(c.ini));
    ASSERT_TRUE(QDir().mkpath(c.locked ? QFileInfo(ini).path() : m_dir.filePath(QStringLiteral("folder.ini"))));
    const QString locked = c.locked ? m_dir.filePath(QString::fromLatin1(c.locked)) : QString();
    if (c.locked) {
      ASSERT_TRUE(QtSettingsStore(ini).WriteString("Paths", "SetupDirectory", "/old"));
      QFile::setPermissions(locked, readOnly);
#if !defined(_WIN32)
      if (access(locked.toLocal8Bit().constData(), W_OK) == 0) {  // this user may write regardless
        QFile::setPermissions(locked, readOnly | QFile::WriteOwner);
        continue;
      }
#endif
    }
    QtSettingsStore store(ini);
    EXPECT_FALSE(store.WriteString("Paths", "SetupDirectory", "/new"));
    EXPECT_FALSE(store.WriteInteger("Paths", "Level", 3));
    EXPECT_EQ(store.ReadValue("Paths", "SetupDirectory"), c.locked ? std::optional<std::string>("/old") : std::nullopt);
    EXPECT_EQ(store.ReadValue("Paths", "Level"), std::nullopt);
    if (c.locked) QFile::setPermissions(locked, readOnly | QFile::WriteOwner);
  }
}

}  // namespace
}  // namespace lcu

namespace lcu::test {

struct QtIniBacking {
  SettingsStore& Store() {
    if (!store) store.emplace(Path());
    return *store;
  }
  const SettingsStore& Fresh() { return fresh.emplace(Path()); }
  QString Path() const { return dir.filePath(QStringLiteral("Velmora.ini")); }

  QTemporaryDir dir;
  std::optional<QtSettingsStore> store;
  std::optional<QtSettingsStore> fresh;
};
INSTANTIATE_TYPED_TEST_SUITE_P(QtIni, SettingsStoreContract, ::testing::Types<QtIniBacking>);

}  // namespace lcu::test
