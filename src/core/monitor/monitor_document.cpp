#include "core/monitor/monitor_document.h"

#include <algorithm>

namespace lcu {

void MonitorDocument::SetChannels(std::span<const std::uint16_t> channels) {
  m_nChannels = std::min(channels.size(), m_channels.size());
  std::copy_n(channels.begin(), m_nChannels, m_channels.begin());
  if (m_nChannels > 0) m_bStarted = true;
  RowsChanged();
}

void MonitorDocument::TakeReadings(std::span<const std::uint32_t> readings, const LocalTime& taken,
                                   Clock::TimePoint takenAt) {
  m_nReadings = std::min(readings.size(), m_nChannels);
  std::copy_n(readings.begin(), m_nReadings, m_readings.begin());
  m_readingsTime = taken;
  m_readingsTakenAt = takenAt;
}

void MonitorDocument::Relabel(std::uint32_t generation) {
  m_nLabelledGeneration = generation;
  RowsChanged();
}

void MonitorDocument::SetFont(const LogFont& font) {
  if (font == m_font) return;
  m_font = font;
  LayoutChanged();
}

void MonitorDocument::SetColumnWidths(const std::array<std::uint16_t, kMonitorColumns>& widths) {
  if (widths == m_columnWidths) return;
  m_columnWidths = widths;
  LayoutChanged();
}

void MonitorDocument::AddObserver(MonitorDocumentObserver& observer) { m_observers.push_back(&observer); }

void MonitorDocument::RemoveObserver(MonitorDocumentObserver& observer) { std::erase(m_observers, &observer); }

void MonitorDocument::RowsChanged() {
  m_nReadings = 0;
  m_readingsTakenAt.reset();
  for (std::size_t i = 0; i < m_observers.size(); ++i) m_observers[i]->OnRowsChanged(*this);
}

void MonitorDocument::LayoutChanged() {
  for (std::size_t i = 0; i < m_observers.size(); ++i) m_observers[i]->OnLayoutChanged(*this);
}

}  // namespace lcu
