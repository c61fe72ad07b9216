// Which texts each setting takes.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/host/setting_form.h"

namespace lcu {
namespace {

TEST(SettingForm, ValuesReadAsNumbersTakeOnlyNumbers) {
  const struct {
    const char* key;
    const char* name;
    const char* text;
    bool fits;
  } cases[] = {
      {"Corvalent\\Settings", "Preserve Buffer", "1", true},
      {"corvalent/settings", "preserve buffer", "true", false},
      {"Corvalent\\Settings", "showCmd", " 3", false},
      {"Corvalent\\ChannelData", "ConfigStamp", "2147483648", false},
      {"Corvalent\\ChannelData", "ChannelID", "5x", false},
      {"Config\\Hardware", "Level", "", false},
      {"Config/LCUs/Serial10", "Serial", "1234", true},
      {"Config\\LCUs\\Serial3", "Serial", "12a", false},
      {"Config\\Hardware", "UsbVendorId", "0x04CE", true},
      {"Config\\Hardware", "UsbVendorId", "104CE", false},
      {"Config\\LCUs\\Serial11", "Serial", "any text", true},
      {"Corvalent\\Settings", "Monitor", "", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitsSettingForm(FormOfSetting(c.key, c.name), c.text), c.fits) << c.key << ' ' << c.name << ' ' << c.text;
  }
}

// A value the programs read under one key does nothing under another: the key they read is
// named instead.
TEST(SettingForm, NamesTheKeyTheProgramsReadAValueUnder) {
  const struct {
    const char* key;
    const char* name;
    std::optional<std::string> instead;
  } cases[] = {
      {"Settings", "Preserve Buffer", "Corvalent\\Settings"},
      {"Corvalent", "auto download", "Corvalent\\Settings"},
      {"Velmora\\Corvalent\\Settings", "Preserve QMT", "Corvalent\\Settings"},
      {"Corvalent\\ChannelData", "Monitor", "Corvalent\\Settings"},
      {"Hardware", "UsbVendorId", "Config\\Hardware"},
      {"Corvalent\\Paths", "DataDirectory", "Paths"},
      {"Download", "File", "Corvalent\\Download"},
      {"Config\\LCUs", "Serial", "Config\\LCUs\\Serial1 to Serial10"},
      {"Config\\LCUs\\Serial11", "Download", "Config\\LCUs\\Serial1 to Serial10"},
      {"corvalent/settings/", "Preserve Buffer", std::nullopt},
      {"Config/LCUs/Serial10", "Serial", std::nullopt},
      {"Paths", "SetupDirectory", std::nullopt},
      {"Settings", "Colour", std::nullopt},
      {"Corvalent\\ChannelData", "ChannelValue", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(KeyReadInstead(c.key, c.name), c.instead) << c.key << ' ' << c.name;
}

}  // namespace
}  // namespace lcu
