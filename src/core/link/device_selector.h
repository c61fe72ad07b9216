// Which attached LCU a program is to use when several are: the n-th LCU in the order the USB
// layer lists them (n from 0, the node the link's search would open it as), or the LCU at a
// bus and port path, as "BUS:PORT" with the ports from the root hub joined by dots ("1:4",
// "1:4.2"), the way `lcu list` shows them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lcu {

/// A USB hub chain is at most seven ports deep.
inline constexpr std::size_t kMaxPortDepth = 7;

struct DeviceSelector {
  std::optional<int> index;         // the n-th LCU, from 0
  int bus = 0;                      // else the LCU on this bus
  std::vector<std::uint8_t> ports;  // at this port path

  /// True when the selector names the device at bus and ports, which is LCU number index
  /// (nullopt: a device that is no LCU).
  bool Selects(std::optional<int> lcuIndex, int deviceBus, std::span<const std::uint8_t> devicePorts) const;
};

/// "N" (0 to 255) or "BUS:PORT[.PORT...]" (each 1 to 255, at most seven ports); nullopt for
/// any other text.
std::optional<DeviceSelector> ParseDeviceSelector(std::string_view text);

/// A device's place as the selector takes it: "1:4.2".
std::string DevicePlaceText(int bus, std::span<const std::uint8_t> ports);

}  // namespace lcu
