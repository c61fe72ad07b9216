#include "core/logger/logged_memory_use.h"

namespace lcu {

std::optional<LoggedMemoryUse> MemoryUseOf(const LoggerHeader& header) {
  if (header.MemorySize() == 0 || header.MemorySize() > kMaxMemorySize) return std::nullopt;
  if (FindBufferTableProblem(header)) return std::nullopt;
  const std::size_t n = header.BufferCount();
  LoggedMemoryUse use;
  for (std::size_t i = 0; i < n; ++i) use.usedBytes += header.ExtentOf(i).length;
  use.capacityBytes = Distance(header.Entry(0).start, header.Entry(n).start);
  return use;
}

}  // namespace lcu
