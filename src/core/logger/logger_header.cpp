#include "core/logger/logger_header.h"

#include <algorithm>

#include "core/messages/message_text.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"

namespace lcu {

Position PositionOf(std::uint32_t linear) {
  return Position{static_cast<std::uint16_t>(kWindowBase + (linear & 0x3FFF)),
                  static_cast<std::uint16_t>(linear >> 14)};
}

std::uint64_t LinearOf(Position p) { return static_cast<std::uint64_t>(p.page) * kPageSize + (p.window & 0x3FFFu); }

std::uint32_t Distance(Position from, Position to) {
  const std::uint32_t pages = static_cast<std::uint32_t>(to.page) - from.page;
  const std::uint32_t offsets = static_cast<std::uint32_t>(to.window) - from.window;
  return pages * kPageSize + offsets;
}

LoggerHeader::LoggerHeader(std::span<const std::uint8_t, kLoggerHeaderSize> bytes) {
  std::copy(bytes.begin(), bytes.end(), m_bytes.begin());
}

std::uint16_t LoggerHeader::U16(std::size_t offset) const { return le::U16(m_bytes, offset); }
std::uint32_t LoggerHeader::U32(std::size_t offset) const { return le::U32(m_bytes, offset); }
void LoggerHeader::SetU16(std::size_t offset, std::uint16_t value) { le::PutU16(m_bytes, offset, value); }
void LoggerHeader::SetU32(std::size_t offset, std::uint32_t value) { le::PutU32(m_bytes, offset, value); }

std::uint64_t LoggerHeader::DownloadTime() const { return le::U64(m_bytes, hdr::kDownloadTime); }
void LoggerHeader::SetDownloadTime(std::uint64_t fileTime) { le::PutU64(m_bytes, hdr::kDownloadTime, fileTime); }

std::string LoggerHeader::Text(std::size_t offset, std::size_t length) const {
  le::CheckRange(m_bytes.size(), offset, length);
  std::string text(reinterpret_cast<const char*>(m_bytes.data() + offset), length);
  const auto nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

std::size_t LoggerHeader::MaxBufferCount(std::size_t limit) {
  return (limit - hdr::kBufferTable) / hdr::kBufferEntrySize - 1;
}

LogBufferEntry LoggerHeader::Entry(std::size_t i) const {
  const std::size_t o = EntryOffset(i);
  LogBufferEntry e;
  e.rateCode = le::U8(m_bytes, o);
  e.weight = le::U8(m_bytes, o + 1);
  e.start = {le::U16(m_bytes, o + 2), le::U16(m_bytes, o + 4)};
  e.end = {le::U16(m_bytes, o + 6), le::U16(m_bytes, o + 8)};
  e.carried = le::U16(m_bytes, o + 10);
  return e;
}

void LoggerHeader::SetEntry(std::size_t i, const LogBufferEntry& e) {
  const std::size_t o = EntryOffset(i);
  le::PutU8(m_bytes, o, e.rateCode);
  le::PutU8(m_bytes, o + 1, e.weight);
  le::PutU16(m_bytes, o + 2, e.start.window);
  le::PutU16(m_bytes, o + 4, e.start.page);
  le::PutU16(m_bytes, o + 6, e.end.window);
  le::PutU16(m_bytes, o + 8, e.end.page);
  le::PutU16(m_bytes, o + 10, e.carried);
}

BufferExtent LoggerHeader::ExtentOf(std::size_t i) const {
  const LogBufferEntry e = Entry(i);
  BufferExtent x;
  x.readFrom = e.start;
  if (WrapFlag() == 0) {
    x.length = Distance(e.start, e.end);
    x.newerLength = x.length;
    return x;
  }
  const Position next = Entry(i + 1).start;
  x.length = Distance(e.start, next);
  x.newerLength = Distance(e.start, e.end);
  x.olderOffset = x.newerLength;
  x.olderLength = Distance(e.end, next);
  return x;
}

std::optional<BufferTableProblem> FindBufferTableProblem(const LoggerHeader& header) {
  const std::size_t n = header.BufferCount();
  if (n > LoggerHeader::MaxBufferCount(kLoggerHeaderSize))
    return BufferTableProblem{BufferTableFault::kTooManyBuffers, n};
  const std::uint64_t memoryEnd = header.DataMemoryBytes();
  const bool wrapped = header.WrapFlag() != 0;
  const auto windowOk = [](Position p) { return p.window >= kWindowBase && p.window < kWindowBase + kPageSize; };
  const auto problem = [](BufferTableFault fault, std::size_t entry) { return BufferTableProblem{fault, entry}; };
  for (std::size_t i = 0; i < n; ++i) {
    const LogBufferEntry e = header.Entry(i);
    const LogBufferEntry next = header.Entry(i + 1);
    if (!windowOk(e.start) || !windowOk(e.end)) return problem(BufferTableFault::kWindowOutside, i);
    if (!windowOk(next.start)) return problem(BufferTableFault::kWindowOutside, i + 1);
    const std::uint64_t start = LinearOf(e.start);
    const std::uint64_t end = LinearOf(e.end);
    const std::uint64_t regionEnd = LinearOf(next.start);
    if (start < kPageSize) return problem(BufferTableFault::kStartInHeaderPage, i);
    if (end < start) return problem(BufferTableFault::kEndBeforeStart, i);
    // The data read runs to the end position, or to the next region when wrapped; both must
    // lie inside the data memory, and a wrapped buffer's end inside its own region.
    if (wrapped && regionEnd < start) return problem(BufferTableFault::kRegionBeforeStart, i);
    if (wrapped && end > regionEnd) return problem(BufferTableFault::kEndOutsideRegion, i);
    if ((wrapped ? regionEnd : end) > memoryEnd) return problem(BufferTableFault::kPastMemoryEnd, i);
  }
  return std::nullopt;
}

std::string BufferTableProblemText(const BufferTableProblem& problem) {
  std::string_view what;
  switch (problem.fault) {
    case BufferTableFault::kTooManyBuffers: return WithNumber(msg::kBufferCountTooLarge, problem.entry);
    case BufferTableFault::kWindowOutside: what = msg::kEntryWindowOutside; break;
    case BufferTableFault::kStartInHeaderPage: what = msg::kEntryStartsInHeaderPage; break;
    case BufferTableFault::kEndBeforeStart: what = msg::kEntryEndsBeforeStart; break;
    case BufferTableFault::kRegionBeforeStart: what = msg::kEntryRegionBeforeStart; break;
    case BufferTableFault::kEndOutsideRegion: what = msg::kEntryEndOutsideRegion; break;
    case BufferTableFault::kPastMemoryEnd: what = msg::kEntryEndsPastMemory; break;
  }
  return std::string(msg::kHeaderEntry) + std::to_string(problem.entry) + std::string(what);
}

std::string MemorySizeProblemText(std::uint32_t memorySize) { return WithNumber(msg::kMemorySizeOutside, memorySize); }

std::optional<std::string_view> ValidateBufferTable(const LoggerHeader& header) {
  if (FindBufferTableProblem(header)) return msg::kLoggerHeaderInvalid;
  return std::nullopt;
}

}  // namespace lcu
