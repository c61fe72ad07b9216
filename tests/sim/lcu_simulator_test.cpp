// The simulated LCU as the link sees it: what a real LCU answers to each request through
// CUsbDevice and the logger transfers, and how it logs while simulated time runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/logger/lcu_status_block.h"
#include "core/util/little_endian.h"
#include "sim/signal_model.h"
#include "sim_test_util.h"

namespace lcu::sim {
namespace {

using test::ReadHeader;
using test::SetLogging;
using namespace std::chrono_literals;

class SimulatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device.PollStatus();
    ASSERT_TRUE(device.IsOnline());
  }

  LcuSimulator sim{test::ManualTime()};
  CUsbDevice device{sim};
};

TEST_F(SimulatorTest, FreshLcuReportsItsStatus) {
  const LcuStatusBlock status(device.m_status);
  EXPECT_EQ(status.MemorySize(), 2);
  EXPECT_EQ(status.LcuNumber(), 1);
  EXPECT_EQ(status.FirmwareVersion(), 3);
  EXPECT_EQ(status.ClockMinutes(), 8 * 60 + 31) << "a minute of logging went by since 8:30";
  EXPECT_GT(status.MemoryFigure(), 0);
  EXPECT_LT(status.MemoryFigure(), 1008) << "the logged minute takes some of the 1008 KiB";
  EXPECT_FALSE(device.IsLogging());
  const LoggerHeader header = ReadHeader(device);
  for (std::size_t i = 0; i < header.BufferCount(); ++i) EXPECT_GT(header.ExtentOf(i).length, 0u) << i;
}

TEST_F(SimulatorTest, DescriptorCarriesTheProductIdAndOnlyItsNodeOpens) {
  std::array<std::uint8_t, 18> descriptor{};
  ASSERT_TRUE(sim.GetDeviceDescriptor(device.m_hDevice, descriptor));
  EXPECT_EQ(le::U16(descriptor, 10), 1230);
  EXPECT_EQ(sim.OpenNode(0), kInvalidUsbHandle) << "the node is open already and not shared";
  EXPECT_EQ(sim.OpenNode(1), kInvalidUsbHandle);

  SimulatorOptions options = test::ManualTime();
  options.node = 7;
  options.productId = 1231;
  LcuSimulator other(options);
  EXPECT_EQ(other.OpenNode(0), kInvalidUsbHandle);
  const UsbHandle handle = other.OpenNode(7);
  ASSERT_NE(handle, kInvalidUsbHandle);
  other.CloseNode(handle);
  CUsbDevice link(other);
  EXPECT_FALSE(link.FindDevice()) << "a device with another product id is not the LCU";
}

// A stream continues over several bulk reads; bytes past the end of memory read as 0. (That
// a stream runs on across pages is what every download against the simulator shows.)
TEST_F(SimulatorTest, BlockReadsStreamPastTheEndAsZeros) {
  const std::uint32_t nearEnd = 2 * 524288 - 100;
  const std::vector<std::uint8_t> tail(100, 0xAB);
  sim.WriteDataMemory(nearEnd, tail);
  const Position last = PositionOf(nearEnd);
  ASSERT_TRUE(device.VendorWrite(LCU_BULK_READ, last.window, last.page));
  std::vector<std::uint8_t> first(60);
  std::vector<std::uint8_t> second(80);
  ASSERT_TRUE(device.BulkRead(first));
  ASSERT_TRUE(device.BulkRead(second));
  EXPECT_TRUE(std::all_of(first.begin(), first.end(), [](std::uint8_t b) { return b == 0xAB; }));
  EXPECT_TRUE(std::all_of(second.begin(), second.begin() + 40, [](std::uint8_t b) { return b == 0xAB; }));
  EXPECT_TRUE(std::all_of(second.begin() + 40, second.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(SimulatorTest, WordWritesStoreTheLowByte) {
  ASSERT_TRUE(device.VendorWrite(LCU_WRITE_WORD, 0x8100, 0x1241));
  ASSERT_TRUE(device.VendorWrite(LCU_WRITE_WORD, 0xC123, 0x00FF));
  ASSERT_TRUE(device.VendorWrite(LCU_WRITE_WORD, 0x2000, 0x0055)) << "flash ignores the write but takes the request";

  std::array<std::uint8_t, 64> block{};
  ASSERT_TRUE(device.VendorRead(LCU_READ_BLOCK, 0x8100, 0, 64, block));
  EXPECT_EQ(block[0], 0x41);
  EXPECT_EQ(block[1], ReadHeader(device).Bytes()[0x101]);
  EXPECT_EQ(sim.ReadBlock(0xC123)[0], 0xFF);
  EXPECT_EQ(sim.ReadBlock(0x2000)[0], sim.ProgramMemory()[0x2000]);
  EXPECT_NE(sim.ProgramMemory()[0x2000], 0x55);

  const auto top = sim.ReadBlock(0xFFF0);
  EXPECT_TRUE(std::all_of(top.begin() + 16, top.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(SimulatorTest, RequestsTheLcuDoesNotTakeFailLikeAStall) {
  const struct {
    const char* what;
    VendorRequest request;
  } cases[] = {
      {"unknown request", {kRequestTypeVendorOut, 0x42, 0, 0, 0}},
      {"firmware at another address", {kRequestTypeVendorOut, LCU_LOAD_FIRMWARE, 0x2100, 0x6B3D, 0}},
      {"firmware without its key", {kRequestTypeVendorOut, LCU_LOAD_FIRMWARE, 0x2000, 0, 0}},
      {"block read sent as a write", {kRequestTypeVendorOut, LCU_READ_BLOCK, 0x8000, 0, 0}},
      {"program stream with a page", {kRequestTypeVendorOut, LCU_BULK_READ, 0x0000, 1, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(sim.ControlRequest(device.m_hDevice, c.request, {})) << c.what;
    EXPECT_EQ(sim.ErrorText(sim.LastError()), "The request was not accepted by the LCU.") << c.what;
  }
}

TEST_F(SimulatorTest, BulkTransfersNeedTheirSetUpImmediatelyBefore) {
  std::vector<std::uint8_t> buffer(64);
  EXPECT_FALSE(device.BulkRead(buffer)) << "no set-up at all";

  device.PollStatus();
  ASSERT_TRUE(device.VendorWrite(LCU_BULK_READ, 0x8000, 0));
  ASSERT_TRUE(device.VendorRead(LCU_READ_BLOCK, 0x8000, 0, 64, buffer));
  EXPECT_FALSE(device.BulkRead(buffer)) << "a control request in between ends the stream";

  device.PollStatus();
  ASSERT_TRUE(device.VendorWrite(LCU_BULK_WRITE, 0xF710, 0));
  ASSERT_TRUE(device.BulkWrite(buffer));
  EXPECT_FALSE(device.BulkWrite(buffer)) << "a set-up is good for one bulk write";
  EXPECT_FALSE(device.IsOnline());
}

TEST_F(SimulatorTest, LoggingFollowsTheStartWordAndMovesEveryEndPosition) {
  const LoggerHeader before = ReadHeader(device);
  SetLogging(device, true);
  EXPECT_TRUE(device.IsLogging());
  EXPECT_EQ(sim.ReadBlock(0xFE36)[0], 0x01);

  sim.AdvanceTime(1s);
  const LoggerHeader during = ReadHeader(device);
  for (std::size_t i = 0; i < before.BufferCount(); ++i) {
    const LogBufferEntry e = before.Entry(i);
    EXPECT_EQ(Distance(e.end, during.Entry(i).end), kRates[e.rateCode] * 2u * e.weight) << "buffer " << i;
  }

  SetLogging(device, false);
  EXPECT_FALSE(device.IsLogging());
  EXPECT_EQ(sim.ReadBlock(0xFE36)[0], 0x00);
  sim.AdvanceTime(5s);
  const LoggerHeader stopped = ReadHeader(device);
  for (std::size_t i = 0; i < before.BufferCount(); ++i) EXPECT_EQ(stopped.Entry(i).end, during.Entry(i).end);
}

TEST_F(SimulatorTest, SamplesHoldSignalDataAndTheRegionWrapsWhenFull) {
  // One buffer of 4096 bytes at 1000 samples a second of one word (channel 0).
  LoggerHeader image = ReadHeader(device);
  image.SetU16(hdr::kBufferCount, 1);
  const Position start = PositionOf(16384);
  const Position marker = PositionOf(16384 + 4096);
  image.SetEntry(0, {0, 1, start, start, 0});
  image.SetEntry(1, {0, 0, marker, marker, 0});
  image.SetU32(hdr::kDataPresent, 0);
  image.SetU16(hdr::kWrapFlag, 0);
  ASSERT_TRUE(WriteLoggerHeader(device, image.Bytes()));

  SetLogging(device, true);
  sim.AdvanceTime(1s);
  LoggerHeader header = ReadHeader(device);
  EXPECT_EQ(header.DataPresent(), 1u);
  EXPECT_EQ(header.WrapFlag(), 0);
  EXPECT_EQ(header.Entry(0).end, PositionOf(16384 + 2000));
  const auto memory = sim.DataMemory();
  EXPECT_EQ(le::U16(memory, 16384), SignalReading(0, 60.001) & 0xFFFF);
  EXPECT_EQ(le::U16(memory, 16384 + 1998), SignalReading(0, 61.0) & 0xFFFF);

  sim.AdvanceTime(2s);
  header = ReadHeader(device);
  EXPECT_EQ(header.WrapFlag(), 1);
  EXPECT_EQ(header.Entry(0).end, PositionOf(16384 + 6000 - 4096));
  EXPECT_EQ(header.Entry(1).start, marker) << "the region itself stays where it was";
  EXPECT_EQ(le::U16(sim.DataMemory(), 16384 + 6000 - 4096 - 2), SignalReading(0, 63.0) & 0xFFFF);

  // A long absence while logging leaves the region full and the end inside it.
  sim.AdvanceTime(10min);
  header = ReadHeader(device);
  EXPECT_EQ(header.Entry(0).end, PositionOf(16384 + (6000 + 600000 * 2 - 4096) % 4096));
}

TEST_F(SimulatorTest, LapsCountEveryNinetySecondsOfLogging) {
  const std::uint16_t laps = ReadHeader(device).U16(hdr::kLapsSinceReset);
  SetLogging(device, true);
  sim.AdvanceTime(30s);  // with the fresh LCU's minute this completes a lap
  EXPECT_EQ(ReadHeader(device).U16(hdr::kLapsSinceReset), laps + 1);
  sim.AdvanceTime(180s);
  EXPECT_EQ(ReadHeader(device).U16(hdr::kLapsSinceReset), laps + 3);
  SetLogging(device, false);
  sim.AdvanceTime(10min);
  EXPECT_EQ(ReadHeader(device).U16(hdr::kLapsSinceReset), laps + 3);
}

std::uint16_t ClockOf(const LcuSimulator& lcu) { return le::U16(lcu.ReadBlock(0x8000), 6); }

// The clock is a time of day: it starts where the program puts it, goes round at midnight,
// runs on from a status block written through the link, and a state folder keeps it. A count
// that is no time of day runs on as a count.
TEST(SimulatorClock, StartsWhereToldGoesRoundAtMidnightAndAStateFolderKeepsIt) {
  test::TempFolder folder;
  SimulatorOptions options = test::ManualTime(folder.Path() / "lcu");
  options.freshClock = 23 * 60 + 59;
  {
    LcuSimulator lcu(options);
    EXPECT_EQ(ClockOf(lcu), 23 * 60 + 59);
    lcu.AdvanceTime(60s);
    EXPECT_EQ(ClockOf(lcu), 0);

    CUsbDevice device(lcu);
    device.PollStatus();
    auto block = lcu.ReadBlock(0x8000);
    le::PutU16(block, 6, 600);
    ASSERT_TRUE(device.VendorWrite(LCU_BULK_WRITE, 0x8000, 0));
    ASSERT_TRUE(device.BulkWrite(block));
    lcu.AdvanceTime(120s);
    EXPECT_EQ(ClockOf(lcu), 602);
  }
  options.freshClock = 0;
  LcuSimulator reopened(options);
  EXPECT_EQ(ClockOf(reopened), 602);

  const std::array<std::uint8_t, 2> erased = {0xD0, 0x07};  // 2000 minutes
  reopened.WriteDataMemory(6, erased);
  reopened.AdvanceTime(60s);
  EXPECT_EQ(ClockOf(reopened), 2001);
}

}  // namespace
}  // namespace lcu::sim
