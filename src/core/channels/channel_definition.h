// ChannelDefinition: the 128-byte record of the channel definition file ("channel.dsc") that
// names a channel, gives its units and its number of decimals, and the file's layout: a
// 256-byte header followed by records. Bytes the system does not interpret are carried.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lcu {

inline constexpr std::size_t kChannelDefinitionSize = 128;
inline constexpr std::size_t kChannelNameSize = 32;
inline constexpr std::size_t kChannelUnitsSize = 16;
inline constexpr std::size_t kChannelDefinitionFileHeaderSize = 256;

struct ChannelDefinition {
  std::array<char, kChannelNameSize> name{};    // NUL-terminated text
  std::array<char, kChannelUnitsSize> units{};  // NUL-terminated text
  std::array<std::uint8_t, 18> carried48{};     // bytes 48 to 65
  std::int16_t decimals = 0;                    // bytes 66 and 67
  std::array<std::uint8_t, 60> carried68{};     // bytes 68 to 127

  static ChannelDefinition Read(std::span<const std::uint8_t, kChannelDefinitionSize> bytes);
  void Write(std::span<std::uint8_t, kChannelDefinitionSize> bytes) const;

  /// The name and the units cut at their first NUL.
  std::string NameText() const;
  std::string UnitsText() const;
  /// Store a text NUL-padded; a text too long for its field is cut so that the field's last
  /// byte stays NUL.
  void SetName(std::string_view text);
  void SetUnits(std::string_view text);

  friend bool operator==(const ChannelDefinition&, const ChannelDefinition&) = default;
};

/// The whole file: its header as read and its complete records in file order.
struct ChannelDefinitionFile {
  std::array<std::uint8_t, kChannelDefinitionFileHeaderSize> header{};
  std::vector<ChannelDefinition> records;

  /// Reads a file image. A header shorter than 256 bytes is taken as far as it goes (zero
  /// after it) and yields no records; a trailing partial record is ignored.
  static ChannelDefinitionFile Parse(std::span<const std::uint8_t> bytes);
  /// The file image: the header, then every record.
  std::vector<std::uint8_t> Serialize() const;
};

}  // namespace lcu
