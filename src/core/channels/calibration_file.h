// The calibration files: one 16384-byte image per registered LCU, "@LCU<slot>.cal" in the
// setup folder, found through the registry slots. The image in memory (m_calibration) is
// what the conversion, the channel definition load, zeroing and the upload work on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/app/app_state.h"
#include "core/app/command_context.h"
#include "core/host/file_system.h"
#include "core/host/prompter.h"
#include "core/host/settings_store.h"

namespace lcu {

/// The slot (1 to 10) whose "Serial" value equals the LCU number, or 0 when none does.
int RegisteredSlot(const SettingsStore& store, std::uint16_t lcuNumber);

/// The slot (1 to 10) whose "Serial" value equals the LCU number, or 1 when none does.
int FindLcuSlot(const SettingsStore& store, std::uint16_t lcuNumber);

/// The calibration file of a slot (1 to 10) in the setup folder, whether it exists or not.
std::string SlotCalibrationPath(const SettingsStore& store, int slot);

/// The calibration file of an LCU: the file of its slot, or the file of slot 1 when its
/// slot has no file (or it is not registered).
std::string GetCalibrationPath(const SettingsStore& store, std::uint16_t lcuNumber);

/// Reads the whole image from the LCU's calibration file; false when the file is missing
/// or shorter than 16384 bytes (the image may then hold the bytes that were read). A longer
/// file loads its first 16384 bytes.
bool LoadCalibration(const SettingsStore& store, std::uint16_t lcuNumber, CalibrationImage& image);

/// LoadCalibration that reports a failure: failureText, then the path it looked for and why
/// it did not load.
bool LoadCalibration(const SettingsStore& store, std::uint16_t lcuNumber, CalibrationImage& image,
                     Prompter& prompter, std::string_view failureText);

/// Writes the whole image over the LCU's calibration file. The old file is replaced only
/// once all 16384 bytes are on disk; a failure leaves it as it was and is reported with the
/// path and the reason.
bool SaveCalibration(FileSystem& files, const SettingsStore& store, std::uint16_t lcuNumber,
                     const CalibrationImage& image, Prompter& prompter);

/// Refresh Calibration: reloads m_calibration for the LCU of the last status block.
CommandResult OnRefreshCalibration(CommandContext& ctx);

/// The LCU number of the last status block.
std::uint16_t StatusLcuNumber(const CUsbDevice& device);

}  // namespace lcu
