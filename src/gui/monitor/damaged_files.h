// DamagedFiles: the settings and chart files that a load of this run found cut short or not of
// their format. Such a file is never saved over as it is: before a save replaces it, it is
// renamed beside itself to "<name>.damaged" ("<name>.damaged.2" and on when that name is
// taken), so that what it held stays for the user to look at.
#pragma once

#include <QSet>
#include <QString>

namespace lcu::gui {

class DamagedFiles {
 public:
  /// Notes a file that a load found damaged.
  void Note(const QString& path);
  /// The name a damaged file at path is kept under: the first of its kept names that is free.
  static QString KeptName(const QString& path);
  /// Before a save replaces path: a noted file is renamed to its kept name, given in kept
  /// (empty when path was not noted). False with the system's reason when it could not be
  /// renamed; the save must then leave it as it is.
  bool KeepBeforeReplacing(const QString& path, QString& kept, QString& reason);
  /// After a save that was to replace path failed: the kept file takes its place again and
  /// stays noted.
  void PutBack(const QString& path, const QString& kept);

 private:
  static QString Key(const QString& path);

  QSet<QString> m_paths;
};

}  // namespace lcu::gui
