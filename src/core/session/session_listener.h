// SessionListener: what an LcuSession tells the program around it. The desktop program's
// main window shows the status panes and acts on a new connection; its timer follows the
// session's due times. Every call has an empty default, so a program listens only to what
// it shows.
#pragma once

#include "core/logger/lcu_status_block.h"

namespace lcu {

class SessionListener {
 public:
  virtual ~SessionListener() = default;
  /// The status-bar texts after a poll (on line or off line).
  virtual void OnStatusPanes(const StatusPaneTexts&) {}
  /// The connection actions of a new connection have run.
  virtual void OnConnected() {}
  /// The next due time changed other than by the end of a step: a document started, or the
  /// connection actions began (the poll waits) or ended (the poll runs on its new period).
  virtual void OnScheduleChanged() {}
};

}  // namespace lcu
