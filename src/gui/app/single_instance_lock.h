// SingleInstanceLock: lets one copy of the program run per user. The lock is a file in the
// user's runtime (or temporary) folder holding the owner's process id; a lock left behind
// by a copy that crashed is taken over, since its process no longer runs.
#pragma once

#include <QLockFile>
#include <QString>

namespace lcu::gui {

class SingleInstanceLock {
 public:
  explicit SingleInstanceLock(const QString& path = DefaultPath());

  /// The user's lock file: "corvalent.lock" in the runtime folder, else the temporary folder.
  static QString DefaultPath();

  /// True when this copy holds the lock; false when another running copy holds it.
  bool TryLock();

 private:
  QLockFile m_lock;
};

}  // namespace lcu::gui
