#include "core/host/setting_form.h"

#include <cctype>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "core/host/registry.h"
#include "core/util/strict_number.h"

namespace lcu {

namespace {

// A value the programs read, and the form they read it in.
struct ReadSetting {
  std::string_view section;  // a profile section, or empty for a family key
  std::string_view key;      // a family key (empty for a profile section)
  std::string_view name;
  SettingForm form;
};

constexpr ReadSetting kReadSettings[] = {
    {reg::kSettings, {}, reg::kTop, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kLeft, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kBottom, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kRight, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kShowCmd, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kAutoDownload, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kPreserveBuffer, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kPreserveQmt, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kMonitor, SettingForm::kText},
    {reg::kChannelData, {}, reg::kConfigStamp, SettingForm::kDecimal},
    {reg::kChannelData, {}, reg::kChannelId, SettingForm::kDecimal},
    {reg::kDownloadSection, {}, reg::kFile, SettingForm::kText},
    {{}, reg::kPaths, reg::kSetupDirectory, SettingForm::kText},
    {{}, reg::kPaths, reg::kDataDirectory, SettingForm::kText},
    {{}, reg::kHardware, reg::kLevel, SettingForm::kDecimal},
    {{}, reg::kHardware, reg::kUsbVendorId, SettingForm::kHex16},
};

// The values of the registry slots Config\LCUs\Serial1 to Serial10 that the programs read.
constexpr ReadSetting kSlotSettings[] = {
    {{}, {}, reg::kSerial, SettingForm::kDecimal},
    {{}, {}, reg::kDownload, SettingForm::kText},
};

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  while (!folded.empty() && folded.back() == '\\') folded.pop_back();
  return folded;
}

bool IsSlotKey(const std::string& key) {
  for (int slot = 1; slot <= reg::kSlotCount; ++slot)
    if (key == Folded(SlotKey(slot))) return true;
  return false;
}

std::string KeyOf(const ReadSetting& setting) {
  return setting.section.empty() ? std::string(setting.key) : Profile::SectionKey(setting.section);
}

}  // namespace

SettingForm FormOfSetting(std::string_view key, std::string_view name) {
  const std::string folded = Folded(key);
  const std::string foldedName = Folded(name);
  if (IsSlotKey(folded)) {
    for (const ReadSetting& setting : kSlotSettings)
      if (foldedName == Folded(setting.name)) return setting.form;
  }
  for (const ReadSetting& setting : kReadSettings) {
    if (folded == Folded(KeyOf(setting)) && foldedName == Folded(setting.name)) return setting.form;
  }
  return SettingForm::kText;
}

std::optional<std::string> KeyReadInstead(std::string_view key, std::string_view name) {
  const std::string folded = Folded(key);
  const std::string foldedName = Folded(name);
  for (const ReadSetting& setting : kSlotSettings) {
    if (foldedName == Folded(setting.name) && !IsSlotKey(folded))
      return SlotKey(1) + " to " + std::string(reg::kSerial) + std::to_string(reg::kSlotCount);
  }
  for (const ReadSetting& setting : kReadSettings) {
    if (foldedName == Folded(setting.name) && folded != Folded(KeyOf(setting))) return KeyOf(setting);
  }
  return std::nullopt;
}

bool FitsSettingForm(SettingForm form, std::string_view text) {
  switch (form) {
    case SettingForm::kDecimal:
      return static_cast<bool>(ParseStrictNumber(text, {NumberBase::kDecimal, true},
                                                 std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
    case SettingForm::kHex16: return static_cast<bool>(ParseHex16Setting(text));
    case SettingForm::kText: break;
  }
  return true;
}

std::optional<std::uint16_t> ParseHex16Setting(std::string_view text) {
  constexpr std::size_t kLargestHex16Digits = 4;
  const StrictNumber number = ParseStrictNumber(text, {NumberBase::kHex, false, false, kLargestHex16Digits}, 0, 0xFFFF);
  if (!number) return std::nullopt;
  return static_cast<std::uint16_t>(number.value);
}

}  // namespace lcu
