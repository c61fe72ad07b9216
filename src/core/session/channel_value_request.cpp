#include "core/session/channel_value_request.h"

#include <array>
#include <cstdint>
#include <string>

#include "core/link/lcu_protocol.h"
#include "core/link/logger_transfers.h"
#include "core/util/decimal_text.h"
#include "core/util/little_endian.h"

namespace lcu {

void ServeChannelValueRequest(CUsbDevice& device, Profile& profile) {
  const int channel = ParseDecimalInt(profile.GetProfileString(reg::kChannelData, reg::kChannelId, kNoValue));
  if (channel < kFirstServedChannel || channel > kLastServedChannel) {
    profile.WriteProfileString(reg::kChannelData, reg::kChannelValue, kNoValue);
    return;
  }
  // The LCU's channel list: 16-bit channel numbers ended by 0, as the monitor windows send it.
  std::array<std::uint8_t, kBlockSize> list{};
  list[0] = static_cast<std::uint8_t>(channel);
  // A short list write closes the link like a failed one: the LCU may hold another list,
  // whose reading must not be answered as this channel's.
  if (device.VendorWrite(LCU_BULK_WRITE, kChannelListAddress, 0)) BulkWriteAll(device, list);

  std::array<std::uint8_t, kBlockSize> reading{};
  if (!device.VendorRead(LCU_READ_CHANNELS, 0, 0, kBlockSize, reading)) {
    profile.WriteProfileString(reg::kChannelData, reg::kChannelValue, kNoValue);
    return;
  }
  profile.WriteProfileString(reg::kChannelData, reg::kChannelValue, std::to_string(le::U32(reading, 0)));
}

}  // namespace lcu
