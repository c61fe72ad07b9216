// The channel definition load: the input is the whole "channel.dsc" file, served from memory
// the way a C file stream serves a file on disk. The calibration holds names in the forms
// the records are matched against (mixed case, full 16 bytes without a NUL, empty), so that
// the placement by name is reached. Every entry's name and units are then shown as a monitor
// row shows them, and the named entries and the first positional ones with their decimals.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/app/app_state.h"
#include "core/channels/channel_calibration.h"
#include "core/channels/channel_conversion.h"
#include "core/channels/channel_table.h"
#include "core/channels/definition_stream.h"
#include "core/monitor/monitor_row.h"
#include "fuzz_check.h"
#include "support/recording_prompter.h"

namespace {

// Entries whose Value cell is formatted: the named ones and the first positional ones, which
// take the same path as the rest.
constexpr std::size_t kFormattedChannels = 80;

// A file in memory with the end-of-file rule of fread: the end is reported only by a read
// that comes back short.
class MemoryDefinitionStream final : public lcu::DefinitionStream {
 public:
  explicit MemoryDefinitionStream(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
  std::size_t Read(std::span<std::uint8_t> buffer) override {
    const std::size_t n = std::min(buffer.size(), m_bytes.size() - m_pos);
    std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_pos), n, buffer.begin());
    m_pos += n;
    if (n < buffer.size()) m_end = true;
    return n;
  }
  bool Failed() const override { return false; }
  bool AtEnd() const override { return m_end; }
  std::string ErrorText() const override { return "Input/output error"; }

 private:
  std::span<const std::uint8_t> m_bytes;
  std::size_t m_pos = 0;
  bool m_end = false;
};

lcu::CalibrationImage NamedCalibration() {
  lcu::CalibrationImage image;
  const std::array<const char*, 6> names = {"RPM", "Oil Pressure", "WATER TEMP", "ThrottlePositio", "speed", "Lambda1"};
  for (int i = 0; i < lcu::kCalibratedChannels; ++i) {
    lcu::SetCalibrationName(image.Bytes(), i, names[static_cast<std::size_t>(i) % names.size()]);
  }
  lcu::SetCalibrationName(image.Bytes(), 7, "SixteenCharName!");
  lcu::SetCalibrationName(image.Bytes(), 9, "");
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const lcu::CalibrationImage calibration = NamedCalibration();
  auto app = std::make_unique<lcu::AppState>();
  app->m_calibration = calibration;
  MemoryDefinitionStream stream(std::span(data, size));
  lcu::test::RecordingPrompter prompter;
  const bool loaded = lcu::ReadChannelDefinitions(*app, stream, "channel.dsc", prompter);
  LCU_FUZZ_CHECK(loaded == prompter.messages.empty());
  LCU_FUZZ_CHECK(app->m_nDefinitionGeneration == (loaded ? 1u : 0u));

  for (std::size_t channel = 0; channel < lcu::kChannelTableSize; ++channel) {
    const lcu::ChannelDefinition& definition = app->m_channelTable[channel];
    LCU_FUZZ_CHECK(definition.NameText().size() < lcu::kChannelNameSize);
    LCU_FUZZ_CHECK(definition.UnitsText().size() < lcu::kChannelUnitsSize);
    LCU_FUZZ_CHECK(!lcu::FormatIdCell(static_cast<std::uint16_t>(channel)).empty());
    if (channel >= kFormattedChannels) continue;
    const double value = lcu::ConvertReading(app->m_calibration, 0xFFFFFFFFu, static_cast<int>(channel));
    const std::string valueCell = lcu::FormatValueCell(value, definition.decimals);
    LCU_FUZZ_CHECK(!valueCell.empty());
  }
  return 0;
}
