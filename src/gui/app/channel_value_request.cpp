#include "gui/app/channel_value_request.h"

#include <array>
#include <cstdint>
#include <string>

#include "core/link/logger_transfers.h"
#include "core/link/vendor_request.h"
#include "core/util/decimal_text.h"
#include "core/util/little_endian.h"

namespace lcu::gui {

namespace {

// The LCU's channel list: 16-bit channel numbers ended by 0, as the monitor windows send it.
constexpr std::uint16_t kChannelListAddress = 0xF710;
constexpr std::size_t kChannelBlockBytes = 64;

}  // namespace

void ServeChannelValueRequest(CUsbDevice& device, Profile& profile) {
  const int channel = ParseDecimalInt(profile.GetProfileString(reg::kChannelData, reg::kChannelId, kNoValue));
  if (channel < kFirstServedChannel || channel > kLastServedChannel) {
    profile.WriteProfileString(reg::kChannelData, reg::kChannelValue, kNoValue);
    return;
  }
  std::array<std::uint8_t, kChannelBlockBytes> list{};
  list[0] = static_cast<std::uint8_t>(channel);
  // A short list write closes the link like a failed one: the LCU may hold another list,
  // whose reading must not be answered as this channel's.
  if (device.VendorWrite(LCU_BULK_WRITE, kChannelListAddress, 0)) BulkWriteAll(device, list);

  std::array<std::uint8_t, kChannelBlockBytes> reading{};
  if (!device.VendorRead(LCU_READ_CHANNELS, 0, 0, kChannelBlockBytes, reading)) {
    profile.WriteProfileString(reg::kChannelData, reg::kChannelValue, kNoValue);
    return;
  }
  profile.WriteProfileString(reg::kChannelData, reg::kChannelValue, std::to_string(le::U32(reading, 0)));
}

}  // namespace lcu::gui
