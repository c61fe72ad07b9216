// The channel table: the name, units and decimals of every channel number 0 to 1023, loaded
// from the channel definition file "channel.dsc" in the setup folder each time the LCU comes
// on line. The file's first 64 records, and every record from 1024 on, are placed by the
// channel names of the connected LCU's calibration; records 64 to 1023 describe channels 64
// to 1023 in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/channels/channel_model.h"
#include "core/channels/definition_stream.h"
#include "core/host/prompter.h"
#include "core/host/settings_store.h"

namespace lcu {

inline constexpr std::string_view kChannelDefinitionFileName = "channel.dsc";

/// Most records a channel definition file may hold (1 MiB of records). The format has no
/// count of its own, so a larger file is refused as having an invalid format rather than
/// read without end.
inline constexpr std::size_t kMaxDefinitionRecords = 8192;

/// Fills the channel table from an open channel definition file, placing the named records
/// by the names of app.m_calibration. Every entry's name is first reset to "ID%3.3d" of its
/// number; a record then overwrites its whole entry, with the name cut to 31 and the units
/// to 15 characters and trailing blanks removed. A short last record is ignored.
///
/// On success m_nDefinitionGeneration is counted up. A failure is reported to the prompter
/// and keeps what was done before it (the reset names, the records already placed), naming
/// the file's path.
bool ReadChannelDefinitions(ChannelModel& app, DefinitionStream& stream, std::string_view path, Prompter& prompter);

/// LoadChannelDefinitions: loads the calibration of the LCU into app.m_calibration, then
/// the channel definition file of the setup folder. When either cannot be opened the table
/// is left as it was. Every failure has been reported when it returns false.
bool LoadChannelDefinitions(ChannelModel& app, const SettingsStore& store, std::uint16_t lcuNumber, Prompter& prompter);

}  // namespace lcu
