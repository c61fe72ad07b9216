// The data memory size of a fresh LCU, filling a buffer with logged data at once, and the
// state files mapped shared: what the simulator writes is in memory.bin at once and stays
// there when the process is killed.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <fstream>
#include <iterator>
#include <vector>

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/util/little_endian.h"
#include "sim/state_file.h"
#include "sim_test_util.h"

namespace lcu::sim {
namespace {

using test::TempFolder;

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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

TEST(MemorySize, FreshLcuHasTheDataMemoryAsked) {
  for (const std::uint16_t units : {std::uint16_t{1}, std::uint16_t{7}}) {
    TempFolder folder;
    LcuSimulator sim(WithUnits(units, folder.Path()));
    ASSERT_TRUE(sim.Ok()) << sim.Error();
    const auto memory = sim.DataMemory();
    EXPECT_EQ(memory.size(), units * 524288u);
    EXPECT_EQ(FileBytes(folder.Path() / "memory.bin").size(), memory.size());
    const LoggerHeader h = HeaderOf(memory);
    EXPECT_EQ(h.MemorySize(), units);
    // The buffers are laid out over the whole memory and the fresh LCU has logged into them.
    EXPECT_FALSE(ValidateBufferTable(h).has_value());
    EXPECT_GT(LinearOf(h.Entry(h.BufferCount()).start), (units * 524288u) * 9 / 10);
    EXPECT_EQ(h.DataPresent(), 1u);
  }
}

TEST(MemorySize, SizesTheMemoryFieldCannotHoldAreRefused) {
  for (const std::uint16_t units : {std::uint16_t{0}, std::uint16_t{2048}}) {
    LcuSimulator sim(WithUnits(units));
    EXPECT_FALSE(sim.Ok()) << units;
    EXPECT_NE(sim.Error().find("2047"), std::string::npos) << sim.Error();
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

TEST(FillBuffer, CarriesOnFromTheEndPositionAndMatchesOneLongFill) {
  LcuSimulator once(WithUnits(1));
  LayOut(once, 8, 4 * kPageSize, 6 * kPageSize);
  ASSERT_EQ(once.FillBuffer(0, 8000), 8000u);

  LcuSimulator twice(WithUnits(1));
  LayOut(twice, 8, 4 * kPageSize, 6 * kPageSize);
  ASSERT_EQ(twice.FillBuffer(0, 3008), 3008u);
  ASSERT_EQ(twice.FillBuffer(0, 4992), 4992u);
  EXPECT_EQ(once.DataMemory(), twice.DataMemory());
}

TEST(FillBuffer, BuffersTheLcuDoesNotLogIntoStayAsTheyAre) {
  LcuSimulator sim(WithUnits(1));
  LayOut(sim, 0, 2 * kPageSize, 4 * kPageSize);  // buffer 0 has weight 0
  const auto before = sim.DataMemory();
  EXPECT_EQ(sim.FillBuffer(0, 4096), 0u);
  EXPECT_EQ(sim.FillBuffer(2, 4096), 0u) << "the end marker is not a buffer";
  EXPECT_EQ(sim.DataMemory(), before);
  EXPECT_EQ(sim.FillBuffer(1, 4096), 4096u);
}

TEST(StateFiles, TheFileIsTheSimulatorsMemory) {
  TempFolder folder;
  std::filesystem::create_directories(folder.Path());
  const auto path = folder.Path() / "block.bin";
  StateFile file;
  file.Assign(std::vector<std::uint8_t>(5000, 0x11));
  EXPECT_FALSE(file.Mapped());
  ASSERT_EQ(file.Create(path), "");
  EXPECT_TRUE(file.Mapped());
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "block.bin.new"));

  file.Set(4999, 0x22);
  const std::array<std::uint8_t, 3> run = {1, 2, 3};
  file.Write(10, run);
  auto onDisk = FileBytes(path);
  ASSERT_EQ(onDisk.size(), 5000u);
  EXPECT_EQ(onDisk[4999], 0x22);
  EXPECT_EQ(onDisk[11], 2);
  EXPECT_EQ(onDisk[0], 0x11);

  // Another attachment of the same file sees the same bytes, both ways.
  StateFile other;
  ASSERT_EQ(other.Load(path), "");
  EXPECT_EQ(other.Get(4999), 0x22);
  other.Set(0, 0x33);
  EXPECT_EQ(file.Get(0), 0x33);

  StateFile missing;
  EXPECT_NE(missing.Load(folder.Path() / "none.bin").find("none.bin"), std::string::npos);
}

#if !defined(_WIN32)
TEST(StateFiles, AKilledProcessLeavesTheLcuAsItWas) {
  TempFolder folder;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // No destructor runs: the process dies right after the requests.
    LcuSimulator sim(WithUnits(3, folder.Path()));
    CUsbDevice device(sim);
    device.PollStatus();
    LoggerHeader image = test::ReadHeader(device);
    image.SetU16(hdr::kSession, 77);
    const bool ok = sim.Ok() && WriteLoggerHeader(device, image.Bytes()) &&
                    device.VendorWrite(LCU_WRITE_WORD, 0xC123, 0x5A);
    ::kill(::getpid(), ok ? SIGKILL : SIGTERM);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_EQ(WTERMSIG(status), SIGKILL) << "the child's requests failed";

  LcuSimulator sim(test::ManualTime(folder.Path()));
  ASSERT_TRUE(sim.Ok()) << sim.Error();
  const auto memory = sim.DataMemory();
  EXPECT_EQ(memory.size(), 3 * 524288u);
  EXPECT_EQ(le::U16(memory, hdr::kSession), 77);
  EXPECT_EQ(sim.ReadBlock(0xC123)[0], 0x5A);
}
#endif

}  // namespace
}  // namespace lcu::sim
