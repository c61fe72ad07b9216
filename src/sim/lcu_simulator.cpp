#include "sim/lcu_simulator.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <thread>

#include "core/app/messages.h"
#include "core/logger/configuration_upload.h"
#include "core/logger/logger_header.h"
#include "core/util/little_endian.h"
#include "sim/program_image.h"
#include "sim/sample_setup.h"
#include "sim/signal_model.h"
#include "sim/state_file.h"

namespace lcu::sim {

namespace {

// Error codes, numbered as the platform numbers them where there is a natural one.
constexpr std::uint32_t kErrorSuccess = 0;
constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorWriteFault = 29;
constexpr std::uint32_t kErrorGenFailure = 31;  // what a stalled request looks like
constexpr std::uint32_t kErrorSharingViolation = 32;
constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kErrorSemTimeout = 121;
constexpr std::uint32_t kErrorDeviceNotConnected = 1167;

// The LCU address space.
// RAM follows the window up to the end of the address space.
constexpr std::uint32_t kRamBase = kWindowEnd;
constexpr std::size_t kRamSize = kAddressSpaceEnd - kRamBase;

// A fresh LCU.
constexpr std::uint16_t kFreshFirmwareVersion = 3;
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
constexpr std::int64_t kFreshLoggingMs = 60000;

// How much of the simulator's own lateness in handing a transfer back the link-speed model
// leaves out of the next transfer's start.
constexpr auto kLatenessExcused = std::chrono::milliseconds(1);

constexpr std::int64_t kMinuteMs = 60000;
constexpr std::int64_t kLapMs = 90000;

// Files of the state folder besides memory.bin and program.bin.
constexpr const char* kMemoryFile = "memory.bin";
constexpr const char* kProgramFile = "program.bin";
constexpr const char* kRamFile = "ram.bin";  // LCU 0xC000 to 0xFFFF
constexpr const char* kTimeFile = "time.bin";

// time.bin: magic, simulated milliseconds, time into the clock's minute, logging time into
// the current lap.
constexpr std::string_view kTimeMagic = "LCUTIME1";
constexpr std::size_t kTimeFileSize = 32;
constexpr std::size_t kTimeSimMs = 8;
constexpr std::size_t kTimeClockMs = 16;
constexpr std::size_t kTimeLapMs = 20;

bool WindowOk(Position p) { return p.window >= kWindowBase && p.window < kWindowEnd; }

// Which channel the j-th word of a buffer-i sample holds: the buffers log the calibrated
// inputs and the counters, each buffer starting at its own place.
std::uint16_t LoggedChannel(std::size_t buffer, std::size_t word) {
  return static_cast<std::uint16_t>((buffer * 16 + word) % 112);
}

}  // namespace

struct LcuSimulator::Impl {
  enum class Stream { kNone, kReadData, kReadSpace, kWriteData, kWriteSpace, kFirmware };

  explicit Impl(SimulatorOptions o) : options(std::move(o)), speed(options.speed) {}

  SimulatorOptions options;
  std::string error;
  StateFile data;
  StateFile program;
  StateFile ram;
  StateFile time;
  std::chrono::steady_clock::time_point lastReal = std::chrono::steady_clock::now();

  bool plugged = true;
  UsbHandle openHandle = kInvalidUsbHandle;
  UsbHandle nextHandle = 0x4C00;
  std::uint32_t lastError = kErrorSuccess;
  Stream stream = Stream::kNone;
  std::uint64_t streamPos = 0;
  FaultPlan faults;
  int transfers = 0;
  LinkSpeed speed;
  std::chrono::steady_clock::time_point busFree = std::chrono::steady_clock::now();
  // When the current request reached the simulator, and when the simulator last handed
  // control back to the host after a transfer.
  std::chrono::steady_clock::time_point requestArrived = busFree;
  std::chrono::steady_clock::time_point handedBack = busFree;

  // ---- start-up ----

  void Start() {
    if (options.memoryUnits == 0 || options.memoryUnits > kMaxMemorySize) {
      error = "The simulated LCU's data memory must be 1 to " + std::to_string(kMaxMemorySize) +
              " units of 524288 bytes.";
      return;
    }
    if (options.stateDir.empty()) {
      CreateFresh();
      return;
    }
    std::error_code ec;
    std::filesystem::create_directories(options.stateDir, ec);
    if (ec) {
      error = std::string(msg::kCannotCreateStateFolder) + options.stateDir.string() + ": " + ec.message();
      return;
    }
    if (std::filesystem::exists(options.stateDir / kMemoryFile, ec)) {
      LoadExisting();
    } else {
      CreateFresh();
      Persist();
    }
  }

  void LoadExisting() {
    const auto dir = options.stateDir;
    if (error = data.Load(dir / kMemoryFile); !error.empty()) return;
    if (data.Size() == 0 || data.Size() % kMemoryUnit != 0) {
      error = "The simulator's memory.bin in " + dir.string() + " holds " + std::to_string(data.Size()) +
              " bytes; its length must be a positive multiple of 524288.";
      return;
    }
    if (!LoadOrCreate(program, dir / kProgramFile, kProgramMemorySize, FreshProgramImage(kFreshFirmwareVersion))) {
      return;
    }
    if (!LoadOrCreate(ram, dir / kRamFile, kRamSize, std::vector<std::uint8_t>(kRamSize, 0))) return;
    if (!LoadOrCreate(time, dir / kTimeFile, kTimeFileSize, FreshTime())) return;
    if (!std::equal(kTimeMagic.begin(), kTimeMagic.end(), time.View().begin())) {
      error = "The simulator's " + std::string(kTimeFile) + " in " + dir.string() + " is not a state file.";
      return;
    }
    RefreshLoggingState();
    Commit();
  }

  bool LoadOrCreate(StateFile& file, const std::filesystem::path& path, std::size_t size,
                    std::vector<std::uint8_t> fresh) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
      if (error = file.Load(path); !error.empty()) return false;
      if (file.Size() != size) {
        error = "The simulator's " + path.filename().string() + " holds " + std::to_string(file.Size()) +
                " bytes; it must hold " + std::to_string(size) + ".";
        return false;
      }
      return true;
    }
    file.Assign(std::move(fresh));
    error = file.Create(path);
    return error.empty();
  }

  static std::vector<std::uint8_t> FreshTime() {
    std::vector<std::uint8_t> bytes(kTimeFileSize, 0);
    std::copy(kTimeMagic.begin(), kTimeMagic.end(), bytes.begin());
    return bytes;
  }

  void CreateFresh() {
    const std::uint16_t units = options.memoryUnits;
    data.Assign(std::vector<std::uint8_t>(std::size_t{units} * kMemoryUnit, 0));
    program.Assign(FreshProgramImage(kFreshFirmwareVersion));
    ram.Assign(std::vector<std::uint8_t>(kRamSize, 0));
    time.Assign(FreshTime());

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
    data.Write(0, header.Bytes());
    UpdateMemoryFigure();

    // A fresh LCU has been out on track for a minute, so there is something to download.
    WriteSpace(kStartWordAddress, kStartWordOn);
    Step(kFreshLoggingMs);
    WriteSpace(kStartWordAddress, 0);
  }

  void Persist() {
    const auto dir = options.stateDir;
    // memory.bin last: its presence is what marks the folder as holding an LCU.
    for (auto [file, name] : {std::pair{&program, kProgramFile}, std::pair{&ram, kRamFile},
                              std::pair{&time, kTimeFile}, std::pair{&data, kMemoryFile}}) {
      if (error = file->Create(dir / name); !error.empty()) return;
    }
  }

  // ---- memory ----

  std::span<std::uint8_t> Header() { return data.MutableView().first(kLoggerHeaderSize); }

  std::uint8_t DataByte(std::uint64_t linear) const {
    return linear < data.Size() ? data.Get(static_cast<std::size_t>(linear)) : std::uint8_t{0};
  }

  void SetDataByte(std::uint64_t linear, std::uint8_t value) {
    if (linear < data.Size()) data.Set(static_cast<std::size_t>(linear), value);
  }

  std::uint8_t RamByte(std::uint32_t address) const {
    const std::size_t at = address - kRamBase;
    return at < ram.Size() ? ram.Get(at) : std::uint8_t{0};
  }

  std::uint8_t SpaceByte(std::uint64_t address) const {
    if (address < kProgramMemorySize) {
      return address < program.Size() ? program.Get(static_cast<std::size_t>(address)) : std::uint8_t{0};
    }
    if (address < kWindowEnd) return DataByte(address - kWindowBase);
    if (address < kAddressSpaceEnd) return RamByte(static_cast<std::uint32_t>(address));
    return 0;
  }

  // Program memory is flash: only a firmware upload programs it, and other writes there are
  // ignored, as the LCU ignores them. Writes past 0xFFFF go nowhere.
  void WriteSpace(std::uint64_t address, std::uint8_t value) {
    if (address < kProgramMemorySize || address >= kAddressSpaceEnd) return;
    if (address < kWindowEnd) {
      SetDataByte(address - kWindowBase, value);
      return;
    }
    const std::size_t at = static_cast<std::size_t>(address - kRamBase);
    if (at >= ram.Size()) return;
    ram.Set(at, value);
    if (address == kStartWordAddress || address == kLoggingStateAddress) RefreshLoggingState();
  }

  bool Logging() const { return (RamByte(kStartWordAddress) & kStartWordOn) != 0; }

  // The logging state block is the LCU's own report: byte 0 is 1 while it logs.
  void RefreshLoggingState() {
    const std::uint8_t state = Logging() ? 1 : 0;
    if (ram.Size() == kRamSize && RamByte(kLoggingStateAddress) != state) ram.Set(kLoggingStateAddress - kRamBase, state);
  }

  std::array<std::uint8_t, kBlockSize> Block(std::uint16_t address) const {
    std::array<std::uint8_t, kBlockSize> block{};
    for (std::size_t i = 0; i < kBlockSize; ++i) block[i] = SpaceByte(static_cast<std::uint64_t>(address) + i);
    return block;
  }

  std::array<std::uint8_t, kBlockSize> ChannelReadings() const {
    std::array<std::uint8_t, kBlockSize> reply{};
    const SignalSnapshot snapshot(SimSeconds());
    for (std::size_t j = 0; j < kChannelsPerExchange; ++j) {
      const std::uint16_t channel = le::U16(ram.View(), kChannelListAddress - kRamBase + 2 * j);
      le::PutU32(reply, 4 * j, snapshot.Reading(channel));
    }
    return reply;
  }

  // ---- time and logging ----

  std::int64_t SimMs() const { return static_cast<std::int64_t>(le::U64(time.View(), kTimeSimMs)); }
  double SimSeconds() const { return static_cast<double>(SimMs()) / 1000.0; }

  void AdvanceRealTime() {
    if (options.manualTime || !error.empty()) return;
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastReal);
    if (elapsed.count() <= 0) return;
    lastReal += elapsed;
    Step(elapsed.count());
  }

  void Step(std::int64_t ms) {
    if (ms <= 0) return;
    const std::int64_t t0 = SimMs();
    const std::int64_t t1 = t0 + ms;
    auto header = Header();

    const std::int64_t clockMs = le::U32(time.View(), kTimeClockMs) + ms;
    const auto minutes = static_cast<std::uint64_t>(clockMs / kMinuteMs);
    SetHeaderU16(hdr::kClock, static_cast<std::uint16_t>((le::U16(header, hdr::kClock) + minutes) & 0xFFFF));
    SetTimeU32(kTimeClockMs, static_cast<std::uint32_t>(clockMs % kMinuteMs));

    if (Logging()) {
      LogSamples(t0, t1);
      const std::int64_t lapMs = le::U32(time.View(), kTimeLapMs) + ms;
      const auto laps = static_cast<std::uint64_t>(lapMs / kLapMs);
      SetHeaderU16(hdr::kLapsSinceReset,
                   static_cast<std::uint16_t>((le::U16(header, hdr::kLapsSinceReset) + laps) & 0xFFFF));
      SetTimeU32(kTimeLapMs, static_cast<std::uint32_t>(lapMs % kLapMs));
      UpdateMemoryFigure();
    }
    std::array<std::uint8_t, 8> now{};
    le::PutU64(now, 0, static_cast<std::uint64_t>(t1));
    time.Write(kTimeSimMs, now);
  }

  void SetHeaderU16(std::size_t offset, std::uint16_t value) {
    le::PutU16(Header(), offset, value);
    data.MarkDirty(offset, offset + 2);
  }

  void SetHeaderU32(std::size_t offset, std::uint32_t value) {
    le::PutU32(Header(), offset, value);
    data.MarkDirty(offset, offset + 4);
  }

  void SetTimeU32(std::size_t offset, std::uint32_t value) {
    std::array<std::uint8_t, 4> bytes{};
    le::PutU32(bytes, 0, value);
    time.Write(offset, bytes);
  }

  // A buffer region the logger may write: its rate, sample size and linear extent.
  struct Region {
    std::uint32_t rate = 0;
    std::size_t sampleBytes = 0;
    std::uint64_t start = 0;
    std::uint64_t end = 0;   // start of the next region
    std::uint64_t write = 0;  // where the next byte goes
  };

  // The LCU logs only into regions that make sense: a defined rate, a non-zero weight and an
  // extent inside its data memory behind the header page.
  std::optional<Region> RegionOf(std::size_t i) const {
    const auto header = data.View();
    const std::size_t o = LoggerHeader::EntryOffset(i);
    const std::size_t next = LoggerHeader::EntryOffset(i + 1);
    const std::uint8_t rateCode = le::U8(header, o);
    const std::uint8_t weight = le::U8(header, o + 1);
    const Position start{le::U16(header, o + 2), le::U16(header, o + 4)};
    const Position end{le::U16(header, o + 6), le::U16(header, o + 8)};
    const Position nextStart{le::U16(header, next + 2), le::U16(header, next + 4)};
    if (rateCode >= kRates.size() || weight == 0 || !WindowOk(start) || !WindowOk(nextStart)) return std::nullopt;
    Region r;
    r.rate = kRates[rateCode];
    r.sampleBytes = 2u * weight;
    r.start = LinearOf(start);
    r.end = LinearOf(nextStart);
    if (r.start < kPageSize || r.end <= r.start || r.end > data.Size()) return std::nullopt;
    r.write = WindowOk(end) ? LinearOf(end) : r.start;
    if (r.write < r.start || r.write >= r.end) r.write = r.start;
    return r;
  }

  std::size_t BufferCount() const {
    const std::size_t n = le::U16(data.View(), hdr::kBufferCount);
    return n <= LoggerHeader::MaxBufferCount(kLoggerHeaderSize) ? n : 0;
  }

  void LogSamples(std::int64_t t0, std::int64_t t1) {
    const std::size_t n = BufferCount();
    bool logged = false;
    bool wrapped = false;
    auto bytes = data.MutableView();
    for (std::size_t i = 0; i < n; ++i) {
      auto region = RegionOf(i);
      if (!region) continue;
      Region& r = *region;
      // Samples fall at k / rate seconds; those in (t0, t1] are due now.
      std::int64_t first = t0 * r.rate / 1000 + 1;
      const std::int64_t last = t1 * r.rate / 1000;
      if (last < first) continue;
      const std::uint64_t size = r.end - r.start;
      // Older samples than a region's worth would be overwritten again within this step.
      const auto keep = static_cast<std::int64_t>(size / r.sampleBytes + 2);
      if (last - first + 1 > keep) {
        const auto skipped = static_cast<std::uint64_t>(last - first + 1 - keep);
        const std::uint64_t offset = r.write - r.start + skipped * r.sampleBytes;
        if (offset >= size) wrapped = true;
        r.write = r.start + offset % size;
        first = last - keep + 1;
      }
      std::uint64_t runStart = r.write;
      for (std::int64_t k = first; k <= last; ++k) {
        const SignalSnapshot snapshot(static_cast<double>(k) / r.rate);
        for (std::size_t j = 0; j < r.sampleBytes / 2; ++j) {
          std::array<std::uint8_t, 2> word{};
          le::PutU16(word, 0, static_cast<std::uint16_t>(snapshot.Reading(LoggedChannel(i, j)) & 0xFFFF));
          // The region may end between a word's two bytes.
          for (const std::uint8_t byte : word) {
            bytes[static_cast<std::size_t>(r.write)] = byte;
            if (++r.write == r.end) {
              data.MarkDirty(static_cast<std::size_t>(runStart), static_cast<std::size_t>(r.end));
              r.write = runStart = r.start;
              wrapped = true;
            }
          }
        }
      }
      data.MarkDirty(static_cast<std::size_t>(runStart), static_cast<std::size_t>(r.write));
      const Position end = PositionOf(static_cast<std::uint32_t>(r.write));
      const std::size_t o = LoggerHeader::EntryOffset(i);
      SetHeaderU16(o + 6, end.window);
      SetHeaderU16(o + 8, end.page);
      logged = true;
    }
    if (logged && le::U32(Header(), hdr::kDataPresent) == 0) SetHeaderU32(hdr::kDataPresent, 1);
    if (wrapped) SetHeaderU16(hdr::kWrapFlag, 1);
  }

  std::uint64_t FillBuffer(std::size_t i, std::uint64_t bytes) {
    const auto region = i < BufferCount() ? RegionOf(i) : std::nullopt;
    if (!region) return 0;
    Region r = *region;
    const std::uint64_t samples = std::min(bytes, r.end - r.write) / r.sampleBytes;
    if (samples == 0) return 0;
    auto out = data.MutableView().subspan(static_cast<std::size_t>(r.write));
    // Sample k of the buffer falls at k / rate seconds, counted on from the samples it holds.
    const std::uint64_t first = (r.write - r.start) / r.sampleBytes + 1;
    const std::size_t words = r.sampleBytes / 2;
    std::size_t at = 0;
    for (std::uint64_t k = first; k < first + samples; ++k) {
      const SignalSnapshot snapshot(static_cast<double>(k) / r.rate);
      for (std::size_t j = 0; j < words; ++j) {
        le::PutU16(out, at, static_cast<std::uint16_t>(snapshot.Reading(LoggedChannel(i, j)) & 0xFFFF));
        at += 2;
      }
    }
    data.MarkDirty(static_cast<std::size_t>(r.write), static_cast<std::size_t>(r.write + at));
    const Position end = PositionOf(static_cast<std::uint32_t>(r.write + at));
    const std::size_t o = LoggerHeader::EntryOffset(i);
    SetHeaderU16(o + 6, end.window);
    SetHeaderU16(o + 8, end.page);
    if (le::U32(Header(), hdr::kDataPresent) == 0) SetHeaderU32(hdr::kDataPresent, 1);
    UpdateMemoryFigure();
    return at;
  }

  // The memory figure is the data memory still free for logging, in KiB.
  void UpdateMemoryFigure() {
    std::uint64_t held = 0;
    const bool wrapped = le::U16(data.View(), hdr::kWrapFlag) != 0;
    for (std::size_t i = 0; i < BufferCount(); ++i) {
      if (const auto r = RegionOf(i)) held += wrapped ? r->end - r->start : r->write - r->start;
    }
    const std::uint64_t usable = data.Size() - kPageSize;
    const std::uint64_t freeKiB = (usable - std::min(usable, held)) / 1024;
    SetHeaderU16(hdr::kMemoryFigure, static_cast<std::uint16_t>(std::min<std::uint64_t>(freeKiB, 0xFFFF)));
  }

  // ---- persistence ----

  bool Commit() {
    bool ok = true;
    for (StateFile* file : {&data, &program, &ram, &time}) ok = file->Commit() && ok;
    if (!ok) {
      error = "The simulator could not write its state folder " + options.stateDir.string() + ".";
      lastError = kErrorWriteFault;
    }
    return ok;
  }

  // ---- link ----

  bool Fail(std::uint32_t code) {
    lastError = code;
    return false;
  }

  void DoUnplug() {
    plugged = false;
    openHandle = kInvalidUsbHandle;
    stream = Stream::kNone;
  }

  // Counts the transfer and applies the fault plan; false when the transfer cannot go on.
  bool BeginTransfer(UsbHandle handle) {
    ++transfers;
    if (faults.unplugAtTransfer != 0 && transfers == faults.unplugAtTransfer) DoUnplug();
    if (faults.startLoggingAtTransfer != 0 && transfers == faults.startLoggingAtTransfer)
      WriteSpace(kStartWordAddress, kStartWordOn);
    if (!error.empty()) return Fail(kErrorGenFailure);
    if (!plugged) return Fail(kErrorDeviceNotConnected);
    if (handle == kInvalidUsbHandle || handle != openHandle) return Fail(kErrorInvalidHandle);
    if (faults.failTransfer != 0 && transfers == faults.failTransfer) {
      stream = Stream::kNone;
      return Fail(kErrorSemTimeout);
    }
    return true;
  }

  std::uint32_t ShortenedCount(std::size_t requested) const {
    auto n = static_cast<std::uint32_t>(requested);
    if (faults.shortTransfer != 0 && transfers == faults.shortTransfer) n -= std::min(n, faults.shortBy);
    return n;
  }

  // The transfer starts on the bus once the host asks for it: the host's time since the last
  // transfer ended counts, the simulator's own work and its lateness in waking from the last
  // wait do not (a device on the wire adds neither), up to kLatenessExcused, so that a slow
  // start-up or a long stall is never taken as bus time already spent. The host never gets
  // control back before the model's bus would have finished.
  void WaitForBus(std::chrono::nanoseconds busTime) {
    if (speed == LinkSpeed::kUnlimited) return;
    const auto hostTime = std::max(requestArrived - handedBack, std::chrono::steady_clock::duration::zero());
    busFree = std::max(busFree + hostTime, requestArrived - kLatenessExcused) + busTime;
    // On Windows a sleep ends on the system's millisecond tick and may end before its
    // deadline; sleeping again for what is left never hands control back early.
    while (std::chrono::steady_clock::now() < busFree) std::this_thread::sleep_until(busFree);
    handedBack = std::chrono::steady_clock::now();
  }

  // Data memory from a linear address on; past its end reads as 0.
  void ReadData(std::uint64_t linear, std::span<std::uint8_t> out) const {
    const auto memory = data.View();
    const std::size_t have = linear < memory.size() ? std::min(out.size(), memory.size() - static_cast<std::size_t>(linear)) : 0;
    std::copy_n(memory.begin() + static_cast<std::ptrdiff_t>(linear), have, out.begin());
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(have), out.end(), std::uint8_t{0});
  }

  bool Control(const VendorRequest& r, std::span<std::uint8_t> reply) {
    const bool in = r.bmRequestType == kRequestTypeVendorIn;
    const bool out = r.bmRequestType == kRequestTypeVendorOut;
    switch (r.bRequest) {
      case LCU_READ_BLOCK:
        if (!in) return Fail(kErrorGenFailure);
        return Answer(Block(r.wValue), r, reply);
      case LCU_READ_CHANNELS:
        if (!in) return Fail(kErrorGenFailure);
        return Answer(ChannelReadings(), r, reply);
      case LCU_WRITE_WORD:
        if (!out) return Fail(kErrorGenFailure);
        // The LCU's memory is byte-wide: it stores the datum's low byte at the address.
        WriteSpace(r.wValue, static_cast<std::uint8_t>(r.wIndex & 0xFF));
        return true;
      case LCU_BULK_READ:
      case LCU_BULK_WRITE: {
        if (!out) return Fail(kErrorGenFailure);
        const bool read = r.bRequest == LCU_BULK_READ;
        if (r.wValue >= kWindowBase && r.wValue < kWindowEnd) {
          stream = read ? Stream::kReadData : Stream::kWriteData;
          streamPos = static_cast<std::uint64_t>(r.wIndex) * kPageSize + (r.wValue - kWindowBase);
          return true;
        }
        if (r.wIndex != 0) return Fail(kErrorGenFailure);
        stream = read ? Stream::kReadSpace : Stream::kWriteSpace;
        streamPos = r.wValue;
        return true;
      }
      case LCU_LOAD_FIRMWARE:
        if (!out || r.wValue != kFirmwareBase || r.wIndex != kFirmwareKey) return Fail(kErrorGenFailure);
        stream = Stream::kFirmware;
        streamPos = kFirmwareBase;
        return true;
      default:
        return Fail(kErrorGenFailure);
    }
  }

  bool Answer(const std::array<std::uint8_t, kBlockSize>& block, const VendorRequest& r,
              std::span<std::uint8_t> reply) {
    if (reply.size() != r.wLength) return Fail(kErrorInvalidParameter);
    std::fill(reply.begin(), reply.end(), std::uint8_t{0});
    std::copy_n(block.begin(), std::min(reply.size(), block.size()), reply.begin());
    return true;
  }

  bool Read(std::span<std::uint8_t> buffer, std::uint32_t& moved) {
    if (stream != Stream::kReadData && stream != Stream::kReadSpace) {
      stream = Stream::kNone;
      return Fail(kErrorGenFailure);
    }
    const std::uint32_t n = ShortenedCount(buffer.size());
    if (stream == Stream::kReadData) {
      ReadData(streamPos, buffer.first(n));
    } else {
      for (std::uint32_t i = 0; i < n; ++i) buffer[i] = SpaceByte(streamPos + i);
    }
    streamPos += n;
    moved = n;
    WaitForBus(ModelBulkTime(speed, n));
    return true;
  }

  bool Write(std::span<const std::uint8_t> buffer, std::uint32_t& moved) {
    const Stream kind = stream;
    stream = Stream::kNone;  // a set-up is good for one bulk write
    if (kind != Stream::kWriteData && kind != Stream::kWriteSpace && kind != Stream::kFirmware) {
      return Fail(kErrorGenFailure);
    }
    if (kind == Stream::kFirmware && buffer.size() > kFirmwareImageSize) return Fail(kErrorGenFailure);
    const std::uint32_t n = ShortenedCount(buffer.size());
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint64_t at = streamPos + i;
      if (kind == Stream::kWriteData) {
        SetDataByte(at, buffer[i]);
      } else if (kind == Stream::kWriteSpace) {
        WriteSpace(at, buffer[i]);
      } else {
        program.Set(static_cast<std::size_t>(at), buffer[i]);
      }
    }
    moved = n;
    WaitForBus(ModelBulkTime(speed, n));
    return true;
  }
};

LcuSimulator::LcuSimulator(SimulatorOptions options) : m_impl(std::make_unique<Impl>(std::move(options))) {
  m_impl->Start();
}

LcuSimulator::~LcuSimulator() {
  std::lock_guard lock(m_mutex);
  if (m_impl->error.empty()) m_impl->Commit();
}

bool LcuSimulator::Ok() const {
  std::lock_guard lock(m_mutex);
  return m_impl->error.empty();
}

std::string LcuSimulator::Error() const {
  std::lock_guard lock(m_mutex);
  return m_impl->error;
}

UsbHandle LcuSimulator::OpenNode(int node) {
  std::lock_guard lock(m_mutex);
  Impl& s = *m_impl;
  if (!s.error.empty() || !s.plugged || node != s.options.node) {
    s.Fail(kErrorFileNotFound);
    return kInvalidUsbHandle;
  }
  // The node is opened without sharing, as the driver opens it.
  if (s.openHandle != kInvalidUsbHandle) {
    s.Fail(kErrorSharingViolation);
    return kInvalidUsbHandle;
  }
  s.openHandle = s.nextHandle++;
  s.stream = Impl::Stream::kNone;
  return s.openHandle;
}

bool LcuSimulator::GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) {
  std::lock_guard lock(m_mutex);
  Impl& s = *m_impl;
  if (!s.plugged) return s.Fail(kErrorDeviceNotConnected);
  if (handle == kInvalidUsbHandle || handle != s.openHandle) return s.Fail(kErrorInvalidHandle);
  std::fill(descriptor.begin(), descriptor.end(), std::uint8_t{0});
  le::PutU8(descriptor, 0, 18);       // bLength
  le::PutU8(descriptor, 1, 1);        // bDescriptorType: device
  le::PutU16(descriptor, 2, 0x0200);  // bcdUSB 2.00
  le::PutU8(descriptor, 4, 0xFF);     // bDeviceClass: vendor specific
  le::PutU8(descriptor, 7, 64);       // bMaxPacketSize0
  le::PutU16(descriptor, 8, 0);       // idVendor
  le::PutU16(descriptor, 10, s.options.productId);
  le::PutU16(descriptor, 12, static_cast<std::uint16_t>(0x0100 * kFreshFirmwareVersion));  // bcdDevice
  le::PutU8(descriptor, 14, 1);       // iManufacturer
  le::PutU8(descriptor, 15, 2);       // iProduct
  le::PutU8(descriptor, 16, 3);       // iSerialNumber
  le::PutU8(descriptor, 17, 1);       // bNumConfigurations
  return true;
}

bool LcuSimulator::ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) {
  std::lock_guard lock(m_mutex);
  Impl& s = *m_impl;
  s.requestArrived = std::chrono::steady_clock::now();
  s.AdvanceRealTime();
  // Any control request ends a stream that a set-up request had opened.
  s.stream = Impl::Stream::kNone;
  const bool ok = s.BeginTransfer(handle) && s.Control(request, data);
  if (ok) s.WaitForBus(ModelControlTime(s.speed));
  return s.Commit() && ok;
}

bool LcuSimulator::BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) {
  std::lock_guard lock(m_mutex);
  Impl& s = *m_impl;
  s.requestArrived = std::chrono::steady_clock::now();
  moved = 0;
  s.AdvanceRealTime();
  const bool ok = s.BeginTransfer(handle) && s.Read(buffer, moved);
  return s.Commit() && ok;
}

bool LcuSimulator::BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) {
  std::lock_guard lock(m_mutex);
  Impl& s = *m_impl;
  s.requestArrived = std::chrono::steady_clock::now();
  moved = 0;
  s.AdvanceRealTime();
  bool ok = s.BeginTransfer(handle);
  if (ok) {
    ok = s.Write(buffer, moved);
  } else {
    s.stream = Impl::Stream::kNone;
  }
  return s.Commit() && ok;
}

void LcuSimulator::CloseNode(UsbHandle handle) {
  std::lock_guard lock(m_mutex);
  Impl& s = *m_impl;
  if (handle != kInvalidUsbHandle && handle == s.openHandle) {
    s.openHandle = kInvalidUsbHandle;
    s.stream = Impl::Stream::kNone;
  }
}

std::uint32_t LcuSimulator::LastError() const {
  std::lock_guard lock(m_mutex);
  return m_impl->lastError;
}

std::string LcuSimulator::ErrorText(std::uint32_t code) const {
  switch (code) {
    case kErrorSuccess:
      return "The operation completed successfully.";
    case kErrorFileNotFound:
      return "No LCU is attached to this device node.";
    case kErrorInvalidHandle:
      return "The handle is invalid.";
    case kErrorWriteFault:
      return "The simulated LCU could not save its state.";
    case kErrorGenFailure:
      return "The request was not accepted by the LCU.";
    case kErrorSharingViolation:
      return "The LCU is already in use by another program.";
    case kErrorInvalidParameter:
      return "The request's data length does not match its buffer.";
    case kErrorSemTimeout:
      return "The LCU did not answer in time.";
    case kErrorDeviceNotConnected:
      return "The device is not connected.";
    default: {
      std::string text = CommonErrorText(code);
      return text.empty() ? "Unknown error " + std::to_string(code) + "." : text;
    }
  }
}

std::vector<std::uint8_t> LcuSimulator::DataMemory() const {
  std::lock_guard lock(m_mutex);
  m_impl->AdvanceRealTime();
  m_impl->Commit();
  const auto view = m_impl->data.View();
  return {view.begin(), view.end()};
}

std::vector<std::uint8_t> LcuSimulator::ProgramMemory() const {
  std::lock_guard lock(m_mutex);
  const auto view = m_impl->program.View();
  return {view.begin(), view.end()};
}

std::array<std::uint8_t, kBlockSize> LcuSimulator::ReadBlock(std::uint16_t address) const {
  std::lock_guard lock(m_mutex);
  m_impl->AdvanceRealTime();
  m_impl->Commit();
  return m_impl->Block(address);
}

void LcuSimulator::WriteDataMemory(std::uint32_t linear, std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(m_mutex);
  m_impl->AdvanceRealTime();
  for (std::size_t i = 0; i < bytes.size(); ++i) m_impl->SetDataByte(static_cast<std::uint64_t>(linear) + i, bytes[i]);
  m_impl->Commit();
}

void LcuSimulator::SetFaults(const FaultPlan& plan) {
  std::lock_guard lock(m_mutex);
  m_impl->faults = plan;
  m_impl->transfers = 0;
}

int LcuSimulator::TransferCount() const {
  std::lock_guard lock(m_mutex);
  return m_impl->transfers;
}

void LcuSimulator::Unplug() {
  std::lock_guard lock(m_mutex);
  m_impl->DoUnplug();
}

void LcuSimulator::Replug() {
  std::lock_guard lock(m_mutex);
  m_impl->plugged = true;
}

void LcuSimulator::SetLinkSpeed(LinkSpeed speed) {
  std::lock_guard lock(m_mutex);
  m_impl->speed = speed;
}

void LcuSimulator::AdvanceTime(std::chrono::milliseconds duration) {
  std::lock_guard lock(m_mutex);
  if (!m_impl->error.empty()) return;
  m_impl->AdvanceRealTime();
  m_impl->Step(duration.count());
  m_impl->Commit();
}

std::uint64_t LcuSimulator::FillBuffer(std::size_t i, std::uint64_t bytes) {
  std::lock_guard lock(m_mutex);
  if (!m_impl->error.empty()) return 0;
  m_impl->AdvanceRealTime();
  const std::uint64_t written = m_impl->FillBuffer(i, bytes);
  m_impl->Commit();
  return written;
}

bool LcuSimulator::IsLogging() const {
  std::lock_guard lock(m_mutex);
  m_impl->AdvanceRealTime();
  m_impl->Commit();
  return m_impl->Logging();
}

}  // namespace lcu::sim
