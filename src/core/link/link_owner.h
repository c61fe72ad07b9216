// LinkOwner: who may use the link to the LCU at a given moment, the commands or the session.
//
// A command runs on a lease (BeginCommand) that it takes before it sends anything and holds
// until it ends. While a lease is held the session makes no transfer of its own, except
// while the command waits: for the user (a modal window, see WaitScope) or for the events it
// lets through between two exchanges (CommandLease::LetEventsThrough). Then the session's
// poll and memory reads go on as they would without the command; its monitor documents
// stand still while a download lets events through, so that no channel exchange comes
// between two of the download's buffers. Nothing at all uses the link while an exchange that
// must not be interleaved is under way (CUsbDevice::IsBusy).
//
// A second command that starts from the events a command lets through is refused; a command
// that calls another as its own step (zeroing that ends by sending the configuration)
// continues on its lease. The program is single-threaded in its use of the link: a lease is
// only ever asked for from the thread that runs the commands and the session.
#pragma once

#include <cstdint>

#include "core/link/command_lease.h"
#include "core/link/usb_device.h"

namespace lcu {

enum class CommandKind {
  kCommand,
  kDownload,  // lets events through between its buffers and chunks; can be asked to stop
};

/// The session's kinds of traffic.
enum class SessionTraffic {
  kPoll,     // the status poll and the channel-value request
  kMemory,   // the memory document's rows
  kMonitor,  // a monitor document's channel exchange
};

class LinkOwner {
 public:
  explicit LinkOwner(CUsbDevice& device) : m_device(device) {}
  LinkOwner(const LinkOwner&) = delete;
  LinkOwner& operator=(const LinkOwner&) = delete;

  CUsbDevice& Device() const { return m_device; }

  /// The lease for a command's run, or an empty one while another command's lease is held
  /// and that command waits (the new one came from the events it let through), or while a
  /// block read is under way. Asked for by the lease holder itself, the lease continues the
  /// holder's run and is the same lease.
  CommandLease BeginCommand(CommandKind kind);

  /// Whether the session may make a transfer of this kind now (see above).
  bool SessionMayTransfer(SessionTraffic traffic) const;
  /// Whether a command holds the link, and whether that command is a download.
  bool IsCommandRunning() const { return m_bCommandRunning != 0; }
  bool IsDownloadRunning() const { return m_bDownloadRunning != 0; }

  /// Asks a running download to stop at its next chunk. Sends nothing; the request stays
  /// until the next download clears it as it starts reading.
  void RequestStop() { m_bStopDownload = 1; }
  bool StopRequested() const { return m_bStopDownload != 0; }

  /// Marks the time a command waits for the user in a modal window: the session's traffic
  /// goes on meanwhile, as without the command.
  class WaitScope {
   public:
    explicit WaitScope(LinkOwner& owner) : m_owner(owner) { ++m_owner.m_nWaiting; }
    ~WaitScope() { --m_owner.m_nWaiting; }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;

   private:
    LinkOwner& m_owner;
  };

 private:
  friend class CommandLease;

  CUsbDevice& m_device;
  std::int32_t m_bCommandRunning = 0;   // a lease is held
  std::int32_t m_bDownloadRunning = 0;  // the lease is a download's
  std::int32_t m_bDownloading = 0;      // the download lets events through
  std::int32_t m_bStopDownload = 0;     // the user asked the download to stop
  // Waits under way (events pass), and how many were under way when the lease was taken: a
  // lease taken inside a window's wait has not waited until it waits itself.
  int m_nWaiting = 0;
  int m_nWaitingAtBegin = 0;

  bool HolderWaits() const { return m_nWaiting > m_nWaitingAtBegin; }
};

}  // namespace lcu
