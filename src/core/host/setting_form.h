// Which settings values the programs read as numbers, and the text each must hold to be read
// as the number it shows: a value such as "true" where a number is read reads as 0 or as the
// default, and would change what the programs do without a word.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lcu {

enum class SettingForm {
  kText,     // read as text
  kDecimal,  // a 32-bit decimal integer: an optional sign and digits
  kHex16,    // a 16-bit hexadecimal number: up to four digits, an optional 0x
};

/// The form in which the programs read a value: the profile's integers (the main window's
/// edges and show state, Auto Download, Preserve Buffer, Preserve QMT, ConfigStamp) and
/// ChannelID, the hardware level and the slots' Serial are decimal; the USB vendor id is
/// hexadecimal; everything else is text. key is a path below the family root with \ or /
/// between its parts; keys and names are compared without regard to case, as the registry
/// does.
SettingForm FormOfSetting(std::string_view key, std::string_view name);

/// Where the programs read a value of this name when that is not under key: the key they
/// read it under ("Corvalent\Settings" for "Preserve Buffer"; for the slots' values
/// "Config\LCUs\Serial1 to Serial10"). A value written elsewhere would change nothing the
/// programs do. Nullopt when they read no value of that name, or read it under key. Keys and
/// names are compared as FormOfSetting compares them.
std::optional<std::string> KeyReadInstead(std::string_view key, std::string_view name);

/// True when the text, as it stands, is a number of that form (any text is kText).
bool FitsSettingForm(SettingForm form, std::string_view text);

/// The value of a kHex16 text: up to four hexadecimal digits after an optional 0x, nothing
/// else; nullopt for any other text.
std::optional<std::uint16_t> ParseHex16Setting(std::string_view text);

}  // namespace lcu
