#include "sim/sample_setup.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/channels/channel_calibration.h"
#include "core/channels/channel_definition.h"
#include "core/commands/configuration_upload.h"
#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/util/little_endian.h"
#include "sim/sample_channels.h"

namespace lcu::sim {

namespace {

constexpr std::string_view kConfigId = "SAMPLE SETUP";
constexpr std::string_view kConfigVersion = "1.0";
constexpr std::uint16_t kSampleMemorySize = 2;
constexpr std::string_view kDefinitionFileName = "channel.dsc";
constexpr std::string_view kDefinitionHeaderText = "LCU CHANNEL DEFINITIONS";

// The logging buffers: a fast buffer for the engine, a medium one for the chassis, and two
// slow ones for temperatures and housekeeping.
struct SampleBuffer {
  std::uint8_t rateCode;
  std::uint8_t weight;
};
constexpr SampleBuffer kSampleBuffers[] = {{2, 8}, {3, 6}, {5, 4}, {7, 2}};

void PutBlankPadded(LoggerHeader& image, std::size_t offset, std::size_t length, std::string_view text) {
  for (std::size_t i = 0; i < length; ++i) {
    image.Bytes()[offset + i] = static_cast<std::uint8_t>(i < text.size() ? text[i] : ' ');
  }
}

std::string WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return "Cannot create " + path.string() + ".";
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) return "Cannot write " + path.string() + ".";
  return {};
}

std::string MakeFolder(const std::filesystem::path& folder, std::string_view what) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return "Cannot create the " + std::string(what) + " folder " + folder.string() + ": " + ec.message();
  return {};
}

}  // namespace

std::vector<std::uint8_t> MakeSampleChannelDefinitions() {
  ChannelDefinitionFile file;
  std::copy(kDefinitionHeaderText.begin(), kDefinitionHeaderText.end(), file.header.begin());
  le::PutU16(file.header, 32, kSampleChannelCount);
  for (std::uint16_t channel = 0; channel < kSampleChannelCount; ++channel) {
    const SampleChannel info = SampleChannelInfo(channel);
    ChannelDefinition record;
    record.SetName(info.name);
    record.SetUnits(info.units);
    record.decimals = info.decimals;
    file.records.push_back(record);
  }
  return file.Serialize();
}

LoggerHeader MakeSampleCalibration() {
  LoggerHeader image;
  const ImageBytes bytes = image.Bytes();
  image.SetU16(hdr::kMemorySize, kSampleMemorySize);
  image.SetU16(hdr::kLcuNumber, kSampleLcuNumber);
  PutBlankPadded(image, hdr::kConfigId, hdr::kConfigIdLength, kConfigId);
  PutBlankPadded(image, hdr::kConfigVersion, hdr::kConfigVersionLength, kConfigVersion);

  for (std::size_t k = 0; k < 8; ++k) WriteScaleFlag(bytes, k, SampleScaleFlag(k));
  for (int channel = 112; channel <= 127; ++channel) WriteSourceWord(bytes, channel, SampleSourceWord(channel));

  image.SetU16(hdr::kBufferCount, static_cast<std::uint16_t>(std::size(kSampleBuffers)));
  for (std::size_t i = 0; i < std::size(kSampleBuffers); ++i) {
    LogBufferEntry entry;
    entry.rateCode = kSampleBuffers[i].rateCode;
    entry.weight = kSampleBuffers[i].weight;
    image.SetEntry(i, entry);
  }
  LayOutBuffers(image, kSampleMemorySize);

  for (int channel = 0; channel < kCalibratedChannels; ++channel) {
    SetCalibrationName(bytes, channel, SampleChannelInfo(static_cast<std::uint16_t>(channel)).name);
    WriteChannelCalibration(bytes, channel, SampleCalibrationRecord(channel));
  }
  for (int channel = 128; channel <= 191; ++channel) WriteGainOffset(bytes, channel, SampleGainOffset(channel));
  for (int channel = 224; channel <= 255; ++channel) WriteGainOffset(bytes, channel, SampleGainOffset(channel));
  return image;
}

std::string WriteSampleSetup(SettingsStore& store, std::uint16_t lcuNumber) {
  const std::filesystem::path setup = Utf8Path(SetupDirectory(store));
  if (auto error = MakeFolder(setup, "setup"); !error.empty()) return error;

  const auto definitions = MakeSampleChannelDefinitions();
  if (auto error = WriteWholeFile(setup / kDefinitionFileName, definitions); !error.empty()) return error;

  LoggerHeader calibration = MakeSampleCalibration();
  calibration.SetU16(hdr::kLcuNumber, lcuNumber);
  const std::string calibrationName = "@LCU1.cal";
  if (auto error = WriteWholeFile(setup / calibrationName, calibration.Bytes()); !error.empty()) return error;

  if (!store.WriteString(SlotKey(1), reg::kSerial, std::to_string(lcuNumber))) {
    return "Cannot register LCU " + std::to_string(lcuNumber) + " in the settings.";
  }
  if (auto error = MakeFolder(Utf8Path(DataDirectory(store)), "data"); !error.empty()) return error;
  // The setup extract goes to the fixed "libs" folder, which the commands do not create.
  return MakeFolder(Utf8Path(VelmoraRoot()) / "libs", "libs");
}

}  // namespace lcu::sim
