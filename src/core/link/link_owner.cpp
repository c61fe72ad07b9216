#include "core/link/link_owner.h"

namespace lcu {

CommandLease LinkOwner::BeginCommand(CommandKind kind) {
  if (m_device.IsBusy()) return {};
  if (m_bCommandRunning) {
    if (HolderWaits()) return {};
    return CommandLease(*this, false);
  }
  m_bCommandRunning = 1;
  m_nWaitingAtBegin = m_nWaiting;
  m_bDownloadRunning = kind == CommandKind::kDownload ? 1 : 0;
  return CommandLease(*this, true);
}

bool LinkOwner::SessionMayTransfer(SessionTraffic traffic) const {
  if (m_device.IsBusy()) return false;
  if (!m_bCommandRunning) return true;
  if (!HolderWaits()) return false;
  return traffic != SessionTraffic::kMonitor || !m_bDownloading;
}

}  // namespace lcu
