#include "gui/monitor/damaged_files.h"

#include <QFile>
#include <QFileInfo>

namespace lcu::gui {

namespace {
constexpr auto kKeptSuffix = ".damaged";
// Kept names tried before the rename is left to fail on the last one.
constexpr int kKeptNames = 1000;
}  // namespace

QString DamagedFiles::Key(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

void DamagedFiles::Note(const QString& path) { m_paths.insert(Key(path)); }

QString DamagedFiles::KeptName(const QString& path) {
  const QString first = path + QLatin1String(kKeptSuffix);
  QString name = first;
  for (int n = 2; n <= kKeptNames && QFileInfo::exists(name); ++n) name = first + QLatin1Char('.') + QString::number(n);
  return name;
}

bool DamagedFiles::KeepBeforeReplacing(const QString& path, QString& kept, QString& reason) {
  kept.clear();
  if (!m_paths.contains(Key(path))) return true;
  // A damaged file that has gone since the load leaves nothing to keep.
  if (!QFileInfo::exists(path)) {
    m_paths.remove(Key(path));
    return true;
  }
  QFile damaged(path);
  const QString name = KeptName(path);
  if (!damaged.rename(name)) {
    reason = damaged.errorString();
    return false;
  }
  m_paths.remove(Key(path));
  kept = name;
  return true;
}

void DamagedFiles::PutBack(const QString& path, const QString& kept) {
  if (kept.isEmpty()) return;
  QFile::rename(kept, path);
  Note(path);
}

}  // namespace lcu::gui
