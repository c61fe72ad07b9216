// The calibration files: one 16384-byte image per registered LCU, "@LCU<slot>.cal" in the
// setup folder, found through the registry slots. The image in memory (m_calibration) is
// what the conversion, the channel definition load, zeroing and the upload work on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/channels/channel_model.h"
#include "core/host/file_system.h"
#include "core/host/prompter.h"
#include "core/host/settings_store.h"
#include "core/link/usb_device.h"

namespace lcu {

/// The slot (1 to 10) whose "Serial" value equals the LCU number, or 0 when none does.
int RegisteredSlot(const SettingsStore& store, std::uint16_t lcuNumber);

/// The slot (1 to 10) whose "Serial" value equals the LCU number, or 1 when none does.
int FindLcuSlot(const SettingsStore& store, std::uint16_t lcuNumber);

/// The calibration file of a slot (1 to 10) in the setup folder, whether it exists or not.
std::string SlotCalibrationPath(const SettingsStore& store, int slot);

/// Which calibration file an LCU uses and whether that file is its own.
struct CalibrationSource {
  std::uint16_t lcuNumber = 0;
  int registeredSlot = 0;  // the LCU's slot; 0 when it is not registered
  int slot = 1;            // the slot whose file is used
  std::string path;        // that file

  /// False when the LCU falls back on the file of slot 1: it is not registered, or its own
  /// slot has no file.
  bool IsOwn() const { return registeredSlot != 0 && slot == registeredSlot; }
};

/// The calibration file of an LCU: the file of its slot, or the file of slot 1 when its
/// slot has no file (or it is not registered).
CalibrationSource FindCalibration(const SettingsStore& store, std::uint16_t lcuNumber);
std::string GetCalibrationPath(const SettingsStore& store, std::uint16_t lcuNumber);

/// Why a source is not the LCU's own and whose file it is, for a source that is not:
/// "LCU 7 is not registered" or "LCU 2 has no calibration file (@LCU2.cal)", then use with
/// its two "%s" filled: the LCU registered in the slot used ("LCU 1", or "slot 1" when none
/// is) and file, the file's name or path as the caller prefers.
std::string ForeignCalibrationText(const SettingsStore& store, const CalibrationSource& source, std::string_view use,
                                   std::string_view file);

/// For a command about to write or send another LCU's calibration: asks, naming both LCUs
/// ("LCU 7 is not registered; use the calibration of LCU 1 (@LCU1.cal)?"). True for the
/// LCU's own file without asking.
bool ConfirmCalibrationSource(const SettingsStore& store, const CalibrationSource& source, Prompter& prompter);

/// Whether a load of another LCU's calibration is remarked on.
enum class CalibrationNote {
  kNote,    // the prompter's note names the file used and why
  kSilent,  // the caller has asked already
};

/// Reads the whole image from the LCU's calibration file; false when the file is missing
/// or shorter than 16384 bytes (the image may then hold the bytes that were read). A longer
/// file loads its first 16384 bytes.
bool LoadCalibration(const SettingsStore& store, std::uint16_t lcuNumber, CalibrationImage& image);

/// Reads the whole image from a file; the reason when that is not possible (the image is
/// then left as it was).
std::optional<std::string> ReadCalibrationFile(const std::string& path, CalibrationImage& image);

/// LoadCalibration that reports a failure: failureText, then the path it looked for and why
/// it did not load. On a failure the image is left as it was.
bool LoadCalibration(const SettingsStore& store, std::uint16_t lcuNumber, CalibrationImage& image, Prompter& prompter,
                     std::string_view failureText);

/// The reporting load into app.m_calibration, which also records the file in
/// app.m_szCalibrationFile and, with kNote, remarks on another LCU's file.
bool LoadAppCalibration(ChannelModel& app, const SettingsStore& store, std::uint16_t lcuNumber, Prompter& prompter,
                        std::string_view failureText, CalibrationNote note = CalibrationNote::kNote);

/// Writes the whole image over the LCU's calibration file, after keeping the file's present
/// content as its newest backup (see calibration_backup.h). The old file is replaced only
/// once all 16384 bytes are on disk; a failure, of the backup or of the save, leaves it as
/// it was and is reported with the path and the reason.
bool SaveCalibration(FileSystem& files, const SettingsStore& store, std::uint16_t lcuNumber,
                     const CalibrationImage& image, Prompter& prompter);

/// The LCU number of the last status block.
std::uint16_t StatusLcuNumber(const CUsbDevice& device);

}  // namespace lcu
