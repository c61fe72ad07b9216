// The calibration image: the input is a calibration file, "@LCU1.cal" in a setup folder of
// its own, read by LoadCalibration as the channel model, the upload and zeroing read it.
// A loaded image is then used the way the programs use it: every channel's reading turned
// into a value and shown in a Value cell, the channel names listed, every calibrated channel
// zeroed from its shown value, and the checks made before an upload.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/app/app_state.h"
#include "core/channels/calibration_file.h"
#include "core/channels/channel_calibration.h"
#include "core/channels/channel_conversion.h"
#include "core/commands/channel_zeroing.h"
#include "core/commands/configuration_upload.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"
#include "core/monitor/monitor_row.h"
#include "fuzz_check.h"

namespace {

// Channel numbers past every fixed rule and source words beyond the table are converted too.
constexpr int kLastConvertedChannel = 300;
constexpr std::array<std::uint32_t, 4> kReadings = {0, 0x7FFF, 0xFFFF, 0xFFFFFFFFu};

struct SetupFolder {
  std::string folder;
  std::string file;
  lcu::MemorySettingsStore store;

  SetupFolder() {
    std::string pattern = "/tmp/lcu_calibration_fuzz_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder = pattern;
    file = folder + "/@LCU1.cal";
    store.WriteString(lcu::reg::kPaths, lcu::reg::kSetupDirectory, folder);
  }
  ~SetupFolder() {
    std::remove(file.c_str());
    std::remove(folder.c_str());
  }
};

bool WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(data, 1, size, out) == size;
  return std::fclose(out) == 0 && written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SetupFolder setup;
  if (!WriteFile(setup.file, data, size)) std::abort();
  lcu::CalibrationImage image;
  const bool loaded = lcu::LoadCalibration(setup.store, 1, image);
  LCU_FUZZ_CHECK(loaded == (size >= lcu::kLoggerHeaderSize));
  if (!loaded) return 0;

  std::array<std::string, lcu::kCalibratedChannels> shown;
  for (int channel = 0; channel <= kLastConvertedChannel; ++channel) {
    for (const std::uint32_t reading : kReadings) {
      const std::string cell = lcu::FormatValueCell(lcu::ConvertReading(image, reading, channel), -1);
      LCU_FUZZ_CHECK(!cell.empty());
      if (channel < lcu::kCalibratedChannels) shown[static_cast<std::size_t>(channel)] = cell;
    }
  }
  for (int channel = 0; channel < lcu::kCalibratedChannels; ++channel) {
    LCU_FUZZ_CHECK(lcu::CalibrationName(image.Bytes(), channel).size() <= lcu::kCalibrationNameSize);
    const std::string& cell = shown[static_cast<std::size_t>(channel)];
    LCU_FUZZ_CHECK(lcu::ZeroRow(image, {channel, cell.substr(0, lcu::kShownValueLimit)}, 0.0f) == 1);
  }

  if (!lcu::ValidateUploadImage(image)) {
    for (const std::uint16_t memorySize : {std::uint16_t{1}, std::uint16_t{2047}}) {
      lcu::CalibrationImage laidOut = image;
      lcu::LayOutBuffers(laidOut, memorySize);
    }
  }
  return 0;
}
