#include "core/link/command_lease.h"

#include "core/link/link_owner.h"

namespace lcu {

CommandLease::~CommandLease() {
  if (!m_owner || !m_bOuter) return;
  m_owner->m_bCommandRunning = 0;
  m_owner->m_bDownloadRunning = 0;
  m_owner->m_bDownloading = 0;
}

bool CommandLease::LetEventsThrough(const std::function<bool()>& pump) {
  const LinkOwner::WaitScope wait(*m_owner);
  const std::int32_t wasDownloading = m_owner->m_bDownloading;
  m_owner->m_bDownloading = m_owner->m_bDownloadRunning;
  const bool running = pump();
  m_owner->m_bDownloading = wasDownloading;
  return running;
}

bool CommandLease::StopRequested() const { return m_owner->StopRequested(); }

void CommandLease::ClearStopRequest() { m_owner->m_bStopDownload = 0; }

}  // namespace lcu
