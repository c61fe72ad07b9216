#include "core/channels/channel_definition.h"

#include <algorithm>

#include "core/util/little_endian.h"

namespace lcu {

namespace {
constexpr std::size_t kUnitsOffset = 32;
constexpr std::size_t kCarried48Offset = 48;
constexpr std::size_t kDecimalsOffset = 66;
constexpr std::size_t kCarried68Offset = 68;

template <std::size_t N>
std::string TextOf(const std::array<char, N>& field) {
  const auto nul = std::find(field.begin(), field.end(), '\0');
  return std::string(field.begin(), nul);
}

template <std::size_t N>
void SetText(std::array<char, N>& field, std::string_view text) {
  field.fill('\0');
  const std::size_t n = std::min(text.size(), N - 1);
  std::copy_n(text.begin(), n, field.begin());
}
}  // namespace

ChannelDefinition ChannelDefinition::Read(std::span<const std::uint8_t, kChannelDefinitionSize> bytes) {
  ChannelDefinition d;
  for (std::size_t i = 0; i < kChannelNameSize; ++i) d.name[i] = static_cast<char>(bytes[i]);
  for (std::size_t i = 0; i < kChannelUnitsSize; ++i) d.units[i] = static_cast<char>(bytes[kUnitsOffset + i]);
  std::copy_n(bytes.begin() + kCarried48Offset, d.carried48.size(), d.carried48.begin());
  d.decimals = le::S16(bytes, kDecimalsOffset);
  std::copy_n(bytes.begin() + kCarried68Offset, d.carried68.size(), d.carried68.begin());
  return d;
}

void ChannelDefinition::Write(std::span<std::uint8_t, kChannelDefinitionSize> bytes) const {
  for (std::size_t i = 0; i < kChannelNameSize; ++i) bytes[i] = static_cast<std::uint8_t>(name[i]);
  for (std::size_t i = 0; i < kChannelUnitsSize; ++i) bytes[kUnitsOffset + i] = static_cast<std::uint8_t>(units[i]);
  std::copy(carried48.begin(), carried48.end(), bytes.begin() + kCarried48Offset);
  le::PutU16(bytes, kDecimalsOffset, static_cast<std::uint16_t>(decimals));
  std::copy(carried68.begin(), carried68.end(), bytes.begin() + kCarried68Offset);
}

std::string ChannelDefinition::NameText() const { return TextOf(name); }
std::string ChannelDefinition::UnitsText() const { return TextOf(units); }
void ChannelDefinition::SetName(std::string_view text) { SetText(name, text); }
void ChannelDefinition::SetUnits(std::string_view text) { SetText(units, text); }

ChannelDefinitionFile ChannelDefinitionFile::Parse(std::span<const std::uint8_t> bytes) {
  ChannelDefinitionFile file;
  const std::size_t headerBytes = std::min(bytes.size(), kChannelDefinitionFileHeaderSize);
  std::copy_n(bytes.begin(), headerBytes, file.header.begin());
  if (bytes.size() <= kChannelDefinitionFileHeaderSize) return file;
  const auto body = bytes.subspan(kChannelDefinitionFileHeaderSize);
  const std::size_t count = body.size() / kChannelDefinitionSize;
  file.records.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    file.records.push_back(
        ChannelDefinition::Read(body.subspan(k * kChannelDefinitionSize).first<kChannelDefinitionSize>()));
  }
  return file;
}

std::vector<std::uint8_t> ChannelDefinitionFile::Serialize() const {
  std::vector<std::uint8_t> bytes(kChannelDefinitionFileHeaderSize + records.size() * kChannelDefinitionSize);
  std::copy(header.begin(), header.end(), bytes.begin());
  auto body = std::span(bytes).subspan(kChannelDefinitionFileHeaderSize);
  for (std::size_t k = 0; k < records.size(); ++k) {
    records[k].Write(body.subspan(k * kChannelDefinitionSize).first<kChannelDefinitionSize>());
  }
  return bytes;
}

}  // namespace lcu
