// MemoryMap: the simulated LCU's memories as its address space shows them, and where they
// live. Program memory (0x0000-0x7FFF) is flash that only a firmware upload programs; data
// memory of M x 512 KiB lies behind the window 0x8000-0xBFFF, its first page the logger
// header; RAM (0xC000-0xFFFF) holds the channel list, the start word and the logging state.
// The simulator's clock (its time, the clock's minute and the lap in progress) is kept with
// them.
//
// Each block is held in memory or, with a state folder, in a file of its own: memory.bin
// (data memory byte for byte, its length the memory size), program.bin, ram.bin and time.bin.
// memory.bin is written last, so its presence marks a folder that holds a whole LCU.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/link/lcu_protocol.h"
#include "sim/state_file.h"

namespace lcu::sim {

/// Firmware version of a fresh LCU: its program image, its header and its device descriptor.
inline constexpr std::uint16_t kFreshFirmwareVersion = 3;

/// time.bin's fields: simulated milliseconds, time into the clock's minute, logging time into
/// the current lap.
inline constexpr std::size_t kTimeSimMs = 8;
inline constexpr std::size_t kTimeClockMs = 16;
inline constexpr std::size_t kTimeLapMs = 20;

class MemoryMap {
 public:
  /// False once the memories could not be set up or their state folder written; Error()
  /// then says why.
  bool Ok() const { return m_error.empty(); }
  const std::string& Error() const { return m_error; }

  /// False, with the error set, when a fresh LCU cannot have that many units of data memory.
  bool CheckMemoryUnits(std::uint16_t units);
  /// Creates the state folder when it is missing; false with the error set when it cannot.
  bool CreateFolder(const std::filesystem::path& dir);
  /// True when the folder holds an LCU (its memory.bin).
  static bool HoldsLcu(const std::filesystem::path& dir);
  /// Maps the LCU of a state folder; a missing program.bin, ram.bin or time.bin is created
  /// fresh. False with the error set when a file is missing, has the wrong size or cannot be
  /// read.
  bool Load(const std::filesystem::path& dir);
  /// Holds a fresh LCU in memory: empty data memory of the given units behind the sample
  /// setup's header, a fresh program image, clear RAM, the clock at its start.
  void AssignFresh(std::uint16_t units);
  /// Writes every block into the folder, memory.bin last, and works on the files from then on.
  void Persist(const std::filesystem::path& dir);
  /// Ends a request: false, with the error set, when the folder could not take the changes.
  bool Commit(const std::filesystem::path& dir);

  // The address space.
  std::uint8_t SpaceByte(std::uint64_t address) const;
  /// Stores a byte where the LCU would: not in program memory (flash) nor past 0xFFFF.
  void WriteSpace(std::uint64_t address, std::uint8_t value);
  /// What LCU_READ_BLOCK returns at an address.
  std::array<std::uint8_t, kBlockSize> Block(std::uint16_t address) const;
  /// The channel number in slot j of the channel list.
  std::uint16_t ListedChannel(std::size_t j) const;
  /// True while the start word makes the LCU log.
  bool Logging() const;

  // Data memory by linear address; past its end reads as 0 and takes nothing.
  std::uint8_t DataByte(std::uint64_t linear) const;
  void SetDataByte(std::uint64_t linear, std::uint8_t value);
  void ReadData(std::uint64_t linear, std::span<std::uint8_t> out) const;

  StateFile& Data() { return m_data; }
  const StateFile& Data() const { return m_data; }
  StateFile& Program() { return m_program; }
  const StateFile& Program() const { return m_program; }
  StateFile& Time() { return m_time; }
  const StateFile& Time() const { return m_time; }
  std::span<std::uint8_t> Header() { return m_data.MutableView().first(kLoggerHeaderSize); }

 private:
  bool LoadOrCreate(StateFile& file, const std::filesystem::path& path, std::size_t size,
                    std::vector<std::uint8_t> fresh);
  std::uint8_t RamByte(std::uint32_t address) const;
  // The logging state block is the LCU's own report: byte 0 is 1 while it logs.
  void RefreshLoggingState();

  std::string m_error;
  StateFile m_data;
  StateFile m_program;
  StateFile m_ram;
  StateFile m_time;
};

}  // namespace lcu::sim
