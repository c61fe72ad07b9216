// The link against a scripted backend: node search, failures closing the link, the status
// poll and the logging bits.
#include <gtest/gtest.h>

#include <numeric>

#include "core/link/logger_transfers.h"
#include "core/link/usb_device.h"
#include "core/util/little_endian.h"
#include "support/recording_prompter.h"
#include "support/scripted_backend.h"

namespace lcu {
namespace {

using test::BackendCall;
using test::RecordingPrompter;
using test::ScriptedBackend;

TEST(FindDevice, TriesExactlyFifteenNodesWhenNoneIsPresent) {
  ScriptedBackend backend;
  backend.nodes[15] = kLcuProductId;  // beyond the search range
  CUsbDevice device(backend);
  EXPECT_FALSE(device.FindDevice());
  std::vector<int> expected(15);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(backend.OpenedNodes(), expected);
  EXPECT_EQ(device.m_hDevice, kInvalidUsbHandle);
  EXPECT_EQ(device.m_dwLastError, kErrorInvalidHandle);
}

TEST(FindDevice, SkipsOtherProductsAndTakesTheFirstLcu) {
  ScriptedBackend backend;
  backend.nodes[2] = 0x1234;
  backend.nodes[4] = kLcuProductId;
  backend.nodes[7] = kLcuProductId;
  CUsbDevice device(backend);
  ASSERT_TRUE(device.FindDevice());
  EXPECT_EQ(backend.OpenedNodes(), (std::vector<int>{0, 1, 2, 3, 4}));
  const auto closes = backend.CallsOf(BackendCall::kClose);
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0].node, 2);
  // An open link is kept without another search.
  EXPECT_TRUE(device.FindDevice());
  EXPECT_EQ(backend.OpenedNodes().size(), 5u);
}

TEST(ClosedLink, EveryOperationFailsWithoutTouchingTheDriver) {
  ScriptedBackend backend;
  backend.nodes[0] = kLcuProductId;
  CUsbDevice device(backend);
  RecordingPrompter prompter;
  std::array<std::uint8_t, 64> block{};
  std::array<std::uint8_t, kLoggerHeaderSize> header{};
  std::vector<std::uint8_t> data(256);
  EXPECT_FALSE(device.VendorRead(LCU_READ_BLOCK, 0x8000, 0, 64, block));
  EXPECT_FALSE(device.VendorWrite(LCU_WRITE_WORD, 0xF752, 0x80));
  EXPECT_FALSE(device.BulkRead(block));
  EXPECT_FALSE(device.BulkWrite(block));
  EXPECT_FALSE(device.IsLogging());
  EXPECT_FALSE(ReadLoggerHeader(device, header));
  EXPECT_FALSE(WriteLoggerHeader(device, header));
  EXPECT_FALSE(ReadLoggerBlock(device, prompter, data, 100, 0x8000, 1));
  EXPECT_TRUE(backend.calls.empty());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(device.m_dwLastError, kErrorInvalidHandle);
}

TEST(PollStatus, ReadsTheStatusBlockAndGoesOnline) {
  ScriptedBackend backend;
  backend.nodes[3] = kLcuProductId;
  CUsbDevice device(backend);
  device.PollStatus();
  EXPECT_EQ(device.m_bOnline, 1);
  const auto controls = backend.CallsOf(BackendCall::kControl);
  ASSERT_EQ(controls.size(), 1u);
  EXPECT_EQ(controls[0].request.bmRequestType, 0xC0);
  EXPECT_EQ(controls[0].request.bRequest, LCU_READ_BLOCK);
  EXPECT_EQ(controls[0].request.wValue, 0x8000);
  EXPECT_EQ(controls[0].request.wIndex, 0);
  EXPECT_EQ(controls[0].request.wLength, 64);
  EXPECT_EQ(controls[0].size, 64u);
  EXPECT_EQ(device.m_status[0], 0);  // the counting pattern of the scripted reply
  EXPECT_EQ(device.m_status[63], 63);
}

TEST(PollStatus, FailedReadClosesAndTheNextPollSearchesFromNodeZero) {
  ScriptedBackend backend;
  backend.nodes[1] = kLcuProductId;
  backend.failTransfers = {2};
  CUsbDevice device(backend);
  device.PollStatus();
  ASSERT_EQ(device.m_bOnline, 1);
  device.PollStatus();
  EXPECT_EQ(device.m_bOnline, 0);
  EXPECT_EQ(device.m_hDevice, kInvalidUsbHandle);
  EXPECT_EQ(device.m_dwLastError, backend.errorCode);
  EXPECT_EQ(device.LastErrorText(), "A device attached to the system is not functioning.");
  backend.calls.clear();
  device.PollStatus();
  EXPECT_EQ(device.m_bOnline, 1);
  EXPECT_EQ(backend.OpenedNodes(), (std::vector<int>{0, 1}));
}

TEST(PollStatus, DoesNothingWhileARequestIsInFlight) {
  ScriptedBackend backend;
  backend.nodes[0] = kLcuProductId;
  CUsbDevice device(backend);
  device.PollStatus();
  device.m_bBusy = 1;
  backend.calls.clear();
  device.m_bOnline = 1;
  device.PollStatus();
  EXPECT_TRUE(backend.calls.empty());
  EXPECT_EQ(device.m_bOnline, 1);
}

TEST(IsLogging, CountsOnlyBitsZeroAndTwoToFive) {
  struct Case {
    std::uint8_t state;
    bool logging;
  };
  for (const Case c : {Case{0x01, true}, Case{0x20, true}, Case{0x04, true}, Case{0x3D, true}, Case{0x02, false},
                       Case{0x40, false}, Case{0x80, false}, Case{0xC2, false}, Case{0x00, false}}) {
    ScriptedBackend backend;
    backend.nodes[0] = kLcuProductId;
    CUsbDevice device(backend);
    ASSERT_TRUE(device.FindDevice());
    backend.Reply({c.state});
    EXPECT_EQ(device.IsLogging(), c.logging) << int{c.state};
    const auto controls = backend.CallsOf(BackendCall::kControl);
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0].request.wValue, 0xFE36);
  }
}

}  // namespace
}  // namespace lcu
