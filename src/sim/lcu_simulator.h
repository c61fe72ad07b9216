// LcuSimulator: a software model of the LCU behind the same UsbBackend interface as real
// USB. It wires three parts together: the memory map (memory_map.h: program memory, data
// memory of M x 512 KiB seen through the window 0x8000-0xBFFF, the channel list, the start
// word and the logging state, and the state folder), the logging engine (logging_engine.h:
// the clock, laps and samples of the signal model written into the buffers at their rates)
// and the link protocol (link_protocol.h: every request of the link, page streaming, fault
// injection and the link-speed model).
//
// State folder: memory.bin (data memory byte for byte, its length a multiple of 524288),
// program.bin (program memory 0x0000-0x7FFF) and state files of the simulator's own. A
// missing or empty folder starts a fresh LCU. Changes are written through to the folder as
// they happen, so a killed program leaves the LCU's state behind as it was.
//
// Thread safety: every public call takes the simulator's lock, so a backend running on
// another thread (an emulated USB device) may call it.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/link/lcu_protocol.h"
#include "core/link/usb_backend.h"
#include "sim/link_protocol.h"

namespace lcu::sim {

struct SimulatorOptions {
  std::filesystem::path stateDir;  // empty: everything in memory
  int node = 0;                    // device node number the LCU appears on
  std::uint16_t productId = kLcuProductId;
  LinkSpeed speed = LinkSpeed::kUnlimited;
  bool manualTime = false;  // time moves only through AdvanceTime
  /// Data memory of a fresh LCU in units of 524288 bytes (1 to 2047); an existing state
  /// folder keeps the size of its memory.bin.
  std::uint16_t memoryUnits = 2;
  /// The clock a fresh LCU shows, in minutes since midnight (0 to 1439); without it, 8:31.
  /// An existing state folder keeps the clock it saved.
  std::optional<std::uint16_t> freshClock;
};

class LcuSimulator final : public UsbBackend {
 public:
  explicit LcuSimulator(SimulatorOptions options = {});
  ~LcuSimulator() override;
  LcuSimulator(const LcuSimulator&) = delete;
  LcuSimulator& operator=(const LcuSimulator&) = delete;

  /// False with a message when the state folder could not be read or created.
  bool Ok() const;
  std::string Error() const;

  // UsbBackend
  UsbHandle OpenNode(int node) override;
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) override;
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) override;
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override;
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override;
  void CloseNode(UsbHandle handle) override;
  std::uint32_t LastError() const override;
  std::string ErrorText(std::uint32_t code) const override;

  // Inspection and control for tests, benchmarks and the command line.
  std::vector<std::uint8_t> DataMemory() const;
  std::vector<std::uint8_t> ProgramMemory() const;
  /// What LCU_READ_BLOCK would return at an address (64 bytes; past 0xFFFF reads as 0).
  std::array<std::uint8_t, kBlockSize> ReadBlock(std::uint16_t address) const;
  /// Stores bytes at a linear data-memory address (tests prepare headers this way).
  void WriteDataMemory(std::uint32_t linear, std::span<const std::uint8_t> bytes);
  void SetFaults(const FaultPlan& plan);
  int TransferCount() const;
  void Unplug();
  void Replug();
  void SetLinkSpeed(LinkSpeed speed);
  /// Moves simulated time on: the clock, the signal model and logging.
  void AdvanceTime(std::chrono::milliseconds duration);
  bool IsLogging() const;
  /// Logs into buffer i from its end position on, sample after sample as logging at the
  /// buffer's rate writes them, until the given number of bytes (rounded down to whole
  /// samples) is written or the buffer's region is full; never wraps. Moves the buffer's
  /// end position and sets data present; the clock and the other buffers stand still.
  /// Returns the bytes written (0 when buffer i is not a region the LCU logs into).
  std::uint64_t FillBuffer(std::size_t i, std::uint64_t bytes);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
  mutable std::mutex m_mutex;
};

}  // namespace lcu::sim
