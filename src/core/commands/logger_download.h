// The download's data file: its name from the date and time, its folder from the LCU's
// registry slot, and its creation without replacing an existing file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/app/command_context.h"
#include "core/host/clock.h"
#include "core/host/file_system.h"
#include "core/logger/logger_header.h"

namespace lcu {

/// The data file name for a local time and a seconds-since-midnight value:
/// "%1.1X%2.2X%5.5X.DAT" of month, day and seconds.
std::string DataFileName(const LocalTime& time, std::uint32_t seconds);

/// The download folder of the header's LCU (its slot's "Download" folder when that exists,
/// else the general data folder) joined with the name for the current local time. Kept in
/// m_szDownloadFile.
std::string BuildDownloadPath(CommandContext& ctx, const LoggerHeader& header);

/// A data file candidate: the folder and the local time its name is made from.
struct DataFilePlan {
  std::string folder;
  LocalTime time;
};

/// The candidate for the header's LCU at the current local time.
DataFilePlan PlanDataFile(CommandContext& ctx, const LoggerHeader& header);

/// Creates the data file without replacing an existing one: when the name is taken, the next
/// free seconds value of the same format is used. The general data folder is made first when
/// it is missing (a new account has none yet); a slot's own folder is only used when it
/// exists. The file created is kept in m_szDownloadFile. Null when no file could be created,
/// with the path tried and the reason.
std::unique_ptr<OutputFile> CreateDataFile(CommandContext& ctx, const DataFilePlan& plan, std::string& path,
                                           std::string& reason);

}  // namespace lcu
