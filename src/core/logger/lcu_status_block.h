// LcuStatusBlock: the 64 bytes at LCU 0x8000 that every poll reads, and the status-bar
// texts formed from them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/link/lcu_protocol.h"

namespace lcu {

class LcuStatusBlock {
 public:
  explicit LcuStatusBlock(std::span<const std::uint8_t, kBlockSize> bytes);

  std::uint16_t MemorySize() const { return m_wMemorySize; }
  std::uint16_t LcuNumber() const { return m_wLcuNumber; }
  std::uint16_t ClockMinutes() const { return m_wClockMinutes; }
  std::uint16_t Stbc() const { return m_wStbc; }
  std::uint16_t MemoryFigure() const { return m_wMemoryFigure; }
  /// The figure the status bar shows after "MEM: ".
  std::uint16_t ShownMemoryFigure() const { return static_cast<std::uint16_t>(m_wMemoryFigure >> 2); }
  std::uint16_t FirmwareVersion() const { return m_wFirmwareVersion; }

 private:
  std::uint16_t m_wMemorySize;
  std::uint16_t m_wLcuNumber;
  std::uint16_t m_wClockMinutes;
  std::uint16_t m_wStbc;
  std::uint16_t m_wMemoryFigure;
  std::uint16_t m_wFirmwareVersion;
};

/// The texts of status-bar panes 1 to 4.
struct StatusPaneTexts {
  std::string link;           // "ON LINE" or "OFF LINE"
  std::string lcu;            // "LCU# %u" or empty
  std::string memory;         // "MEM: %u" or empty
  std::string clock;          // "CLOCK: %u:%u" or empty
  std::string offlineReason;  // why the LCU is off line; empty while on line
};

inline constexpr const char* kOnLine = "ON LINE";
inline constexpr const char* kOffLine = "OFF LINE";

/// Pane texts for an on-line LCU with this status block.
StatusPaneTexts OnlinePaneTexts(const LcuStatusBlock& status);
/// Pane texts while the LCU is off line.
StatusPaneTexts OfflinePaneTexts();

}  // namespace lcu
