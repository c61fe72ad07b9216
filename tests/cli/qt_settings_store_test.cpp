// QtSettingsStore on an INI file in a temporary folder: the store contract, and writes that
// the file system refuses.
#include "qtstore/qt_settings_store.h"

#include <optional>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/settings_store_contract.h"

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
