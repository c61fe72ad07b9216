// CommandLease: the link held for one command's run, from LinkOwner::BeginCommand to the end
// of its scope. An empty lease (refused) converts to false.
#pragma once

#include <functional>

namespace lcu {

class LinkOwner;

class CommandLease {
 public:
  /// An empty lease: the command was refused.
  CommandLease() = default;
  CommandLease(CommandLease&& other) noexcept : m_owner(other.m_owner), m_bOuter(other.m_bOuter) {
    other.m_owner = nullptr;
  }
  CommandLease& operator=(CommandLease&&) = delete;
  CommandLease(const CommandLease&) = delete;
  CommandLease& operator=(const CommandLease&) = delete;
  /// Gives the link back (the outer lease of a command only; see LinkOwner::BeginCommand).
  ~CommandLease();

  explicit operator bool() const { return m_owner != nullptr; }

  /// Lets the program's waiting events through with pump, between two exchanges: the
  /// session may poll and read memory meanwhile, and while a download does this its monitor
  /// documents stand still. Returns what pump returns (false: the program is quitting).
  bool LetEventsThrough(const std::function<bool()>& pump);

  /// Whether the user asked the running download to stop (LinkOwner::RequestStop) since the
  /// request was last cleared.
  bool StopRequested() const;
  void ClearStopRequest();

 private:
  friend class LinkOwner;
  CommandLease(LinkOwner& owner, bool outer) : m_owner(&owner), m_bOuter(outer) {}

  LinkOwner* m_owner = nullptr;
  bool m_bOuter = false;
};

}  // namespace lcu
