// A logger header that holds only a buffer table: the memory size, the wrap flag, the count and
// the entries (the last one the end marker), for tests of what is worked out from the table.
#pragma once

#include <cstdint>
#include <vector>

#include "core/logger/logger_header.h"

namespace lcu {

inline LoggerHeader HeaderWithBuffers(std::uint16_t memorySize, std::uint16_t wrap,
                                      const std::vector<LogBufferEntry>& entries) {
  LoggerHeader h;
  h.SetU16(hdr::kMemorySize, memorySize);
  h.SetU16(hdr::kWrapFlag, wrap);
  h.SetU16(hdr::kBufferCount, static_cast<std::uint16_t>(entries.size() - 1));
  for (std::size_t i = 0; i < entries.size(); ++i) h.SetEntry(i, entries[i]);
  return h;
}

}  // namespace lcu
