#include "sim/memory_map.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "core/commands/configuration_upload.h"
#include "core/logger/logger_header.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"
#include "sim/program_image.h"
#include "sim/sample_setup.h"

namespace lcu::sim {

namespace {

// RAM follows the window up to the end of the address space.
constexpr std::uint32_t kRamBase = kWindowEnd;
constexpr std::size_t kRamSize = kAddressSpaceEnd - kRamBase;

// A fresh LCU's header.
constexpr std::uint16_t kFreshClock = 8 * 60 + 30;
constexpr std::uint16_t kFreshStbc = 4;
constexpr std::uint32_t kFreshCarryCount = 42;
constexpr std::uint16_t kFreshSession = 4;
constexpr std::uint16_t kFreshOuting = 1;
constexpr std::uint16_t kFreshLapBase = 20;
constexpr std::uint16_t kFreshPaceLaps = 3;
constexpr std::uint32_t kFreshLogbook = 1250;
constexpr std::uint32_t kFreshLogbookTotal = 36250;
constexpr std::uint64_t kFreshLogbookResetTime = 133497792000000000ull;  // 15 January 2024, 08:00

// The files of the state folder.
constexpr const char* kMemoryFile = "memory.bin";
constexpr const char* kProgramFile = "program.bin";
constexpr const char* kRamFile = "ram.bin";  // LCU 0xC000 to 0xFFFF
constexpr const char* kTimeFile = "time.bin";

// time.bin starts with its magic.
constexpr std::string_view kTimeMagic = "LCUTIME1";
constexpr std::size_t kTimeFileSize = 32;

std::vector<std::uint8_t> FreshTime() {
  std::vector<std::uint8_t> bytes(kTimeFileSize, 0);
  std::copy(kTimeMagic.begin(), kTimeMagic.end(), bytes.begin());
  return bytes;
}

}  // namespace

bool MemoryMap::CheckMemoryUnits(std::uint16_t units) {
  if (units != 0 && units <= kMaxMemorySize) return true;
  m_error =
      "The simulated LCU's data memory must be 1 to " + std::to_string(kMaxMemorySize) + " units of 524288 bytes.";
  return false;
}

bool MemoryMap::CreateFolder(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!ec) return true;
  m_error = std::string(msg::kCannotCreateStateFolder) + dir.string() + ": " + ec.message();
  return false;
}

bool MemoryMap::HoldsLcu(const std::filesystem::path& dir) {
  std::error_code ec;
  return std::filesystem::exists(dir / kMemoryFile, ec);
}

bool MemoryMap::Load(const std::filesystem::path& dir) {
  if (m_error = m_data.Load(dir / kMemoryFile); !m_error.empty()) return false;
  if (m_data.Size() == 0 || m_data.Size() % kMemoryUnit != 0) {
    m_error = "The simulator's memory.bin in " + dir.string() + " holds " + std::to_string(m_data.Size()) +
              " bytes; its length must be a positive multiple of 524288.";
    return false;
  }
  if (!LoadOrCreate(m_program, dir / kProgramFile, kProgramMemorySize, FreshProgramImage(kFreshFirmwareVersion)))
    return false;
  if (!LoadOrCreate(m_ram, dir / kRamFile, kRamSize, std::vector<std::uint8_t>(kRamSize, 0))) return false;
  if (!LoadOrCreate(m_time, dir / kTimeFile, kTimeFileSize, FreshTime())) return false;
  if (!std::equal(kTimeMagic.begin(), kTimeMagic.end(), m_time.View().begin())) {
    m_error = "The simulator's " + std::string(kTimeFile) + " in " + dir.string() + " is not a state file.";
    return false;
  }
  RefreshLoggingState();
  return true;
}

bool MemoryMap::LoadOrCreate(StateFile& file, const std::filesystem::path& path, std::size_t size,
                             std::vector<std::uint8_t> fresh) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    if (m_error = file.Load(path); !m_error.empty()) return false;
    if (file.Size() != size) {
      m_error = "The simulator's " + path.filename().string() + " holds " + std::to_string(file.Size()) +
                " bytes; it must hold " + std::to_string(size) + ".";
      return false;
    }
    return true;
  }
  file.Assign(std::move(fresh));
  m_error = file.Create(path);
  return m_error.empty();
}

void MemoryMap::AssignFresh(std::uint16_t units) {
  m_data.Assign(std::vector<std::uint8_t>(std::size_t{units} * kMemoryUnit, 0));
  m_program.Assign(FreshProgramImage(kFreshFirmwareVersion));
  m_ram.Assign(std::vector<std::uint8_t>(kRamSize, 0));
  m_time.Assign(FreshTime());

  LoggerHeader header = MakeSampleCalibration();
  LayOutBuffers(header, units);
  header.SetU16(hdr::kMemorySize, units);
  header.SetU16(hdr::kLcuNumber, kSampleLcuNumber);
  header.SetU16(hdr::kClock, kFreshClock);
  header.SetU16(hdr::kStbc, kFreshStbc);
  header.SetU32(hdr::kCarryCount, kFreshCarryCount);
  header.SetU16(hdr::kFirmwareVersion, kFreshFirmwareVersion);
  header.SetU16(hdr::kSession, kFreshSession);
  header.SetU16(hdr::kOuting, kFreshOuting);
  header.SetU16(hdr::kLapBase, kFreshLapBase);
  header.SetU16(hdr::kPaceLaps, kFreshPaceLaps);
  header.SetU32(hdr::kLogbook80, kFreshLogbook);
  header.SetU32(hdr::kLogbookTotal, kFreshLogbookTotal);
  le::PutU64(header.Bytes(), hdr::kLogbookResetTime, kFreshLogbookResetTime);
  m_data.Write(0, header.Bytes());
}

void MemoryMap::Persist(const std::filesystem::path& dir) {
  for (auto [file, name] : {std::pair{&m_program, kProgramFile}, std::pair{&m_ram, kRamFile},
                            std::pair{&m_time, kTimeFile}, std::pair{&m_data, kMemoryFile}}) {
    if (m_error = file->Create(dir / name); !m_error.empty()) return;
  }
}

bool MemoryMap::Commit(const std::filesystem::path& dir) {
  bool ok = true;
  for (StateFile* file : {&m_data, &m_program, &m_ram, &m_time}) ok = file->Commit() && ok;
  if (!ok) m_error = "The simulator could not write its state folder " + dir.string() + ".";
  return ok;
}

std::uint8_t MemoryMap::DataByte(std::uint64_t linear) const {
  return linear < m_data.Size() ? m_data.Get(static_cast<std::size_t>(linear)) : std::uint8_t{0};
}

void MemoryMap::SetDataByte(std::uint64_t linear, std::uint8_t value) {
  if (linear < m_data.Size()) m_data.Set(static_cast<std::size_t>(linear), value);
}

void MemoryMap::ReadData(std::uint64_t linear, std::span<std::uint8_t> out) const {
  const auto memory = m_data.View();
  const std::size_t have =
      linear < memory.size() ? std::min(out.size(), memory.size() - static_cast<std::size_t>(linear)) : 0;
  std::copy_n(memory.begin() + static_cast<std::ptrdiff_t>(linear), have, out.begin());
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(have), out.end(), std::uint8_t{0});
}

std::uint8_t MemoryMap::RamByte(std::uint32_t address) const {
  const std::size_t at = address - kRamBase;
  return at < m_ram.Size() ? m_ram.Get(at) : std::uint8_t{0};
}

std::uint8_t MemoryMap::SpaceByte(std::uint64_t address) const {
  if (address < kProgramMemorySize) {
    return address < m_program.Size() ? m_program.Get(static_cast<std::size_t>(address)) : std::uint8_t{0};
  }
  if (address < kWindowEnd) return DataByte(address - kWindowBase);
  if (address < kAddressSpaceEnd) return RamByte(static_cast<std::uint32_t>(address));
  return 0;
}

// Program memory is flash: only a firmware upload programs it, and other writes there are
// ignored, as the LCU ignores them. Writes past 0xFFFF go nowhere.
void MemoryMap::WriteSpace(std::uint64_t address, std::uint8_t value) {
  if (address < kProgramMemorySize || address >= kAddressSpaceEnd) return;
  if (address < kWindowEnd) {
    SetDataByte(address - kWindowBase, value);
    return;
  }
  const std::size_t at = static_cast<std::size_t>(address - kRamBase);
  if (at >= m_ram.Size()) return;
  m_ram.Set(at, value);
  if (address == kStartWordAddress || address == kLoggingStateAddress) RefreshLoggingState();
}

bool MemoryMap::Logging() const { return (RamByte(kStartWordAddress) & kStartWordOn) != 0; }

void MemoryMap::RefreshLoggingState() {
  const std::uint8_t state = Logging() ? 1 : 0;
  if (m_ram.Size() == kRamSize && RamByte(kLoggingStateAddress) != state)
    m_ram.Set(kLoggingStateAddress - kRamBase, state);
}

std::array<std::uint8_t, kBlockSize> MemoryMap::Block(std::uint16_t address) const {
  std::array<std::uint8_t, kBlockSize> block{};
  for (std::size_t i = 0; i < kBlockSize; ++i) block[i] = SpaceByte(static_cast<std::uint64_t>(address) + i);
  return block;
}

std::uint16_t MemoryMap::ListedChannel(std::size_t j) const {
  return le::U16(m_ram.View(), kChannelListAddress - kRamBase + 2 * j);
}

}  // namespace lcu::sim
