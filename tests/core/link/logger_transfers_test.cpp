// Block reads of the logger: one set-up, then the rounded transfer size cut into 16384-byte
// chunks that land one after another. The header's transfers are pinned by the maintenance
// commands that read and write it.
#include <gtest/gtest.h>

#include "core/link/logger_transfers.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

TEST(ReadLoggerBlock, TransferSizesFollowTheRoundingRule) {
  const std::pair<std::uint32_t, std::vector<std::string>> cases[] = {
      {0, {"bulk-in 128"}},
      {127, {"bulk-in 128"}},
      {128, {"bulk-in 256"}},
      {16383, {"bulk-in 16384"}},
      {16384, {"bulk-in 16384", "bulk-in 128"}},
      {40000, {"bulk-in 16384", "bulk-in 16384", "bulk-in 7296"}},
  };
  for (const auto& [length, reads] : cases) {
    test::CommandFixture f;
    f.GoOnline();
    std::vector<std::uint8_t> buffer(LoggerBlockTransferSize(length));
    ASSERT_TRUE(ReadLoggerBlock(f.device, f.prompter, buffer, length, 0xA000, 53)) << length;
    std::vector<std::string> sent = {"out 45 A000/35"};
    sent.insert(sent.end(), reads.begin(), reads.end());
    EXPECT_EQ(f.Sent(), sent);
    // The scripted link counts on from the status poll's 64 bytes.
    for (std::size_t i = 0; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], static_cast<std::uint8_t>(i + 64)) << i;
    EXPECT_TRUE(f.prompter.messages.empty());
  }
}

}  // namespace
}  // namespace lcu
