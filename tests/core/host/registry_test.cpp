// Reading and writing the settings as the programs do: defaults, the 1024-character cut,
// profile integers and the folder settings.
#include <gtest/gtest.h>

#include "core/host/default_paths.h"
#include "core/host/memory_settings_store.h"
#include "core/host/registry.h"

namespace lcu {
namespace {

TEST(RegReadString, DefaultWhenMissingAndLongTextsCut) {
  MemorySettingsStore store;
  EXPECT_EQ(RegReadString(store, "", "Paths", "SetupDirectory", "dflt"), "dflt");
  store.WriteString("Paths", "DataDirectory", "/data");
  EXPECT_EQ(RegReadString(store, "", "Paths", "SetupDirectory", "dflt"), "dflt");
  EXPECT_EQ(RegReadString(store, "", "Paths", "DataDirectory", "dflt"), "/data");
  store.WriteString("Config\\LCUs\\Serial3", "Serial", std::string(2000, '7'));
  EXPECT_EQ(RegReadString(store, "Config\\LCUs\\", "Serial3", "Serial", "").size(), 1024u);
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
  EXPECT_EQ(profile.GetProfileInt("Settings", "Auto Download", 7), 7);
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

}  // namespace
}  // namespace lcu
