// LogFont: the 60-byte logical-font record (the ANSI form of the Windows layout) in which
// monitor settings files keep a monitor window's list font. Kept byte for byte so that
// files move between platforms; the desktop program maps it to and from its own fonts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lcu {

inline constexpr std::size_t kLogFontSize = 60;
inline constexpr std::size_t kFaceNameSize = 32;

/// Weights a font record uses for normal and bold text.
inline constexpr std::int32_t kFontWeightNormal = 400;
inline constexpr std::int32_t kFontWeightBold = 700;

struct LogFont {
  std::int32_t height = 0;  // negative: character height in pixels; positive: cell height
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::array<char, kFaceNameSize> faceName{};  // NUL-terminated within its 32 bytes, or not

  static LogFont Read(std::span<const std::uint8_t, kLogFontSize> bytes);
  void Write(std::span<std::uint8_t, kLogFontSize> bytes) const;

  /// The face name up to its first NUL, at most 31 characters.
  std::string FaceNameText() const;
  /// Stores a face name NUL-padded, cut to 31 characters.
  void SetFaceName(std::string_view name);

  friend bool operator==(const LogFont&, const LogFont&) = default;
};

}  // namespace lcu
