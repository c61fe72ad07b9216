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

// A failed chunk is named by what it did, except over the Windows driver, whose bulk read is
// the ReadFile call the LCU's tools have always named.
TEST(ReadLoggerBlock, AFailedReadIsNamedByWhatItDid) {
  struct ReadFileBackend : test::ScriptedBackend {
    bool BulkReadIsReadFile() const override { return true; }
  };
  const std::string system = "A device attached to the system is not functioning.";
  const struct {
    bool readFile;
    int failing;  // 2: the first chunk; 3: the remainder
    std::vector<std::string> messages;
  } cases[] = {
      {false, 2, {"Reading from the LCU failed.\n" + system}},
      {false, 3, {system, "Reading from the LCU failed."}},
      {true, 2, {"ReadFile failed.\n" + system}},
      {true, 3, {system, "ReadFile failed"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.readFile ? "ReadFile" : "other");
    ReadFileBackend readFile;
    test::ScriptedBackend other;
    test::ScriptedBackend& backend = c.readFile ? readFile : other;
    backend.nodes[0] = kLcuProductId;
    CUsbDevice device(backend);
    device.PollStatus();
    backend.failTransfers.push_back(backend.transfers + c.failing);
    test::RecordingPrompter prompter;
    std::vector<std::uint8_t> buffer(LoggerBlockTransferSize(16384));
    EXPECT_FALSE(ReadLoggerBlock(device, prompter, buffer, 16384, 0xA000, 53));
    EXPECT_EQ(prompter.messages, c.messages);
  }
}

}  // namespace
}  // namespace lcu
