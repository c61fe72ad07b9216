// MonitorDocument: what one monitor window shows, without the window: its channel list, the
// readings of the last successful exchange with the time they were taken, the definition
// generation its labels were made from, and its layout (list font and column widths) as a
// settings file keeps it. Edit Channels, the settings file and the session change it; the
// window's view and anyone else who registered are told of each change.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/channels/channel_model.h"
#include "core/host/clock.h"
#include "core/monitor/log_font.h"
#include "core/monitor/settings_image.h"

namespace lcu {

class MonitorDocument;

/// Column widths of a new monitor window, in pixels.
inline constexpr std::array<std::uint16_t, kMonitorColumns> kDefaultColumnWidths = {50, 115, 60, 60, 50};

class MonitorDocumentObserver {
 public:
  virtual ~MonitorDocumentObserver() = default;
  /// The rows changed: a new channel list, or the same list to be labelled afresh after a
  /// reload of the channel definitions. The readings are gone until the next exchange.
  virtual void OnRowsChanged(const MonitorDocument& document) = 0;
  /// The list font or the column widths changed.
  virtual void OnLayoutChanged(const MonitorDocument& document) = 0;
};

class MonitorDocument {
 public:
  MonitorDocument() = default;
  MonitorDocument(const MonitorDocument&) = delete;
  MonitorDocument& operator=(const MonitorDocument&) = delete;

  /// Channel numbers of the rows, in row order (at most 1024).
  std::span<const std::uint16_t> Channels() const { return {m_channels.data(), m_nChannels}; }
  /// Takes a new channel list (cut to 1024). The first list with any channel starts the
  /// value updates; an empty list later keeps them running with nothing to exchange.
  void SetChannels(std::span<const std::uint16_t> channels);
  /// Whether the value updates have started.
  bool IsStarted() const { return m_bStarted; }

  /// The readings of the last successful exchange, one per row, and when they were taken
  /// (local time to show, monotonic time to age them by); empty, and no monotonic time,
  /// before the first one and after each change of the rows.
  std::span<const std::uint32_t> Readings() const { return {m_readings.data(), m_nReadings}; }
  const LocalTime& ReadingsTime() const { return m_readingsTime; }
  std::optional<Clock::TimePoint> ReadingsTakenAt() const { return m_readingsTakenAt; }
  /// Keeps a successful exchange's readings (one per row).
  void TakeReadings(std::span<const std::uint32_t> readings, const LocalTime& taken, Clock::TimePoint takenAt);

  /// The definition generation the rows were labelled with.
  std::uint32_t LabelledGeneration() const { return m_nLabelledGeneration; }
  /// The rows are to be labelled with the given generation's names and units.
  void Relabel(std::uint32_t generation);

  const LogFont& Font() const { return m_font; }
  const std::array<std::uint16_t, kMonitorColumns>& ColumnWidths() const { return m_columnWidths; }
  /// Changes of the layout; the observers hear only of a real change.
  void SetFont(const LogFont& font);
  void SetColumnWidths(const std::array<std::uint16_t, kMonitorColumns>& widths);

  void AddObserver(MonitorDocumentObserver& observer);
  void RemoveObserver(MonitorDocumentObserver& observer);

 private:
  void RowsChanged();
  void LayoutChanged();

  std::array<std::uint16_t, kChannelTableSize> m_channels{};
  std::size_t m_nChannels = 0;
  bool m_bStarted = false;
  std::array<std::uint32_t, kChannelTableSize> m_readings{};
  std::size_t m_nReadings = 0;
  LocalTime m_readingsTime;
  std::optional<Clock::TimePoint> m_readingsTakenAt;
  std::uint32_t m_nLabelledGeneration = 0;
  LogFont m_font;
  std::array<std::uint16_t, kMonitorColumns> m_columnWidths = kDefaultColumnWidths;
  std::vector<MonitorDocumentObserver*> m_observers;
};

}  // namespace lcu
