// The data memory of a fresh LCU, laid out and logged into, and filling a buffer with logged
// data at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "core/util/little_endian.h"
#include "sim_test_util.h"

namespace lcu::sim {
namespace {

using test::TempFolder;

SimulatorOptions WithUnits(std::uint16_t units, std::filesystem::path stateDir = {}) {
  SimulatorOptions options = test::ManualTime(std::move(stateDir));
  options.memoryUnits = units;
  return options;
}

LoggerHeader HeaderOf(const std::vector<std::uint8_t>& memory) {
  return LoggerHeader(std::span<const std::uint8_t, kLoggerHeaderSize>(memory.data(), kLoggerHeaderSize));
}

// Two buffers: buffer 0 logs `weight` words a sample over `size0` bytes from page 1, buffer 1
// follows it and runs to `end1`. Data memory is filled with 0xEE so that untouched bytes show.
void LayOut(LcuSimulator& sim, std::uint8_t weight, std::uint32_t size0, std::uint32_t end1) {
  auto memory = sim.DataMemory();
  std::fill(memory.begin() + kPageSize, memory.end(), std::uint8_t{0xEE});
  LoggerHeader h = HeaderOf(memory);
  h.SetU16(hdr::kBufferCount, 2);
  h.SetU16(hdr::kWrapFlag, 0);
  h.SetU32(hdr::kDataPresent, 0);
  const Position p0 = PositionOf(kPageSize);
  const Position p1 = PositionOf(kPageSize + size0);
  const Position p2 = PositionOf(end1);
  h.SetEntry(0, {0, weight, p0, p0, 0});
  h.SetEntry(1, {3, 4, p1, p1, 0});
  h.SetEntry(2, {0, 0, p2, p2, 0});
  std::copy(h.Bytes().begin(), h.Bytes().end(), memory.begin());
  sim.WriteDataMemory(0, memory);
}

// Sizes the header's memory field cannot hold are refused.
TEST(MemorySize, FreshLcuHasTheDataMemoryAsked) {
  for (const std::uint16_t units : {std::uint16_t{1}, std::uint16_t{7}, std::uint16_t{0}, std::uint16_t{2048}}) {
    SCOPED_TRACE(units);
    TempFolder folder;
    LcuSimulator sim(WithUnits(units, folder.Path()));
    if (units == 0 || units == 2048) {
      EXPECT_FALSE(sim.Ok());
      EXPECT_NE(sim.Error().find("2047"), std::string::npos) << sim.Error();
      continue;
    }
    ASSERT_TRUE(sim.Ok()) << sim.Error();
    const auto memory = sim.DataMemory();
    EXPECT_EQ(memory.size(), units * 524288u);
    EXPECT_EQ(test::ReadBytes(folder.Path() / "memory.bin").size(), memory.size());
    const LoggerHeader h = HeaderOf(memory);
    EXPECT_EQ(h.MemorySize(), units);
    // The buffers are laid out over the whole memory and the fresh LCU has logged into them.
    EXPECT_FALSE(ValidateBufferTable(h).has_value());
    EXPECT_GT(LinearOf(h.Entry(h.BufferCount()).start), (units * 524288u) * 9 / 10);
    EXPECT_EQ(h.DataPresent(), 1u);
  }
}

TEST(FillBuffer, WritesWholeSamplesWithinTheRegionOnly) {
  constexpr std::uint32_t kSize0 = 3 * kPageSize;  // 49152 bytes: 384 samples of 128 bytes
  struct Case {
    std::uint64_t asked;
    std::uint64_t written;
  };
  for (const Case c : {Case{1000, 896}, Case{kSize0, kSize0}, Case{kSize0 + 5000, kSize0}, Case{100, 0}}) {
    LcuSimulator sim(WithUnits(1));
    LayOut(sim, 64, kSize0, 5 * kPageSize);
    EXPECT_EQ(sim.FillBuffer(0, c.asked), c.written) << c.asked;

    const auto memory = sim.DataMemory();
    const LoggerHeader h = HeaderOf(memory);
    EXPECT_EQ(h.ExtentOf(0).length, c.written) << c.asked;
    EXPECT_EQ(h.DataPresent(), c.written == 0 ? 0u : 1u) << c.asked;
    EXPECT_EQ(h.ExtentOf(1).length, 0u);
    EXPECT_FALSE(ValidateBufferTable(h).has_value());
    const auto logged = memory.begin() + kPageSize;
    EXPECT_TRUE(std::all_of(logged + static_cast<std::ptrdiff_t>(c.written), memory.end(),
                            [](std::uint8_t b) { return b == 0xEE; }))
        << "bytes past the samples written were changed, asked " << c.asked;
    if (c.written != 0) {
      EXPECT_FALSE(std::all_of(logged, logged + static_cast<std::ptrdiff_t>(c.written),
                               [](std::uint8_t b) { return b == 0xEE; }));
    }
  }
}

// Filling goes on from the end position, as one long fill would; buffers the LCU does not log
// into (weight 0, or the end marker) stay as they are.
TEST(FillBuffer, CarriesOnFromTheEndPositionAndOnlyInBuffersTheLcuLogsInto) {
  const auto filled = [](std::initializer_list<std::uint64_t> sizes) {
    LcuSimulator sim(WithUnits(1));
    LayOut(sim, 8, 4 * kPageSize, 6 * kPageSize);
    for (const std::uint64_t size : sizes) EXPECT_EQ(sim.FillBuffer(0, size), size);
    return sim.DataMemory();
  };
  EXPECT_EQ(filled({8000}), filled({3008, 4992}));

  LcuSimulator sim(WithUnits(1));
  LayOut(sim, 0, 2 * kPageSize, 4 * kPageSize);
  const auto before = sim.DataMemory();
  EXPECT_EQ(sim.FillBuffer(0, 4096), 0u);
  EXPECT_EQ(sim.FillBuffer(2, 4096), 0u);
  EXPECT_EQ(sim.DataMemory(), before);
  EXPECT_EQ(sim.FillBuffer(1, 4096), 4096u);
}

}  // namespace
}  // namespace lcu::sim
