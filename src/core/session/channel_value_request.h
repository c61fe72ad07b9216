// The channel-value exchange with the product family's other programs: one of them posts a
// channel number as "ChannelID" in the profile section "ChannelData", and the desktop
// program's session answers with the channel's raw reading in "ChannelValue" on every poll
// that finds the LCU on line.
#pragma once

#include <string_view>

#include "core/host/registry.h"
#include "core/link/usb_device.h"

namespace lcu {

/// What "ChannelValue" and "CurrentLCU" hold while there is nothing to tell.
inline constexpr std::string_view kNoValue = "-1";

/// Lowest and highest channel number the exchange serves; others answer "-1".
inline constexpr int kFirstServedChannel = 3;
inline constexpr int kLastServedChannel = 63;

/// Reads "ChannelID" afresh and answers it: for a channel 3 to 63 the one-channel list is
/// sent to the LCU and the reading read back is written as "ChannelValue"; for any other
/// number, a missing value or text that is no number, "-1" is written without LCU traffic.
/// A failed or short list write is not reported (it closes the link, so the read fails
/// too); a failed read answers "-1".
void ServeChannelValueRequest(CUsbDevice& device, Profile& profile);

}  // namespace lcu
