// The link against a scripted backend: node search, a closed link, the status poll and the
// logging bits. How a failed transfer closes the link is the core's fault matrix.
#include <gtest/gtest.h>

#include "core/link/logger_transfers.h"
#include "core/link/usb_device.h"
#include "support/command_fixture.h"

namespace lcu {
namespace {

using test::BackendCall;

TEST(FindDevice, TriesFifteenNodesAndTakesTheFirstLcu) {
  test::ScriptedBackend none;
  none.nodes[15] = kLcuProductId;  // beyond the search range
  CUsbDevice absent(none);
  EXPECT_FALSE(absent.FindDevice());
  EXPECT_EQ(none.OpenedNodes(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
  EXPECT_EQ(absent.m_dwLastError, kErrorInvalidHandle);

  test::ScriptedBackend backend;
  backend.nodes[2] = 0x1234;
  backend.nodes[4] = kLcuProductId;
  backend.nodes[7] = kLcuProductId;
  CUsbDevice device(backend);
  ASSERT_TRUE(device.FindDevice());
  EXPECT_EQ(backend.OpenedNodes(), (std::vector<int>{0, 1, 2, 3, 4}));
  const auto closes = backend.CallsOf(BackendCall::kClose);
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0].node, 2);
  EXPECT_TRUE(device.FindDevice());  // an open link is kept without another search
  EXPECT_EQ(backend.OpenedNodes().size(), 5u);
}

TEST(ClosedLink, EveryOperationFailsWithoutTouchingTheDriver) {
  test::CommandFixture f;
  f.backend.nodes[0] = kLcuProductId;
  std::array<std::uint8_t, 64> block{};
  std::array<std::uint8_t, kLoggerHeaderSize> header{};
  std::vector<std::uint8_t> data(256);
  EXPECT_FALSE(f.device.VendorRead(LCU_READ_BLOCK, 0x8000, 0, 64, block));
  EXPECT_FALSE(f.device.VendorWrite(LCU_WRITE_WORD, 0xF752, 0x80));
  EXPECT_FALSE(f.device.BulkRead(block) || f.device.BulkWrite(block) || f.device.IsLogging());
  EXPECT_FALSE(ReadLoggerHeader(f.device, header) || WriteLoggerHeader(f.device, header));
  EXPECT_FALSE(ReadLoggerBlock(f.device, f.prompter, data, 100, 0x8000, 1));
  EXPECT_TRUE(f.backend.calls.empty() && f.prompter.messages.empty());
  EXPECT_EQ(f.device.m_dwLastError, kErrorInvalidHandle);
}

TEST(PollStatus, ReadsTheStatusBlockAndAfterAFailureSearchesFromNodeZero) {
  test::CommandFixture f;
  f.backend.nodes[1] = kLcuProductId;
  f.backend.failTransfers = {2};
  f.device.PollStatus();
  ASSERT_TRUE(f.device.IsOnline());
  EXPECT_EQ(f.Sent(), std::vector<std::string>{"in 41 8000/0 64"});
  EXPECT_EQ(f.device.m_status[63], 63);  // the counting pattern of the scripted reply
  f.device.PollStatus();
  EXPECT_FALSE(f.device.IsOnline());
  EXPECT_EQ(f.device.LastErrorText(), "A device attached to the system is not functioning.");
  f.backend.calls.clear();
  f.device.PollStatus();
  EXPECT_TRUE(f.device.IsOnline());
  EXPECT_EQ(f.backend.OpenedNodes(), (std::vector<int>{0, 1}));

  // Nothing is sent while a request is in flight.
  const CUsbDevice::ExchangeScope exchange(f.device);
  f.backend.calls.clear();
  f.device.PollStatus();
  EXPECT_TRUE(f.backend.calls.empty());
  EXPECT_TRUE(f.device.IsOnline());
}

TEST(IsLogging, CountsOnlyBitsZeroAndTwoToFive) {
  const std::pair<std::uint8_t, bool> cases[] = {{0x01, true},  {0x04, true},  {0x20, true},
                                                 {0x3D, true},  {0x00, false}, {0x02, false},
                                                 {0x40, false}, {0x80, false}, {0xC2, false}};
  for (const auto& [state, logging] : cases) {
    test::CommandFixture f;
    f.GoOnline();
    f.backend.Reply({state});
    EXPECT_EQ(f.device.IsLogging(), logging) << int{state};
    EXPECT_EQ(f.Sent(), std::vector<std::string>{"in 41 FE36/0 64"});
  }
}

}  // namespace
}  // namespace lcu
