#include "core/commands/logger_download.h"

#include <array>
#include <cstdio>

#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/util/decimal_text.h"

namespace lcu {

namespace {

// Five hex digits of seconds: the last name the format can make.
constexpr std::uint32_t kLastSecondsValue = 0xFFFFF;

std::uint32_t SecondsSinceMidnight(const LocalTime& t) {
  return static_cast<std::uint32_t>(t.hour * 3600 + t.minute * 60 + t.second);
}

// The download folder of an LCU: "Download" of the first slot registered for it, when that
// names an existing file or folder; otherwise the general data folder.
std::string DownloadFolder(const CommandContext& ctx, std::uint16_t lcuNumber) {
  const std::string general = DataDirectory(ctx.store);
  for (int slot = 1; slot <= reg::kSlotCount; ++slot) {
    const std::string key = SlotKey(slot);
    if (ParseDecimalInt(RegReadString(ctx.store, "", key, reg::kSerial, "")) != lcuNumber) continue;
    const std::string folder = RegReadString(ctx.store, "", key, reg::kDownload, general);
    return ctx.files.Exists(folder) ? folder : general;
  }
  return general;
}

std::string PlannedPath(const DataFilePlan& plan, std::uint32_t seconds) {
  return JoinPath(plan.folder, DataFileName(plan.time, seconds));
}

}  // namespace

std::string DataFileName(const LocalTime& time, std::uint32_t seconds) {
  std::array<char, 32> name{};
  std::snprintf(name.data(), name.size(), "%1.1X%2.2X%5.5X.DAT", static_cast<unsigned>(time.month),
                static_cast<unsigned>(time.day), static_cast<unsigned>(seconds));
  return name.data();
}

std::string BuildDownloadPath(CommandContext& ctx, const LoggerHeader& header) {
  const DataFilePlan plan = PlanDataFile(ctx, header);
  ctx.app.m_szDownloadFile = PlannedPath(plan, SecondsSinceMidnight(plan.time));
  return ctx.app.m_szDownloadFile;
}

DataFilePlan PlanDataFile(CommandContext& ctx, const LoggerHeader& header) {
  return {DownloadFolder(ctx, header.LcuNumber()), ctx.clock.Now()};
}

std::unique_ptr<OutputFile> CreateDataFile(CommandContext& ctx, const DataFilePlan& plan, std::string& path,
                                           std::string& reason) {
  if (!ctx.files.Exists(plan.folder) && !ctx.files.CreateFolders(plan.folder, reason)) {
    path = plan.folder;
    return nullptr;
  }
  for (std::uint32_t seconds = SecondsSinceMidnight(plan.time); seconds <= kLastSecondsValue; ++seconds) {
    path = PlannedPath(plan, seconds);
    if (auto file = ctx.files.Create(path, CreateMode::kExclusive, reason)) {
      ctx.app.m_szDownloadFile = path;
      return file;
    }
    if (!ctx.files.Exists(path)) return nullptr;  // not a taken name: the folder is unusable
  }
  return nullptr;
}

}  // namespace lcu
