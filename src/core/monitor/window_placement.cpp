#include "core/monitor/window_placement.h"

#include <limits>

#include "core/util/little_endian.h"

namespace lcu {

std::optional<WindowGeometry> WindowPlacement::NormalGeometry() const {
  const std::int64_t width = std::int64_t{right} - left;
  const std::int64_t height = std::int64_t{bottom} - top;
  constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
  if (width <= 0 || height <= 0 || width > kLargest || height > kLargest) return std::nullopt;
  return WindowGeometry{left, top, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
}

WindowPlacement WindowPlacement::Read(std::span<const std::uint8_t, kWindowPlacementSize> bytes) {
  WindowPlacement p;
  p.length = le::U32(bytes, 0);
  p.flags = le::U32(bytes, 4);
  p.showCmd = le::U32(bytes, 8);
  p.minX = le::S32(bytes, 12);
  p.minY = le::S32(bytes, 16);
  p.maxX = le::S32(bytes, 20);
  p.maxY = le::S32(bytes, 24);
  p.left = le::S32(bytes, 28);
  p.top = le::S32(bytes, 32);
  p.right = le::S32(bytes, 36);
  p.bottom = le::S32(bytes, 40);
  return p;
}

void WindowPlacement::Write(std::span<std::uint8_t, kWindowPlacementSize> bytes) const {
  le::PutU32(bytes, 0, length);
  le::PutU32(bytes, 4, flags);
  le::PutU32(bytes, 8, showCmd);
  const std::int32_t signedFields[] = {minX, minY, maxX, maxY, left, top, right, bottom};
  std::size_t offset = 12;
  for (const std::int32_t value : signedFields) {
    le::PutU32(bytes, offset, static_cast<std::uint32_t>(value));
    offset += 4;
  }
}

}  // namespace lcu
