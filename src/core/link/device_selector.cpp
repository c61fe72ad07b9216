#include "core/link/device_selector.h"

#include <algorithm>

#include "core/util/strict_number.h"

namespace lcu {

namespace {

constexpr std::int64_t kHighestNumber = 255;

}  // namespace

bool DeviceSelector::Selects(std::optional<int> lcuIndex, int deviceBus,
                             std::span<const std::uint8_t> devicePorts) const {
  if (index) return lcuIndex == index;
  return deviceBus == bus && std::ranges::equal(devicePorts, ports);
}

std::optional<DeviceSelector> ParseDeviceSelector(std::string_view text) {
  DeviceSelector selector;
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    const StrictNumber index = ParseStrictNumber(text, {}, 0, kHighestNumber);
    if (!index) return std::nullopt;
    selector.index = static_cast<int>(index.value);
    return selector;
  }
  const StrictNumber bus = ParseStrictNumber(text.substr(0, colon), {}, 1, kHighestNumber);
  if (!bus) return std::nullopt;
  selector.bus = static_cast<int>(bus.value);
  std::string_view rest = text.substr(colon + 1);
  while (true) {
    const std::size_t dot = rest.find('.');
    const StrictNumber port = ParseStrictNumber(rest.substr(0, dot), {}, 1, kHighestNumber);
    if (!port || selector.ports.size() == kMaxPortDepth) return std::nullopt;
    selector.ports.push_back(static_cast<std::uint8_t>(port.value));
    if (dot == std::string_view::npos) return selector;
    rest.remove_prefix(dot + 1);
  }
}

std::string DevicePlaceText(int bus, std::span<const std::uint8_t> ports) {
  std::string text = std::to_string(bus) + ':';
  for (std::size_t i = 0; i < ports.size(); ++i) {
    if (i > 0) text += '.';
    text += std::to_string(ports[i]);
  }
  return text;
}

}  // namespace lcu
