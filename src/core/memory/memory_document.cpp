#include "core/memory/memory_document.h"

#include <algorithm>
#include <utility>

namespace lcu {

void MemoryDocument::SetRun(std::uint16_t address, std::int32_t range) {
  m_wAddress = address;
  m_nRange = range;
  m_rows.clear();
  m_rowsReadAt.reset();
  for (std::size_t i = 0; i < m_observers.size(); ++i) m_observers[i]->OnRunChanged(*this);
}

void MemoryDocument::TakeRows(std::vector<MemoryRow> rows, const LocalTime& read, Clock::TimePoint readAt) {
  m_rows = std::move(rows);
  m_rowsTime = read;
  m_rowsReadAt = readAt;
  for (std::size_t i = 0; i < m_observers.size(); ++i) m_observers[i]->OnRowsRead(*this);
}

void MemoryDocument::AddObserver(MemoryDocumentObserver& observer) { m_observers.push_back(&observer); }

void MemoryDocument::RemoveObserver(MemoryDocumentObserver& observer) { std::erase(m_observers, &observer); }

}  // namespace lcu
