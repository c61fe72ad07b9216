#include "gui/app/single_instance_lock.h"

#include <QDir>
#include <QStandardPaths>

namespace lcu::gui {

SingleInstanceLock::SingleInstanceLock(const QString& name) : m_lock(name) {
  // A running copy holds the lock however long it runs; only a dead owner frees it.
  m_lock.setStaleLockTime(0);
}

SingleInstanceLock::~SingleInstanceLock() = default;

QString SingleInstanceLock::DefaultName() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
  return QDir(folder).filePath(QStringLiteral("corvalent.lock"));
}

bool SingleInstanceLock::TryLock() { return m_lock.isLocked() || m_lock.tryLock(0); }

}  // namespace lcu::gui
