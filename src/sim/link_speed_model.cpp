// The link-speed model: bulk data moves in packets, a fixed number of packets per bus frame,
// and a transfer takes whole frames. Control requests take one frame.
#include <algorithm>

#include "sim/link_protocol.h"

namespace lcu::sim {

namespace {
struct BusShape {
  std::uint64_t packetBytes;
  std::uint64_t packetsPerFrame;
  std::chrono::nanoseconds frame;
};

BusShape ShapeOf(LinkSpeed speed) {
  if (speed == LinkSpeed::kHighSpeed) return {512, 13, std::chrono::microseconds(125)};
  return {64, 19, std::chrono::milliseconds(1)};
}

std::uint64_t CeilDiv(std::uint64_t a, std::uint64_t b) { return (a + b - 1) / b; }
}  // namespace

std::chrono::nanoseconds ModelBulkTime(LinkSpeed speed, std::uint64_t bytes) {
  if (speed == LinkSpeed::kUnlimited) return std::chrono::nanoseconds(0);
  const BusShape bus = ShapeOf(speed);
  // An empty transfer still sends one zero-length packet.
  const std::uint64_t packets = std::max<std::uint64_t>(1, CeilDiv(bytes, bus.packetBytes));
  const auto frames = static_cast<std::int64_t>(CeilDiv(packets, bus.packetsPerFrame));
  return bus.frame * frames;
}

std::chrono::nanoseconds ModelControlTime(LinkSpeed speed) {
  if (speed == LinkSpeed::kUnlimited) return std::chrono::nanoseconds(0);
  return ShapeOf(speed).frame;
}

}  // namespace lcu::sim
