// Reading and writing the settings tree the way the whole product family does: the family
// area read with RegReadString, and the application profile "Corvalent" with the
// profile calls (read integer or string with a default, write integer or string).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/host/settings_store.h"

namespace lcu {

/// Family-area keys and values shared with the product family's other programs.
namespace reg {
inline constexpr std::string_view kPaths = "Paths";
inline constexpr std::string_view kSetupDirectory = "SetupDirectory";
inline constexpr std::string_view kDataDirectory = "DataDirectory";
inline constexpr std::string_view kHardware = "Config\\Hardware";
inline constexpr std::string_view kLevel = "Level";
inline constexpr std::string_view kDefaultLevel = "2";
inline constexpr std::string_view kSerial = "Serial";
inline constexpr std::string_view kDownload = "Download";
inline constexpr std::string_view kMemory = "Memory";
inline constexpr std::string_view kUsbVendorId = "UsbVendorId";
inline constexpr int kSlotCount = 10;

// Application profile sections and values.
inline constexpr std::string_view kSettings = "Settings";
inline constexpr std::string_view kChannelData = "ChannelData";
inline constexpr std::string_view kDownloadSection = "Download";
inline constexpr std::string_view kTop = "Top";
inline constexpr std::string_view kLeft = "Left";
inline constexpr std::string_view kBottom = "Bottom";
inline constexpr std::string_view kRight = "Right";
inline constexpr std::string_view kShowCmd = "showCmd";
inline constexpr std::string_view kAutoDownload = "Auto Download";
inline constexpr std::string_view kPreserveBuffer = "Preserve Buffer";
inline constexpr std::string_view kPreserveQmt = "Preserve QMT";
inline constexpr std::string_view kMonitor = "Monitor";
inline constexpr std::string_view kChannelId = "ChannelID";
inline constexpr std::string_view kChannelValue = "ChannelValue";
inline constexpr std::string_view kCurrentLcu = "CurrentLCU";
inline constexpr std::string_view kZeroFlag = "ZeroFlag";
inline constexpr std::string_view kConfigStamp = "ConfigStamp";
inline constexpr std::string_view kFile = "File";
inline constexpr std::string_view kNew = "New";
inline constexpr std::string_view kTrue = "TRUE";
}  // namespace reg

/// Longest text RegReadString returns (the original kept it in a 1025-byte buffer).
inline constexpr std::size_t kRegStringLimit = 1024;
/// Longest key path RegReadString joins.
inline constexpr std::size_t kRegKeyLimit = 1023;

/// Reads a string value below the family root: keyPrefix and subKey joined form the key.
/// Returns the default when the key or the value is missing; the text is cut to 1024
/// characters.
std::string RegReadString(const SettingsStore& store, std::string_view keyPrefix, std::string_view subKey,
                          std::string_view valueName, std::string_view defaultText);

/// Key of registry slot n (1 to 10): "Config\LCUs\Serial<n>".
std::string SlotKey(int slot);

/// The application profile: the key "Corvalent" below the family root, one subkey per
/// section. Missing values read as the default; writes report whether they reached the store.
class Profile {
 public:
  explicit Profile(SettingsStore& store) : m_store(store) {}

  std::int32_t GetProfileInt(std::string_view section, std::string_view name, std::int32_t defaultValue) const;
  std::string GetProfileString(std::string_view section, std::string_view name, std::string_view defaultText) const;
  bool WriteProfileInt(std::string_view section, std::string_view name, std::int32_t value);
  bool WriteProfileString(std::string_view section, std::string_view name, std::string_view text);

  SettingsStore& Store() const { return m_store; }

  /// Key of a profile section below the family root ("Corvalent\<section>").
  static std::string SectionKey(std::string_view section);

 private:
  SettingsStore& m_store;
};

}  // namespace lcu
