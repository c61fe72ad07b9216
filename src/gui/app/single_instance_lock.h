// SingleInstanceLock: lets one copy of the program run per user.
//
// On Windows the lock is a named mutex in the user's session ("Local\" namespace): the
// system frees it with the process, so a copy that crashed never locks the user out, and
// a second start finds the running copy's main window by a mark the first copy puts on it
// (MarkMainWindow) and brings it to the front. Elsewhere the lock is a file in the user's
// runtime (or temporary) folder holding the owner's process id; a lock left behind by a
// copy that crashed is taken over, since its process no longer runs. Beside it the running
// copy listens on a local socket (the lock's name with ".socket"): a second start connects
// to it, and the running copy brings its main window to the front.
#pragma once

#include <QString>

class QWidget;

#ifndef Q_OS_WIN
#include <memory>

#include <QLockFile>
#include <QPointer>

class QSocketNotifier;
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

  /// Marks window as the one a second start brings to the front (only the lock's holder
  /// may).
  void MarkMainWindow(QWidget& window);

  /// Brings the running copy's marked window to the front, restored if it was minimized;
  /// false when no window carries the mark.
  bool ActivateRunningCopy();

 private:
#ifdef Q_OS_WIN
  QString m_name;
  void* m_mutex = nullptr;
  bool m_owned = false;
#else
  QString SocketPath() const;
  void OnSecondStart();

  QString m_name;
  QLockFile m_lock;
  int m_listener = -1;
  std::unique_ptr<QSocketNotifier> m_notifier;
  QPointer<QWidget> m_window;
#endif
};

}  // namespace lcu::gui
