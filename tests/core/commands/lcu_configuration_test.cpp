// The LCU Configuration rows: their two reads, their formats and the trimmed texts.
#include <gtest/gtest.h>

#include <cstring>

#include "core/commands/lcu_configuration.h"
#include "core/util/little_endian.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

using test::CommandFixture;

struct Reading {
  std::uint16_t memorySize = 2, lcuNumber = 17, clock = 605, stbc = 4321, firmware = 3, checksum = 0x00FF;
  std::string configId = "ABC            ";  // 15 characters
  std::string version = "V1.2   ";           // 7 characters
};

CLcuConfg Read(CommandFixture& f, const Reading& r) {
  f.GoOnline();
  le::PutU16(f.device.m_status, 0x02, r.memorySize);
  le::PutU16(f.device.m_status, 0x04, r.lcuNumber);
  le::PutU16(f.device.m_status, 0x06, r.clock);
  le::PutU16(f.device.m_status, 0x08, r.stbc);
  le::PutU16(f.device.m_status, 0x16, r.firmware);
  std::array<std::uint8_t, 64> identification{};
  identification.fill('Z');  // bytes outside the two texts must not show
  std::memcpy(identification.data(), r.configId.data(), r.configId.size());
  std::memcpy(identification.data() + 16, r.version.data(), r.version.size());
  std::array<std::uint8_t, 64> checksum{};
  le::PutU16(checksum, 0, r.checksum);
  f.Reply(identification);
  f.Reply(checksum);
  return CLcuConfg(f.ctx);
}

TEST(LcuConfiguration, ReadsTwoBlocksAndFormatsTheEightRowsAndTheirEdges) {
  CommandFixture f;
  const CLcuConfg config = Read(f, {});
  ASSERT_TRUE(config.IsReady());
  EXPECT_EQ(f.Sent(), (std::vector<std::string>{"in 41 8100/0 64", "in 41 7FFE/0 64"}));
  EXPECT_EQ(config.Lines(),
            (std::vector<std::string>{"Config ID : ABC", "Version : V1.2", "Checksum : 00FFH", "Firmware : 3.0",
                                      "Serial # : 17", "LCU Clock : 10:5", "Memory : 1024", "STBC : 4321"}));
  EXPECT_TRUE(f.prompter.messages.empty());

  const std::tuple<Reading, LcuConfigurationRow, std::string> cases[] = {
      {{.memorySize = 0}, kMemoryRow, "0"},
      {{.memorySize = 65535}, kMemoryRow, "33553920"},
      {{.clock = 0}, kClockRow, "0:0"},
      {{.checksum = 0x0A3F}, kChecksumRow, "0A3FH"},
      {{.configId = std::string(15, ' ')}, kConfigIdRow, " "},
      {{.configId = "FIFTEEN-LETTERS"}, kConfigIdRow, "FIFTEEN-LETTERS"},
      {{.configId = std::string("AB\0CD          ", 15)}, kConfigIdRow, "AB"},
  };
  for (const auto& [reading, row, text] : cases) {
    CommandFixture other;
    const CLcuConfg read = Read(other, reading);
    ASSERT_TRUE(read.IsReady());
    EXPECT_EQ(read.Texts()[row], text) << kLcuConfigurationLabels[row];
  }
}

}  // namespace
}  // namespace lcu
