// The channel definition record and file layouts: fields, carried bytes, whole records.
#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <string>

#include "core/channels/channel_definition.h"
#include "core/util/little_endian.h"

namespace lcu {
namespace {

TEST(ChannelDefinitionRecord, FieldsAndCarriedBytes) {
  std::array<std::uint8_t, kChannelDefinitionSize> bytes{};
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{0x80});
  const std::string name = "ENGINE SPEED";
  std::copy(name.begin(), name.end(), bytes.begin());
  bytes[name.size()] = 0;
  std::copy_n("rpm", 4, bytes.begin() + 32);
  le::PutU16(bytes, 66, static_cast<std::uint16_t>(-2));

  const ChannelDefinition d = ChannelDefinition::Read(bytes);
  EXPECT_EQ(d.NameText(), "ENGINE SPEED");
  EXPECT_EQ(d.UnitsText(), "rpm");
  EXPECT_EQ(d.decimals, -2);
  std::array<std::uint8_t, kChannelDefinitionSize> written{};
  d.Write(written);
  EXPECT_EQ(written, bytes) << "bytes the system does not interpret are carried";
}

TEST(ChannelDefinitionFileLayout, SerializeRoundTripsAndParseTakesWholeRecordsOnly) {
  ChannelDefinitionFile file;
  file.header[0] = 'H';
  file.header[255] = 'Z';
  for (int k = 0; k < 3; ++k) {
    ChannelDefinition d;
    d.SetName("CH" + std::to_string(k));
    d.decimals = static_cast<std::int16_t>(k);
    d.carried68[59] = static_cast<std::uint8_t>(k + 1);
    file.records.push_back(d);
  }
  const auto bytes = file.Serialize();
  ASSERT_EQ(bytes.size(), 256u + 3 * 128);
  EXPECT_EQ(bytes[256 + 2 * 128 + 127], 3);
  const auto back = ChannelDefinitionFile::Parse(bytes);
  EXPECT_EQ(back.header, file.header);
  EXPECT_EQ(back.records, file.records);
  EXPECT_EQ(ChannelDefinitionFile::Parse(std::span(bytes).first(256 + 2 * 128 + 127)).records.size(), 2u);
  EXPECT_EQ(ChannelDefinitionFile::Parse(std::span(bytes).first(100)).header[0], 'H');
}

}  // namespace
}  // namespace lcu
