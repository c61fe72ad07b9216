// The simulator's state folder: the state files are mapped shared, so what the simulator
// writes is in memory.bin at once and stays there when the process is killed; a later
// simulator carries on from it; a memory.bin of the wrong length is refused.
#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/logger/lcu_status_block.h"
#include "core/util/little_endian.h"
#include "sim_test_util.h"

namespace lcu::sim {
namespace {

using test::SetLogging;
using test::TempFolder;
using test::WriteBytes;
using namespace std::chrono_literals;

TEST(StateFolder, ALaterSimulatorCarriesOn) {
  TempFolder folder;
  std::vector<std::uint8_t> memory;
  std::uint16_t clock = 0;
  {
    LcuSimulator sim(test::ManualTime(folder.Path()));
    CUsbDevice device(sim);
    device.PollStatus();
    SetLogging(device, true);
    sim.AdvanceTime(100s);
    device.PollStatus();
    clock = LcuStatusBlock(device.m_status).ClockMinutes();
    memory = sim.DataMemory();
  }
  LcuSimulator sim(test::ManualTime(folder.Path()));
  ASSERT_TRUE(sim.Ok()) << sim.Error();
  EXPECT_EQ(sim.DataMemory(), memory);
  EXPECT_TRUE(sim.IsLogging());

  // Time goes on from where it stopped: 20 more seconds complete the clock's minute.
  CUsbDevice device(sim);
  sim.AdvanceTime(20s);
  device.PollStatus();
  EXPECT_EQ(LcuStatusBlock(device.m_status).ClockMinutes(), clock + 1);
}

TEST(StateFolder, PreparedMemoryDecidesTheMemorySize) {
  TempFolder folder;
  std::vector<std::uint8_t> memory(4 * 524288, 0);
  le::PutU16(memory, hdr::kMemorySize, 4);
  le::PutU16(memory, hdr::kLcuNumber, 1234);
  memory[4 * 524288 - 1] = 0x99;
  WriteBytes(folder.Path() / "memory.bin", memory);

  LcuSimulator sim(test::ManualTime(folder.Path()));
  ASSERT_TRUE(sim.Ok()) << sim.Error();
  CUsbDevice device(sim);
  device.PollStatus();
  EXPECT_EQ(LcuStatusBlock(device.m_status).LcuNumber(), 1234);
  EXPECT_EQ(sim.DataMemory().size(), memory.size());
  EXPECT_EQ(sim.DataMemory().back(), 0x99);
  EXPECT_FALSE(sim.IsLogging());
  EXPECT_EQ(sim.ProgramMemory().size(), 32768u) << "a missing program.bin gets a fresh program";
}

TEST(StateFolder, MemoryOfTheWrongLengthIsRefused) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{1000}, std::size_t{524288 + 1}}) {
    TempFolder folder;
    WriteBytes(folder.Path() / "memory.bin", std::vector<std::uint8_t>(size, 0));
    LcuSimulator sim(test::ManualTime(folder.Path()));
    EXPECT_FALSE(sim.Ok()) << size;
    EXPECT_NE(sim.Error().find("memory.bin"), std::string::npos) << sim.Error();
    EXPECT_NE(sim.Error().find("524288"), std::string::npos) << sim.Error();
    CUsbDevice device(sim);
    device.PollStatus();
    EXPECT_FALSE(device.IsOnline());
  }
}

#if !defined(_WIN32)
TEST(StateFiles, AKilledProcessLeavesTheLcuAsItWas) {
  TempFolder folder;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // No destructor runs: the process dies right after the requests.
    SimulatorOptions options = test::ManualTime(folder.Path());
    options.memoryUnits = 3;
    LcuSimulator sim(options);
    CUsbDevice device(sim);
    device.PollStatus();
    LoggerHeader image = test::ReadHeader(device);
    image.SetU16(hdr::kSession, 77);
    const bool ok =
        sim.Ok() && WriteLoggerHeader(device, image.Bytes()) && device.VendorWrite(LCU_WRITE_WORD, 0xC123, 0x5A);
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
