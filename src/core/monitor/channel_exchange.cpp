#include "core/monitor/channel_exchange.h"

#include <algorithm>
#include <cstdlib>

#include "core/link/lcu_protocol.h"
#include "core/link/logger_transfers.h"
#include "core/util/little_endian.h"

namespace lcu {

ExchangeBlock BuildExchangeBlock(std::span<const std::uint16_t> group) {
  // Callers split their lists into groups; a larger one is a programming error.
  if (group.empty() || group.size() > kChannelsPerExchange) std::abort();
  ExchangeBlock block{};
  for (std::size_t j = 0; j < group.size(); ++j) le::PutU16(block, 2 * j, group[j]);
  le::PutU16(block, 2 * group.size(), 0);
  return block;
}

bool ExchangeChannels(CUsbDevice& device, std::span<const std::uint16_t> channels, std::span<std::uint32_t> readings) {
  if (readings.size() < channels.size()) std::abort();
  for (std::size_t first = 0; first < channels.size(); first += kChannelsPerExchange) {
    const auto group = channels.subspan(first, std::min(kChannelsPerExchange, channels.size() - first));
    const ExchangeBlock block = BuildExchangeBlock(group);
    // A short list write closes the link like a failed one, so that no reading of a list the
    // LCU did not wholly receive is ever taken for this group's.
    if (device.VendorWrite(LCU_BULK_WRITE, kChannelListAddress, 0)) BulkWriteAll(device, block);

    ExchangeBlock reply{};
    if (!device.VendorRead(LCU_READ_CHANNELS, 0, 0, static_cast<std::uint16_t>(reply.size()), reply)) return false;
    for (std::size_t j = 0; j < group.size(); ++j) readings[first + j] = le::U32(reply, 4 * j);
  }
  return true;
}

}  // namespace lcu
