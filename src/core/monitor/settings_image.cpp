#include "core/monitor/settings_image.h"

#include <algorithm>
#include <vector>

#include "core/util/little_endian.h"

namespace lcu {

namespace {

// Header.
constexpr std::size_t kVersionOffset = 0;
constexpr std::size_t kReserved4Offset = 4;
constexpr std::size_t kWindowCountOffset = 37;
constexpr std::size_t kReserved41Offset = 41;
constexpr std::size_t kSettingsFlagOffset = 141;
constexpr std::size_t kReserved142Offset = 142;
constexpr std::size_t kMainPlacementOffset = 144;
constexpr std::size_t kRecordsOffset = kSettingsHeaderSize;

// Within a record.
constexpr std::size_t kPlacementOffset = 0;
constexpr std::size_t kChannelsOffset = 44;
constexpr std::size_t kChannelCountOffset = 1068;
constexpr std::size_t kActiveOffset = 1072;
constexpr std::size_t kNameOffset = 1073;
constexpr std::size_t kWidthsOffset = 1182;
constexpr std::size_t kRecordReservedOffset = 1192;
constexpr std::size_t kFontOffset = 1252;

static_assert(kRecordsOffset + kMaxMonitorWindows * kMonitorWindowRecordSize == kSettingsImageSize);
static_assert(kFontOffset + kLogFontSize == kMonitorWindowRecordSize);
static_assert(kNameOffset + kWindowNameFieldSize == kWidthsOffset);
static_assert(kWidthsOffset + 2 * kMonitorColumns == kRecordReservedOffset);

template <std::size_t N>
void ReadBytes(std::span<const std::uint8_t> from, std::size_t offset, std::array<std::uint8_t, N>& to) {
  le::CheckRange(from.size(), offset, N);
  std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(offset), N, to.begin());
}

template <std::size_t N>
void WriteBytes(std::span<std::uint8_t> to, std::size_t offset, const std::array<std::uint8_t, N>& from) {
  le::CheckRange(to.size(), offset, N);
  std::copy(from.begin(), from.end(), to.begin() + static_cast<std::ptrdiff_t>(offset));
}

MonitorWindowRecord ReadRecord(std::span<const std::uint8_t, kMonitorWindowRecordSize> b) {
  MonitorWindowRecord r;
  r.placement = WindowPlacement::Read(b.subspan<kPlacementOffset, kWindowPlacementSize>());
  for (std::size_t i = 0; i < kStoredChannels; ++i) r.channels[i] = le::U16(b, kChannelsOffset + 2 * i);
  r.channelCount = le::S32(b, kChannelCountOffset);
  r.active = b[kActiveOffset];
  for (std::size_t i = 0; i < kWindowNameFieldSize; ++i) r.name[i] = static_cast<char>(b[kNameOffset + i]);
  for (std::size_t i = 0; i < kMonitorColumns; ++i) r.columnWidths[i] = le::U16(b, kWidthsOffset + 2 * i);
  ReadBytes(b, kRecordReservedOffset, r.reserved);
  r.font = LogFont::Read(b.subspan<kFontOffset, kLogFontSize>());
  return r;
}

void WriteRecord(const MonitorWindowRecord& r, std::span<std::uint8_t, kMonitorWindowRecordSize> b) {
  r.placement.Write(b.subspan<kPlacementOffset, kWindowPlacementSize>());
  for (std::size_t i = 0; i < kStoredChannels; ++i) le::PutU16(b, kChannelsOffset + 2 * i, r.channels[i]);
  le::PutU32(b, kChannelCountOffset, static_cast<std::uint32_t>(r.channelCount));
  b[kActiveOffset] = r.active;
  for (std::size_t i = 0; i < kWindowNameFieldSize; ++i) b[kNameOffset + i] = static_cast<std::uint8_t>(r.name[i]);
  for (std::size_t i = 0; i < kMonitorColumns; ++i) le::PutU16(b, kWidthsOffset + 2 * i, r.columnWidths[i]);
  WriteBytes(b, kRecordReservedOffset, r.reserved);
  r.font.Write(b.subspan<kFontOffset, kLogFontSize>());
}

}  // namespace

std::string MonitorWindowRecord::NameText() const {
  const auto limit = name.begin() + kWindowNameLimit;
  return std::string(name.begin(), std::find(name.begin(), limit, '\0'));
}

void MonitorWindowRecord::SetName(std::string_view text) {
  name.fill('\0');
  std::copy_n(text.begin(), std::min(text.size(), kWindowNameLimit), name.begin());
}

std::size_t MonitorWindowRecord::RowsToRestore() const {
  return static_cast<std::size_t>(std::clamp<std::int32_t>(channelCount, 0, kStoredChannels));
}

SettingsImage SettingsImage::Read(std::span<const std::uint8_t, kSettingsImageSize> bytes) {
  SettingsImage s;
  s.version = le::U32(bytes, kVersionOffset);
  ReadBytes(bytes, kReserved4Offset, s.reserved4);
  s.windowCount = le::S32(bytes, kWindowCountOffset);
  ReadBytes(bytes, kReserved41Offset, s.reserved41);
  s.settingsFlag = bytes[kSettingsFlagOffset];
  ReadBytes(bytes, kReserved142Offset, s.reserved142);
  s.mainPlacement = WindowPlacement::Read(bytes.subspan<kMainPlacementOffset, kWindowPlacementSize>());
  for (std::size_t k = 0; k < kMaxMonitorWindows; ++k) {
    s.records[k] =
        ReadRecord(bytes.subspan(kRecordsOffset + k * kMonitorWindowRecordSize).first<kMonitorWindowRecordSize>());
  }
  return s;
}

void SettingsImage::Write(std::span<std::uint8_t, kSettingsImageSize> bytes) const {
  le::PutU32(bytes, kVersionOffset, version);
  WriteBytes(bytes, kReserved4Offset, reserved4);
  le::PutU32(bytes, kWindowCountOffset, static_cast<std::uint32_t>(windowCount));
  WriteBytes(bytes, kReserved41Offset, reserved41);
  bytes[kSettingsFlagOffset] = settingsFlag;
  WriteBytes(bytes, kReserved142Offset, reserved142);
  mainPlacement.Write(bytes.subspan<kMainPlacementOffset, kWindowPlacementSize>());
  for (std::size_t k = 0; k < kMaxMonitorWindows; ++k) {
    WriteRecord(records[k],
                bytes.subspan(kRecordsOffset + k * kMonitorWindowRecordSize).first<kMonitorWindowRecordSize>());
  }
}

void SettingsImage::Overlay(std::span<const std::uint8_t> fileBytes) {
  std::vector<std::uint8_t> image(kSettingsImageSize);
  const std::span<std::uint8_t, kSettingsImageSize> whole(image.data(), kSettingsImageSize);
  Write(whole);
  std::copy_n(fileBytes.begin(), std::min(fileBytes.size(), kSettingsImageSize), image.begin());
  *this = Read(whole);
}

std::size_t SettingsImage::WindowsToOpen() const {
  return static_cast<std::size_t>(std::clamp<std::int32_t>(windowCount, 0, kMaxMonitorWindows));
}

}  // namespace lcu
