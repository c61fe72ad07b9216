// ChannelCalibration: the 100-byte record that turns a calibrated channel's raw reading into
// an engineering value, and the regions of the calibration image (a LoggerHeader in layout)
// that the channel model reads: channel names, calibration records, gain/offset blocks,
// source words and scale flags.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/logger/logger_header.h"

namespace lcu {

/// Calibration type codes of ChannelCalibration::type; any other code gives the value 0.
inline constexpr std::uint16_t CAL_INTERPOLATE = 0;
inline constexpr std::uint16_t CAL_LINEAR = 1;
inline constexpr std::uint16_t CAL_QUADRATIC = 2;
inline constexpr std::uint16_t CAL_STEP = 4;
inline constexpr std::uint16_t CAL_LINEAR_ALT = 8;

inline constexpr std::size_t kChannelCalibrationSize = 100;
inline constexpr std::size_t kCalibrationPoints = 13;
/// Channels 0 to 63 carry a ChannelCalibration record and a name in the image.
inline constexpr int kCalibratedChannels = 64;
inline constexpr std::size_t kCalibrationNameSize = 16;
/// Channels 112 to 127 have a source channel word (ReadSourceWord).
inline constexpr int kFirstSourceChannel = 112;
inline constexpr int kLastSourceChannel = 127;

/// Offsets of the channel model's regions in the calibration image.
namespace cal {
inline constexpr std::size_t kScaleFlags = 0x018E;  // + 6 k, k = 0 to 7
inline constexpr std::size_t kScaleFlagStride = 6;
inline constexpr std::size_t kSourceWords = 0x05B2;  // + 8 ch, ch = 112 to 127
inline constexpr std::size_t kSourceWordStride = 8;
inline constexpr std::size_t kNames = 0x1780;          // + 16 i, i = 0 to 63
inline constexpr std::size_t kRecords = 0x2000;        // + 100 i, i = 0 to 63
inline constexpr std::size_t kGainOffset224 = 0x3A00;  // + 8 (ch - 224), ch = 224 to 255
inline constexpr std::size_t kGainOffset224Stride = 8;
inline constexpr std::size_t kGainOffset128 = 0x3C00;  // + 16 (ch - 128), ch = 128 to 191
inline constexpr std::size_t kGainOffset128Stride = 16;
}  // namespace cal

/// One calibration record. Bytes 98 and 99 are not interpreted and are carried.
struct ChannelCalibration {
  std::uint16_t type = CAL_INTERPOLATE;
  float offset = 0.0f;
  std::uint16_t lastPoint = 0;
  std::array<std::uint16_t, kCalibrationPoints> x{};
  std::array<float, kCalibrationPoints> y{};
  float a = 0.0f;
  float b = 0.0f;
  float c = 0.0f;
  std::uint16_t carried = 0;

  static ChannelCalibration Read(std::span<const std::uint8_t, kChannelCalibrationSize> bytes);
  void Write(std::span<std::uint8_t, kChannelCalibrationSize> bytes) const;

  friend bool operator==(const ChannelCalibration&, const ChannelCalibration&) = default;
};

/// A gain and offset pair of channels 128 to 191 and 224 to 255.
struct GainOffset {
  float gain = 1.0f;
  float offset = 0.0f;
  friend bool operator==(const GainOffset&, const GainOffset&) = default;
};

using ImageBytes = std::span<std::uint8_t, kLoggerHeaderSize>;
using ConstImageBytes = std::span<const std::uint8_t, kLoggerHeaderSize>;

/// Offset of channel i's record (i = 0 to 63).
std::size_t CalibrationRecordOffset(int channel);
ChannelCalibration ReadChannelCalibration(ConstImageBytes image, int channel);
void WriteChannelCalibration(ImageBytes image, int channel, const ChannelCalibration& record);

/// The 16 name bytes of calibrated channel i as they stand in the image, and the same cut at
/// the first NUL.
std::span<const std::uint8_t, kCalibrationNameSize> CalibrationNameField(ConstImageBytes image, int channel);
std::string CalibrationName(ConstImageBytes image, int channel);
/// Stores a name of at most 16 characters, NUL-padded.
void SetCalibrationName(ImageBytes image, int channel, std::string_view name);

/// Offset of a channel's gain/offset pair, or nullopt outside 128 to 191 and 224 to 255.
std::optional<std::size_t> GainOffsetOffset(int channel);
/// The pair of a channel of those ranges (std::abort for any other channel).
GainOffset ReadGainOffset(ConstImageBytes image, int channel);
void WriteGainOffset(ImageBytes image, int channel, const GainOffset& pair);

/// Source channel word of channels 112 to 127.
std::uint16_t ReadSourceWord(ConstImageBytes image, int channel);
void WriteSourceWord(ImageBytes image, int channel, std::uint16_t source);

/// Index k of a channel's scale flag byte: 0 to 5 for channels 64 to 69, 6 for 83, 7 for 84;
/// nullopt for every other channel.
std::optional<std::size_t> ScaleFlagIndex(int channel);
std::uint8_t ReadScaleFlag(ConstImageBytes image, std::size_t k);
void WriteScaleFlag(ImageBytes image, std::size_t k, std::uint8_t flag);

}  // namespace lcu
