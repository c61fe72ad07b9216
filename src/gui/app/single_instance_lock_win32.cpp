// The single-copy lock on Windows: a named mutex of the user's session, and the mark on the
// main window by which a second start finds the running copy.
#include <windows.h>

#include <QWidget>

#include "gui/app/single_instance_lock.h"

namespace lcu::gui {

namespace {

// Window properties can be read from any process on the same desktop, so the second copy
// finds the first one's window without shared memory or a window class of its own.
constexpr wchar_t kMainWindowMark[] = L"Velmora.corvalent.MainWindow";

BOOL CALLBACK FindMarkedWindow(HWND window, LPARAM found) {
  if (GetPropW(window, kMainWindowMark) == nullptr) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(const QString& name) : m_name(name) {}

SingleInstanceLock::~SingleInstanceLock() {
  if (m_mutex != nullptr) CloseHandle(m_mutex);
}

QString SingleInstanceLock::DefaultName() { return QStringLiteral("Local\\Velmora.corvalent"); }

bool SingleInstanceLock::TryLock() {
  if (m_owned) return true;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(m_name.utf16()));
  const DWORD error = GetLastError();
  if (mutex != nullptr && error == ERROR_ALREADY_EXISTS) {
    // The handle would keep the object alive after the running copy ends.
    CloseHandle(mutex);
    return false;
  }
  // An object of that name that this user may not open belongs to a copy running elevated.
  if (mutex == nullptr && error == ERROR_ACCESS_DENIED) return false;
  // Any other failure to make the object leaves the program running without the lock: one
  // copy too many is better than a program that does not start.
  m_mutex = mutex;
  m_owned = true;
  return true;
}

void SingleInstanceLock::MarkMainWindow(QWidget& window) {
  SetPropW(reinterpret_cast<HWND>(window.winId()), kMainWindowMark, reinterpret_cast<HANDLE>(1));
}

bool SingleInstanceLock::ActivateRunningCopy() {
  HWND window = nullptr;
  EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&window));
  if (window == nullptr) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  // A program the user just started may give the focus away: the second copy runs in the
  // foreground, so the running copy's window comes to the front, not just flashes.
  SetForegroundWindow(window);
  return true;
}

}  // namespace lcu::gui
