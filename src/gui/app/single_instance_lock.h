// SingleInstanceLock: lets one copy of the program run per user.
//
// On Windows the lock is a named mutex in the user's session ("Local\" namespace): the
// system frees it with the process, so a copy that crashed never locks the user out, and
// a second start finds the running copy's main window by a mark the first copy puts on it
// (MarkMainWindow) and brings it to the front. Elsewhere the lock is a file in the user's
// runtime (or temporary) folder holding the owner's process id; a lock left behind by a
// copy that crashed is taken over, since its process no longer runs.
#pragma once

#include <QString>

#ifdef Q_OS_WIN
class QWidget;
#else
#include <QLockFile>
#endif

namespace lcu::gui {

class SingleInstanceLock {
 public:
  explicit SingleInstanceLock(const QString& name = DefaultName());
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  /// The user's lock: the kernel object "Local\Velmora.corvalent" on Windows; elsewhere the
  /// file "corvalent.lock" in the runtime folder, else the temporary folder.
  static QString DefaultName();

  /// True when this copy holds the lock; false when another running copy holds it.
  bool TryLock();

#ifdef Q_OS_WIN
  // Elsewhere the window system decides which window may take the focus, and a second
  // start only ends.

  /// Marks window as the one a second start brings to the front.
  void MarkMainWindow(QWidget& window);

  /// Brings the running copy's marked window to the front, restored if it was minimized;
  /// false when no window carries the mark.
  bool ActivateRunningCopy();

 private:
  QString m_name;
  void* m_mutex = nullptr;
  bool m_owned = false;
#else

 private:
  QLockFile m_lock;
#endif
};

}  // namespace lcu::gui
