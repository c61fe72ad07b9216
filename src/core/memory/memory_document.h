// MemoryDocument: what the memory window shows, without the window: the run of LCU bytes it
// looks at (first address and number of rows) and the rows of the last successful read with
// the time they were read. The address bar changes the run, the session reads the rows; the
// window's view is told of each change.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/host/clock.h"
#include "core/link/lcu_protocol.h"
#include "core/memory/memory_row.h"

namespace lcu {

class MemoryDocument;

/// The run of a new memory window.
inline constexpr std::uint16_t kFirstMemoryAddress = kStatusAddress;
inline constexpr std::int32_t kFirstMemoryRange = 16;

class MemoryDocumentObserver {
 public:
  virtual ~MemoryDocumentObserver() = default;
  /// The run changed: new addresses, no values until the next read.
  virtual void OnRunChanged(const MemoryDocument& document) = 0;
  /// A read brought the rows' values.
  virtual void OnRowsRead(const MemoryDocument& document) = 0;
};

class MemoryDocument {
 public:
  MemoryDocument() = default;
  MemoryDocument(const MemoryDocument&) = delete;
  MemoryDocument& operator=(const MemoryDocument&) = delete;

  /// The address of the first row and the number of rows asked for (1 to 64); the rows
  /// shown never go past 0xFFFF.
  std::uint16_t Address() const { return m_wAddress; }
  std::int32_t Range() const { return m_nRange; }
  int RowCount() const { return MemoryRowCount(m_wAddress, m_nRange); }
  void SetRun(std::uint16_t address, std::int32_t range);

  /// The rows of the last successful read and when they were read (local time to show,
  /// monotonic time to age them by; none before the first read of the run).
  std::span<const MemoryRow> Rows() const { return m_rows; }
  const LocalTime& RowsTime() const { return m_rowsTime; }
  std::optional<Clock::TimePoint> RowsReadAt() const { return m_rowsReadAt; }
  void TakeRows(std::vector<MemoryRow> rows, const LocalTime& read, Clock::TimePoint readAt);

  void AddObserver(MemoryDocumentObserver& observer);
  void RemoveObserver(MemoryDocumentObserver& observer);

 private:
  std::uint16_t m_wAddress = kFirstMemoryAddress;
  std::int32_t m_nRange = kFirstMemoryRange;
  std::vector<MemoryRow> m_rows;
  LocalTime m_rowsTime;
  std::optional<Clock::TimePoint> m_rowsReadAt;
  std::vector<MemoryDocumentObserver*> m_observers;
};

}  // namespace lcu
