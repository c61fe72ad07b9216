#include "core/monitor/log_font.h"

#include <algorithm>

#include "core/util/little_endian.h"

namespace lcu {

namespace {
constexpr std::size_t kFaceNameOffset = 28;
}  // namespace

LogFont LogFont::Read(std::span<const std::uint8_t, kLogFontSize> bytes) {
  LogFont f;
  f.height = le::S32(bytes, 0);
  f.width = le::S32(bytes, 4);
  f.escapement = le::S32(bytes, 8);
  f.orientation = le::S32(bytes, 12);
  f.weight = le::S32(bytes, 16);
  f.italic = bytes[20];
  f.underline = bytes[21];
  f.strikeOut = bytes[22];
  f.charSet = bytes[23];
  f.outPrecision = bytes[24];
  f.clipPrecision = bytes[25];
  f.quality = bytes[26];
  f.pitchAndFamily = bytes[27];
  std::transform(bytes.begin() + kFaceNameOffset, bytes.end(), f.faceName.begin(),
                 [](std::uint8_t b) { return static_cast<char>(b); });
  return f;
}

void LogFont::Write(std::span<std::uint8_t, kLogFontSize> bytes) const {
  le::PutU32(bytes, 0, static_cast<std::uint32_t>(height));
  le::PutU32(bytes, 4, static_cast<std::uint32_t>(width));
  le::PutU32(bytes, 8, static_cast<std::uint32_t>(escapement));
  le::PutU32(bytes, 12, static_cast<std::uint32_t>(orientation));
  le::PutU32(bytes, 16, static_cast<std::uint32_t>(weight));
  bytes[20] = italic;
  bytes[21] = underline;
  bytes[22] = strikeOut;
  bytes[23] = charSet;
  bytes[24] = outPrecision;
  bytes[25] = clipPrecision;
  bytes[26] = quality;
  bytes[27] = pitchAndFamily;
  std::transform(faceName.begin(), faceName.end(), bytes.begin() + kFaceNameOffset,
                 [](char c) { return static_cast<std::uint8_t>(c); });
}

std::string LogFont::FaceNameText() const {
  const auto end = std::find(faceName.begin(), faceName.end() - 1, '\0');
  return std::string(faceName.begin(), end);
}

void LogFont::SetFaceName(std::string_view name) {
  faceName.fill('\0');
  const std::size_t n = std::min(name.size(), kFaceNameSize - 1);
  std::copy_n(name.begin(), n, faceName.begin());
}

}  // namespace lcu
