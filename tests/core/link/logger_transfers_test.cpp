// The logger transfers: block reads rounded and cut into chunks, and the header read and
// written with its status part left alone.
#include <gtest/gtest.h>

#include "core/link/logger_transfers.h"
#include "core/link/usb_device.h"
#include "support/recording_prompter.h"
#include "support/scripted_backend.h"

namespace lcu {
namespace {

using test::BackendCall;
using test::RecordingPrompter;
using test::ScriptedBackend;

// ReadLoggerBlock: the rounded transfer size, split into 16384-byte chunks and a remainder.
TEST(ReadLoggerBlock, TransferSizesFollowTheRoundingRule) {
  struct Case {
    std::uint32_t length;
    std::vector<std::size_t> reads;
  };
  const std::vector<Case> cases = {
      {0, {128}},          {127, {128}},
      {128, {256}},        {256, {384}},
      {16383, {16384}},    {16384, {16384, 128}},
      {40000, {16384, 16384, 7296}},
  };
  for (const auto& c : cases) {
    ScriptedBackend backend;
    backend.nodes[0] = kLcuProductId;
    CUsbDevice device(backend);
    ASSERT_TRUE(device.FindDevice());
    RecordingPrompter prompter;
    std::vector<std::uint8_t> buffer(LoggerBlockTransferSize(c.length));
    ASSERT_TRUE(ReadLoggerBlock(device, prompter, buffer, c.length, 0xA000, 53)) << c.length;
    const auto controls = backend.CallsOf(BackendCall::kControl);
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0].request.bRequest, LCU_BULK_READ);
    EXPECT_EQ(controls[0].request.bmRequestType, 0x40);
    EXPECT_EQ(controls[0].request.wValue, 0xA000);
    EXPECT_EQ(controls[0].request.wIndex, 53);
    EXPECT_EQ(controls[0].request.wLength, 0);
    std::vector<std::size_t> reads;
    for (const auto& r : backend.CallsOf(BackendCall::kBulkRead)) reads.push_back(r.size);
    EXPECT_EQ(reads, c.reads) << c.length;
    // Chunks land one after another in the buffer.
    for (std::size_t i = 0; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], static_cast<std::uint8_t>(i)) << i;
    EXPECT_TRUE(prompter.messages.empty());
  }
}

TEST(LoggerHeaderTransfers, ExactRequestsAndSizes) {
  ScriptedBackend backend;
  backend.nodes[0] = kLcuProductId;
  CUsbDevice device(backend);
  ASSERT_TRUE(device.FindDevice());
  std::array<std::uint8_t, kLoggerHeaderSize> header{};
  ASSERT_TRUE(ReadLoggerHeader(device, header));
  for (std::size_t i = 0; i < header.size(); ++i) header[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(WriteLoggerHeader(device, header));

  std::vector<BackendCall> transfers;
  for (const auto& c : backend.calls)
    if (c.kind == BackendCall::kControl || c.kind == BackendCall::kBulkRead || c.kind == BackendCall::kBulkWrite)
      transfers.push_back(c);
  ASSERT_EQ(transfers.size(), 4u);
  EXPECT_EQ(transfers[0].request.bRequest, LCU_BULK_READ);
  EXPECT_EQ(transfers[0].request.wValue, 0x8000);
  EXPECT_EQ(transfers[1].kind, BackendCall::kBulkRead);
  EXPECT_EQ(transfers[1].size, 16384u);
  EXPECT_EQ(transfers[2].request.bRequest, LCU_BULK_WRITE);
  EXPECT_EQ(transfers[2].request.wValue, 0x8040);
  ASSERT_EQ(transfers[3].kind, BackendCall::kBulkWrite);
  ASSERT_EQ(transfers[3].size, 16320u);
  // The status part is never written back: the write starts at header byte 64.
  EXPECT_EQ(transfers[3].data.front(), static_cast<std::uint8_t>(64 * 7));
  EXPECT_EQ(transfers[3].data.back(), static_cast<std::uint8_t>(16383 * 7));
}

}  // namespace
}  // namespace lcu
