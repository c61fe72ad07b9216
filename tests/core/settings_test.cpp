// The settings store conventions: defaults, the 1024-character cut, profile integers,
// blank trimming, number conversions and the system-error text; the store contract on the
// memory store.
#include <gtest/gtest.h>

#include "core/host/default_paths.h"
#include "core/host/memory_settings_store.h"
#include "core/host/prompter.h"
#include "core/host/registry.h"
#include "core/host/setting_form.h"
#include "core/util/decimal_text.h"
#include "core/util/trim_trailing_blanks.h"
#include "support/recording_prompter.h"
#include "support/settings_store_contract.h"

namespace lcu {
namespace {

TEST(RegReadString, DefaultWhenKeyOrValueIsMissing) {
  MemorySettingsStore store;
  EXPECT_EQ(RegReadString(store, "", "Paths", "SetupDirectory", "dflt"), "dflt");
  store.WriteString("Paths", "DataDirectory", "/data");
  EXPECT_EQ(RegReadString(store, "", "Paths", "SetupDirectory", "dflt"), "dflt");
  EXPECT_EQ(RegReadString(store, "", "Paths", "DataDirectory", "dflt"), "/data");
  EXPECT_EQ(RegReadString(store, "Config\\", "Hardware", "Level", "2"), "2");
}

TEST(RegReadString, JoinsPrefixAndSubkeyAndCutsLongTexts) {
  MemorySettingsStore store;
  store.WriteString("Config\\LCUs\\Serial3", "Serial", std::string(2000, '7'));
  const auto text = RegReadString(store, "Config\\LCUs\\", "Serial3", "Serial", "");
  EXPECT_EQ(text.size(), 1024u);
  // Keys and value names compare without regard to case, as in the registry.
  EXPECT_EQ(RegReadString(store, "", "config\\lcus\\serial3", "SERIAL", "").size(), 1024u);
}

TEST(Profile, IntegersAndStringsWithDefaults) {
  MemorySettingsStore store;
  Profile profile(store);
  EXPECT_EQ(profile.GetProfileInt("Settings", "Bottom", 600), 600);
  EXPECT_TRUE(profile.WriteProfileInt("Settings", "Bottom", -20));
  EXPECT_EQ(profile.GetProfileInt("Settings", "Bottom", 600), -20);
  EXPECT_EQ(store.ReadValue("Corvalent\\Settings", "Bottom"), "-20");
  EXPECT_TRUE(profile.WriteProfileString("ChannelData", "ZeroFlag", "TRUE"));
  EXPECT_EQ(profile.GetProfileString("ChannelData", "ZeroFlag", ""), "TRUE");
  // A text that is no number reads as the default.
  store.WriteString("Corvalent\\Settings", "Auto Download", "yes");
  EXPECT_EQ(profile.GetProfileInt("Settings", "Auto Download", 0), 0);
  store.SetReadOnly(true);
  EXPECT_FALSE(profile.WriteProfileInt("Settings", "Top", 1));
}

// An empty folder setting names no folder: the default is used, not the current folder.
TEST(FolderSettings, EmptyMeansTheDefaultFolder) {
  MemorySettingsStore store;
  store.WriteString("Paths", "DataDirectory", "");
  store.WriteString("Paths", "SetupDirectory", "");
  EXPECT_EQ(DataDirectory(store), DefaultDataDirectory());
  EXPECT_EQ(SetupDirectory(store), DefaultSetupDirectory());
  store.WriteString("Paths", "DataDirectory", "/data");
  EXPECT_EQ(DataDirectory(store), "/data");
}

// Each value the programs read as a number, and the texts it takes.
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

TEST(TrimTrailingBlanks, RemovesOnlyTrailingSpacesAndKeepsTheFirstCharacter) {
  struct Case {
    std::string in, out;
  };
  for (const auto& c : std::vector<Case>{{"AB  ", "AB"}, {"   ", " "}, {"x", "x"}, {"", ""}, {"AB\t", "AB\t"},
                                         {" A ", " A"}, {"A B", "A B"}}) {
    std::string text = c.in;
    TrimTrailingBlanks(text);
    EXPECT_EQ(text, c.out) << '"' << c.in << '"';
  }
}

TEST(DecimalText, ParsesLikeTheCLibrary) {
  struct Case {
    const char* text;
    std::int32_t value;
    bool digits;
  };
  for (const Case c : {Case{"17", 17, true}, Case{"  -1", -1, true}, Case{"+42x", 42, true}, Case{"abc", 0, false},
                       Case{"", 0, false}, Case{"99999999999", 2147483647, true},
                       Case{"-99999999999", -2147483647 - 1, true}}) {
    std::int32_t v = 5;
    EXPECT_EQ(TryParseDecimalInt(c.text, v), c.digits) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

TEST(DecimalText, HexAndBinaryConversions) {
  EXPECT_EQ(ParseHexNumber("12345") & 0xFFFF, 0x2345u);
  EXPECT_EQ(ParseHexNumber("-1") & 0xFFFF, 0xFFFFu);
  EXPECT_EQ(ParseHexNumber(" 0x1f"), 0x1Fu);
  EXPECT_EQ(ParseHexNumber("1FG0"), 0x1Fu);
  EXPECT_EQ(ParseHexNumber("zz"), 0u);
  EXPECT_EQ(ParseBinaryNumber("101"), 5u);
  EXPECT_EQ(ParseBinaryNumber("1021"), 2u);
}

TEST(ShowSystemError, CaptionLineFeedAndSystemText) {
  test::RecordingPrompter prompter;
  ShowSystemError(prompter, "Failed to read header", "The handle is invalid.");
  ShowSystemError(prompter, "Failed to read header", "");
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0], "Failed to read header\nThe handle is invalid.");
  EXPECT_EQ(prompter.messages[1], "Failed to read header\n");
  EXPECT_EQ(prompter.kinds[0], MessageKind::kError);
}

}  // namespace
}  // namespace lcu

namespace lcu::test {

struct MemoryBacking {
  SettingsStore& Store() { return store; }
  const SettingsStore& Fresh() { return store; }
  MemorySettingsStore store;
};
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, SettingsStoreContract, ::testing::Types<MemoryBacking>);

}  // namespace lcu::test
