#include "core/monitor/settings_file_contents.h"

#include <algorithm>
#include <optional>

#include "core/channels/channel_model.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {

constexpr std::size_t kVersionOffset = 0;
constexpr std::size_t kWindowCountOffset = 37;

// Values a font record holds for its style flags and weight.
constexpr std::uint8_t kLargestFlag = 1;
constexpr std::int32_t kLargestFontWeight = 1000;
// The character codes no window or face name holds.
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

std::string Number(std::int64_t value) { return std::to_string(value); }

std::string CutShort(std::size_t size) {
  return "the file ends after " + Number(static_cast<std::int64_t>(size)) + " of its " +
         Number(static_cast<std::int64_t>(kSettingsImageSize)) + " bytes";
}

// Text up to its terminator (or its end) holds no control character.
template <typename Chars>
bool IsText(const Chars& chars, std::size_t limit) {
  for (std::size_t i = 0; i < limit && chars[i] != '\0'; ++i) {
    const auto c = static_cast<unsigned char>(chars[i]);
    if (c < kFirstPrintable || c == kDelete) return false;
  }
  return true;
}

// What is wrong with a record that lies whole in the file, if anything: a value no program
// writes there.
std::optional<std::string> RecordFault(const MonitorWindowRecord& record, bool hasFonts) {
  if (record.channelCount < 0 || record.channelCount > static_cast<std::int32_t>(kChannelTableSize)) {
    return "a channel count of " + Number(record.channelCount);
  }
  for (std::size_t i = 0; i < record.RowsToRestore(); ++i) {
    if (record.channels[i] >= kChannelTableSize) return "channel number " + Number(record.channels[i]);
  }
  if (record.active > kLargestFlag) return "an active flag of " + Number(record.active);
  if (!IsText(record.name, kWindowNameLimit)) return "a name that is not text";
  if (!hasFonts) return std::nullopt;
  const LogFont& font = record.font;
  if (font.italic > kLargestFlag || font.underline > kLargestFlag || font.strikeOut > kLargestFlag) {
    return std::string("a font style flag that is neither 0 nor 1");
  }
  if (font.weight < 0 || font.weight > kLargestFontWeight) return "a font weight of " + Number(font.weight);
  const bool terminated = std::find(font.faceName.begin(), font.faceName.end(), '\0') != font.faceName.end();
  if (!terminated || !IsText(font.faceName, kFaceNameSize)) return std::string("a font name that is not text");
  return std::nullopt;
}

}  // namespace

SettingsFileContents ReadSettingsFile(std::span<const std::uint8_t> firstBytes) {
  const std::span<const std::uint8_t> bytes = firstBytes.first(std::min(firstBytes.size(), kSettingsBytesToRead));
  SettingsFileContents contents;
  const auto damaged = [&contents](std::string why) {
    if (contents.damage.empty()) contents.damage = std::move(why);
  };
  if (bytes.size() < kSettingsHeaderSize) {
    damaged(CutShort(bytes.size()));
    return contents;
  }
  const std::uint32_t version = le::U32(bytes, kVersionOffset);
  if (version > kSettingsVersion) {
    damaged("not a settings file this program knows (version " + Number(version) + ")");
    return contents;
  }
  const std::int32_t windowCount = le::S32(bytes, kWindowCountOffset);
  if (windowCount < 0 || windowCount > static_cast<std::int32_t>(kMaxMonitorWindows)) {
    damaged("a window count of " + Number(windowCount) + ", not 0 to 32");
    return contents;
  }
  contents.headerUsable = true;
  contents.image.Overlay(bytes);
  if (bytes.size() < kSettingsImageSize) damaged(CutShort(bytes.size()));
  if (bytes.size() > kSettingsImageSize) damaged("the file is longer than a settings file");

  const SettingsImage& image = contents.image;
  for (std::size_t k = 0; k < image.WindowsToOpen(); ++k) {
    const std::size_t end = kSettingsHeaderSize + (k + 1) * kMonitorWindowRecordSize;
    if (bytes.size() < end) break;  // the file ends inside this record: said above
    if (const std::optional<std::string> fault = RecordFault(image.records[k], image.HasFontsAndWidths())) {
      damaged("window " + Number(static_cast<std::int64_t>(k + 1)) + ": " + *fault);
      continue;
    }
    contents.windows.push_back(k);
  }
  return contents;
}

}  // namespace lcu
