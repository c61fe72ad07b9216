#include "core/logger/lcu_status_block.h"

#include "core/util/little_endian.h"

namespace lcu {

LcuStatusBlock::LcuStatusBlock(std::span<const std::uint8_t, kBlockSize> b)
    : m_wMemorySize(le::U16(b, 2)),
      m_wLcuNumber(le::U16(b, 4)),
      m_wClockMinutes(le::U16(b, 6)),
      m_wStbc(le::U16(b, 8)),
      m_wMemoryFigure(le::U16(b, 10)),
      m_wFirmwareVersion(le::U16(b, 22)) {}

StatusPaneTexts OnlinePaneTexts(const LcuStatusBlock& status) {
  StatusPaneTexts t;
  t.link = kOnLine;
  t.lcu = "LCU# " + std::to_string(status.LcuNumber());
  t.memory = "MEM: " + std::to_string(status.ShownMemoryFigure());
  t.clock = "CLOCK: " + std::to_string(status.ClockMinutes() / 60) + ":" + std::to_string(status.ClockMinutes() % 60);
  return t;
}

StatusPaneTexts OfflinePaneTexts() {
  StatusPaneTexts t;
  t.link = kOffLine;
  return t;
}

}  // namespace lcu
