// ProgramFlags: the on/off states the LCU commands share: the three settings flags, kept in
// the settings store, and the logger started by hand, which the status poll resets when the
// LCU goes off line.
#pragma once

#include <cstdint>

namespace lcu {

struct ProgramFlags {
  std::int32_t m_bAutoDownload = 0;
  std::int32_t m_bPreserveBuffer = 0;  // Protect Data
  std::int32_t m_bLoggerStarted = 0;
  std::int32_t m_bPreserveQmt = 0;
};

}  // namespace lcu
