#include "channels/calibration_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/default_paths.h"
#include "app/messages.h"
#include "app/registry.h"
#include "util/decimal_text.h"
#include "util/little_endian.h"

namespace lcu {

namespace {
std::string CalibrationFileName(int slot) { return "@LCU" + std::to_string(slot) + ".cal"; }
}  // namespace

int FindLcuSlot(const SettingsStore& store, std::uint16_t lcuNumber) {
  for (int slot = 1; slot <= reg::kSlotCount; ++slot) {
    const std::string serial = RegReadString(store, "", SlotKey(slot), reg::kSerial, "");
    if (ParseDecimalInt(serial) == lcuNumber) return slot;
  }
  return 1;
}

std::string GetCalibrationPath(const SettingsStore& store, std::uint16_t lcuNumber) {
  const std::string folder = SetupDirectory(store);
  const std::string path = JoinPath(folder, CalibrationFileName(FindLcuSlot(store, lcuNumber)));
  std::error_code ec;
  if (std::filesystem::exists(Utf8Path(path), ec)) return path;
  return JoinPath(folder, CalibrationFileName(1));
}

bool LoadCalibration(const SettingsStore& store, std::uint16_t lcuNumber, CalibrationImage& image) {
  std::ifstream file(GetCalibrationPath(store, lcuNumber), std::ios::binary);
  if (!file) return false;
  auto bytes = image.Bytes();
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return file.gcount() == static_cast<std::streamsize>(bytes.size());
}

bool SaveCalibration(const SettingsStore& store, std::uint16_t lcuNumber, const CalibrationImage& image) {
  std::ofstream file(GetCalibrationPath(store, lcuNumber), std::ios::binary | std::ios::trunc);
  if (!file) return false;
  const auto bytes = image.Bytes();
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return !file.fail();
}

std::uint16_t StatusLcuNumber(const CUsbDevice& device) { return le::U16(device.m_status, hdr::kLcuNumber); }

CommandResult OnRefreshCalibration(CommandContext& ctx) {
  if (!LoadCalibration(ctx.store, StatusLcuNumber(ctx.device), ctx.app.m_calibration)) {
    ctx.prompter.Error(msg::kCouldNotLoadCalibration);
    return CommandResult::kFailed;
  }
  return CommandResult::kDone;
}

}  // namespace lcu
