#include "core/host/setting_form.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <string>

#include "core/host/registry.h"

namespace lcu {

namespace {

constexpr std::size_t kLargestHex16Digits = 4;

struct NumberSetting {
  std::string_view section;  // a profile section, or empty for a family key
  std::string_view key;      // a family key (empty for a profile section)
  std::string_view name;
  SettingForm form;
};

constexpr NumberSetting kNumberSettings[] = {
    {reg::kSettings, {}, reg::kTop, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kLeft, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kBottom, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kRight, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kShowCmd, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kAutoDownload, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kPreserveBuffer, SettingForm::kDecimal},
    {reg::kSettings, {}, reg::kPreserveQmt, SettingForm::kDecimal},
    {reg::kChannelData, {}, reg::kConfigStamp, SettingForm::kDecimal},
    {reg::kChannelData, {}, reg::kChannelId, SettingForm::kDecimal},
    {{}, reg::kHardware, reg::kLevel, SettingForm::kDecimal},
    {{}, reg::kHardware, reg::kUsbVendorId, SettingForm::kHex16},
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

bool IsDecimal(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty()) return false;
  const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + (negative ? 1 : 0);
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > limit) return false;
  }
  return true;
}

bool IsHex16(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  return !text.empty() && text.size() <= kLargestHex16Digits &&
         std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

SettingForm FormOfSetting(std::string_view key, std::string_view name) {
  const std::string folded = Folded(key);
  const std::string foldedName = Folded(name);
  if (IsSlotKey(folded) && foldedName == Folded(reg::kSerial)) return SettingForm::kDecimal;
  for (const NumberSetting& setting : kNumberSettings) {
    const std::string settingKey = setting.section.empty() ? Folded(setting.key) : Folded(Profile::SectionKey(setting.section));
    if (folded == settingKey && foldedName == Folded(setting.name)) return setting.form;
  }
  return SettingForm::kText;
}

bool FitsSettingForm(SettingForm form, std::string_view text) {
  switch (form) {
    case SettingForm::kDecimal:
      return IsDecimal(text);
    case SettingForm::kHex16:
      return IsHex16(text);
    case SettingForm::kText:
      break;
  }
  return true;
}

}  // namespace lcu
