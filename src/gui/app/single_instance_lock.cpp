// The single-copy lock outside Windows: a lock file, and a local socket beside it on which
// the running copy hears a second start.
#include "gui/app/single_instance_lock.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QWidget>

namespace lcu::gui {

namespace {

// The address of the socket at path; false when the path does not fit an address.
bool AddressOf(const QString& path, sockaddr_un& address) {
  const QByteArray name = QFile::encodeName(path);
  address = {};
  address.sun_family = AF_UNIX;
  if (name.isEmpty() || static_cast<std::size_t>(name.size()) >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
  return true;
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(const QString& name) : m_name(name), m_lock(name) {
  // A running copy holds the lock however long it runs; only a dead owner frees it.
  m_lock.setStaleLockTime(0);
}

SingleInstanceLock::~SingleInstanceLock() {
  if (m_listener < 0) return;
  m_notifier.reset();
  ::close(m_listener);
  QFile::remove(SocketPath());
}

QString SingleInstanceLock::DefaultName() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
  return QDir(folder).filePath(QStringLiteral("corvalent.lock"));
}

bool SingleInstanceLock::TryLock() { return m_lock.isLocked() || m_lock.tryLock(0); }

QString SingleInstanceLock::SocketPath() const { return m_name + QStringLiteral(".socket"); }

// Only the lock's holder listens, so a socket found at the path is a leftover of a copy that
// crashed and is replaced. Without the socket the program still runs; a second start then
// only ends.
void SingleInstanceLock::MarkMainWindow(QWidget& window) {
  m_window = &window;
  if (m_listener >= 0 || !m_lock.isLocked()) return;
  sockaddr_un address{};
  if (!AddressOf(SocketPath(), address)) return;
  const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listener < 0) return;
  ::unlink(address.sun_path);
  if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(listener, 4) != 0) {
    ::close(listener);
    return;
  }
  m_listener = listener;
  m_notifier = std::make_unique<QSocketNotifier>(listener, QSocketNotifier::Read);
  QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { OnSecondStart(); });
}

bool SingleInstanceLock::ActivateRunningCopy() {
  sockaddr_un address{};
  if (!AddressOf(SocketPath(), address)) return false;
  const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection < 0) return false;
  const bool connected = ::connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  ::close(connection);
  return connected;
}

// Every connection is one second start: each is taken and closed, then the window comes up.
void SingleInstanceLock::OnSecondStart() {
  for (;;) {
    const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
      if (errno == EINTR) continue;
      break;
    }
    ::close(connection);
  }
  QWidget* window = m_window.data();
  if (window == nullptr) return;
  if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace lcu::gui
