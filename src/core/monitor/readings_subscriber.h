// ReadingsSubscriber: anyone who wants the readings a session's exchanges bring: a window's
// table, a chart, a recorder, the command line's output. A subscriber subscribes to the
// documents it shows and gets every published reading of those, and of no others; adding
// one never adds LCU traffic.
#pragma once

#include <cstdint>
#include <span>

#include "core/host/clock.h"

namespace lcu {

class MonitorDocument;

class ReadingsSubscriber {
 public:
  virtual ~ReadingsSubscriber() = default;
  /// One successful exchange of the document: one raw reading per row, in row order, and
  /// the local time they were taken. The span lives until the call returns.
  virtual void OnReadings(const MonitorDocument& document, std::span<const std::uint32_t> raw,
                          const LocalTime& taken) = 0;
  /// The document's exchange of a tick failed (the LCU is off line or the transfer broke):
  /// no readings this time. A record keeps the tick as a gap; a table keeps what it shows.
  virtual void OnMissedReadings(const MonitorDocument& document, const LocalTime& when) {
    (void)document;
    (void)when;
  }
};

}  // namespace lcu
