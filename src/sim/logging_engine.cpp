#include "sim/logging_engine.h"

#include <algorithm>

#include "core/commands/configuration_upload.h"
#include "core/logger/logger_header.h"
#include "core/util/little_endian.h"
#include "sim/signal_model.h"

namespace lcu::sim {

namespace {

constexpr std::int64_t kMinuteMs = 60000;
constexpr std::uint64_t kMinutesPerDay = 24 * 60;
constexpr std::int64_t kLapMs = 90000;

bool WindowOk(Position p) { return p.window >= kWindowBase && p.window < kWindowEnd; }

// Which channel the j-th word of a buffer-i sample holds: the buffers log the calibrated
// inputs and the counters, each buffer starting at its own place.
std::uint16_t LoggedChannel(std::size_t buffer, std::size_t word) {
  return static_cast<std::uint16_t>((buffer * 16 + word) % 112);
}

}  // namespace

std::int64_t LoggingEngine::SimMs() const {
  return static_cast<std::int64_t>(le::U64(m_memory.Time().View(), kTimeSimMs));
}
double LoggingEngine::SimSeconds() const { return static_cast<double>(SimMs()) / 1000.0; }

void LoggingEngine::AdvanceRealTime() {
  if (m_bManualTime || !m_memory.Ok()) return;
  const auto now = std::chrono::steady_clock::now();
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_lastReal);
  if (elapsed.count() <= 0) return;
  m_lastReal += elapsed;
  Step(elapsed.count());
}

void LoggingEngine::Step(std::int64_t ms) {
  if (ms <= 0) return;
  const std::int64_t t0 = SimMs();
  const std::int64_t t1 = t0 + ms;
  auto header = m_memory.Header();

  const std::int64_t clockMs = le::U32(m_memory.Time().View(), kTimeClockMs) + ms;
  const auto minutes = static_cast<std::uint64_t>(clockMs / kMinuteMs);
  // The clock is the time of day and goes round at midnight. A count that is no time of day
  // (an erased clock) runs on as the 16-bit count it is, until the clock is set.
  const std::uint16_t clock = le::U16(header, hdr::kClock);
  const std::uint64_t next = clock < kMinutesPerDay ? (clock + minutes) % kMinutesPerDay : (clock + minutes) & 0xFFFF;
  SetHeaderU16(hdr::kClock, static_cast<std::uint16_t>(next));
  SetTimeU32(kTimeClockMs, static_cast<std::uint32_t>(clockMs % kMinuteMs));

  if (m_memory.Logging()) {
    LogSamples(t0, t1);
    const std::int64_t lapMs = le::U32(m_memory.Time().View(), kTimeLapMs) + ms;
    const auto laps = static_cast<std::uint64_t>(lapMs / kLapMs);
    SetHeaderU16(hdr::kLapsSinceReset,
                 static_cast<std::uint16_t>((le::U16(header, hdr::kLapsSinceReset) + laps) & 0xFFFF));
    SetTimeU32(kTimeLapMs, static_cast<std::uint32_t>(lapMs % kLapMs));
    UpdateMemoryFigure();
  }
  std::array<std::uint8_t, 8> now{};
  le::PutU64(now, 0, static_cast<std::uint64_t>(t1));
  m_memory.Time().Write(kTimeSimMs, now);
}

void LoggingEngine::SetHeaderU16(std::size_t offset, std::uint16_t value) {
  le::PutU16(m_memory.Header(), offset, value);
  m_memory.Data().MarkDirty(offset, offset + 2);
}

void LoggingEngine::SetHeaderU32(std::size_t offset, std::uint32_t value) {
  le::PutU32(m_memory.Header(), offset, value);
  m_memory.Data().MarkDirty(offset, offset + 4);
}

void LoggingEngine::SetTimeU32(std::size_t offset, std::uint32_t value) {
  std::array<std::uint8_t, 4> bytes{};
  le::PutU32(bytes, 0, value);
  m_memory.Time().Write(offset, bytes);
}

// The LCU logs only into regions that make sense: a defined rate, a non-zero weight and an
// extent inside its data memory behind the header page.
std::optional<LoggingEngine::Region> LoggingEngine::RegionOf(std::size_t i) const {
  const auto header = m_memory.Data().View();
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
  if (r.start < kPageSize || r.end <= r.start || r.end > m_memory.Data().Size()) return std::nullopt;
  r.write = WindowOk(end) ? LinearOf(end) : r.start;
  if (r.write < r.start || r.write >= r.end) r.write = r.start;
  return r;
}

std::size_t LoggingEngine::BufferCount() const {
  const std::size_t n = le::U16(m_memory.Data().View(), hdr::kBufferCount);
  return n <= LoggerHeader::MaxBufferCount(kLoggerHeaderSize) ? n : 0;
}

void LoggingEngine::LogSamples(std::int64_t t0, std::int64_t t1) {
  const std::size_t n = BufferCount();
  bool logged = false;
  bool wrapped = false;
  auto bytes = m_memory.Data().MutableView();
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
            m_memory.Data().MarkDirty(static_cast<std::size_t>(runStart), static_cast<std::size_t>(r.end));
            r.write = runStart = r.start;
            wrapped = true;
          }
        }
      }
    }
    m_memory.Data().MarkDirty(static_cast<std::size_t>(runStart), static_cast<std::size_t>(r.write));
    const Position end = PositionOf(static_cast<std::uint32_t>(r.write));
    const std::size_t o = LoggerHeader::EntryOffset(i);
    SetHeaderU16(o + 6, end.window);
    SetHeaderU16(o + 8, end.page);
    logged = true;
  }
  if (logged && le::U32(m_memory.Header(), hdr::kDataPresent) == 0) SetHeaderU32(hdr::kDataPresent, 1);
  if (wrapped) SetHeaderU16(hdr::kWrapFlag, 1);
}

std::uint64_t LoggingEngine::FillBuffer(std::size_t i, std::uint64_t bytes) {
  const auto region = i < BufferCount() ? RegionOf(i) : std::nullopt;
  if (!region) return 0;
  Region r = *region;
  const std::uint64_t samples = std::min(bytes, r.end - r.write) / r.sampleBytes;
  if (samples == 0) return 0;
  auto out = m_memory.Data().MutableView().subspan(static_cast<std::size_t>(r.write));
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
  m_memory.Data().MarkDirty(static_cast<std::size_t>(r.write), static_cast<std::size_t>(r.write + at));
  const Position end = PositionOf(static_cast<std::uint32_t>(r.write + at));
  const std::size_t o = LoggerHeader::EntryOffset(i);
  SetHeaderU16(o + 6, end.window);
  SetHeaderU16(o + 8, end.page);
  if (le::U32(m_memory.Header(), hdr::kDataPresent) == 0) SetHeaderU32(hdr::kDataPresent, 1);
  UpdateMemoryFigure();
  return at;
}

// The memory figure is the data memory still free for logging, in KiB.
void LoggingEngine::UpdateMemoryFigure() {
  std::uint64_t held = 0;
  const bool wrapped = le::U16(m_memory.Data().View(), hdr::kWrapFlag) != 0;
  for (std::size_t i = 0; i < BufferCount(); ++i) {
    if (const auto r = RegionOf(i)) held += wrapped ? r->end - r->start : r->write - r->start;
  }
  const std::uint64_t usable = m_memory.Data().Size() - kPageSize;
  const std::uint64_t freeKiB = (usable - std::min(usable, held)) / 1024;
  SetHeaderU16(hdr::kMemoryFigure, static_cast<std::uint16_t>(std::min<std::uint64_t>(freeKiB, 0xFFFF)));
}

std::array<std::uint8_t, kBlockSize> LoggingEngine::ChannelReadings() const {
  std::array<std::uint8_t, kBlockSize> reply{};
  const SignalSnapshot snapshot(SimSeconds());
  for (std::size_t j = 0; j < kChannelsPerExchange; ++j)
    le::PutU32(reply, 4 * j, snapshot.Reading(m_memory.ListedChannel(j)));
  return reply;
}

}  // namespace lcu::sim
