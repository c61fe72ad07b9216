// What each LCU command must show when one of its transfers fails, comes up short or finds
// the LCU unplugged, shared by the fault matrices of the core and of the command line. A
// transfer is named by its number among the command's own transfers, from 1, on an LCU that
// holds the download table below.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/prompter.h"
#include "core/logger/logger_header.h"
#include "core/messages/messages.h"

namespace lcu::test {

enum class Fault { kFail, kShort, kUnplug };

inline const char* FaultName(Fault fault) {
  return fault == Fault::kFail ? "failure" : fault == Fault::kShort ? "short transfer" : "unplug";
}

/// The system's text for each fault as the simulated LCU reports it.
inline std::string FaultText(Fault fault) {
  return fault == Fault::kFail    ? "The LCU did not answer in time."
         : fault == Fault::kShort ? std::string(msg::kShortTransferText)
                                  : "The device is not connected.";
}

using Messages = std::vector<std::string>;

inline std::string SystemMessage(std::string_view caption, Fault fault) {
  return FormatSystemError(caption, FaultText(fault));
}

/// Makes the data memory (header first) hold the buffer table, with data present and data
/// bytes that tell every byte apart; returns the header.
inline LoggerHeader PrepareDownload(std::vector<std::uint8_t>& memory, std::uint16_t wrap,
                                    const std::vector<LogBufferEntry>& table) {
  LoggerHeader h(std::span<const std::uint8_t, kLoggerHeaderSize>(memory.data(), kLoggerHeaderSize));
  h.SetU32(hdr::kDataPresent, 1);
  h.SetU16(hdr::kWrapFlag, wrap);
  h.SetU16(hdr::kBufferCount, static_cast<std::uint16_t>(table.size() - 1));
  for (std::size_t i = 0; i < table.size(); ++i) h.SetEntry(i, table[i]);
  std::copy(h.Bytes().begin(), h.Bytes().end(), memory.begin());
  for (std::size_t i = kLoggerHeaderSize; i < memory.size(); ++i) {
    const std::size_t j = i - kLoggerHeaderSize;
    memory[i] = static_cast<std::uint8_t>((j * 7) ^ (j >> 9));
  }
  return h;
}
/// The table the fault matrices meet: a buffer of two whole chunks and a remainder, a buffer
/// read in one remainder, and the end marker.
inline void PrepareFaultDownload(std::vector<std::uint8_t>& memory) {
  PrepareDownload(
      memory, 0,
      {{2, 1, {0x8000, 1}, {0x8100, 3}}, {3, 1, {0x8000, 4}, {0x8010, 4}}, {0, 0, {0x8000, 5}, {0x8000, 5}}});
}
/// Bytes of logged data a complete download of that table holds after the header.
inline constexpr std::uint64_t kFaultDownloadDataBytes = 2 * 16384 + 0x100 + 0x10;

namespace fault_messages {

inline Messages One(std::string_view text) { return {std::string(text)}; }

/// Stands for the data file's path in the download's messages; the matrices put in the path
/// the download reported.
inline constexpr std::string_view kDataFilePath = "<data file>";

/// 1 logging state, 2-3 header, 4-7 buffer 0 (set-up, two chunks, remainder), 8-9 buffer 1
/// (set-up, remainder), 10-12 the look after the download (header, logging state), 13-14 the
/// reset's write, which follows that look directly.
inline Messages Download(Fault f, int k) {
  const std::string readChannelData = SystemMessage(msg::kFailedToReadChannelData, f);
  const std::string partial = FormatSystemError(msg::kDataFileIncomplete, kDataFilePath);
  if (k == 1) return {SystemMessage(msg::kFailedToAccessLcu, f)};
  if (k <= 3) return {SystemMessage(msg::kFailedToReadHeader, f)};
  if (k == 4 || k == 8) return {readChannelData, partial};
  if (k == 5 || k == 6) return {SystemMessage(msg::kReadingFromLcuFailed, f), readChannelData, partial};
  if (k <= 9) return {FaultText(f), std::string(msg::kReadingFromLcuFailed), readChannelData, partial};
  const std::string resetting = SystemMessage(msg::kErrorWhileResettingLcu, f);
  if (k <= 11) return {SystemMessage(msg::kFailedToReadHeaderDot, f), resetting};
  if (k == 12) return {SystemMessage(msg::kFailedToAccessLcu, f), resetting};
  return {SystemMessage(msg::kFailedToUploadConfiguration, f),
          FormatSystemError(resetting + '\n' + std::string(msg::kResetFailedDataFileComplete), kDataFilePath)};
}

/// The messages with the data file's path put in.
inline Messages WithDataFilePath(Messages messages, std::string_view path) {
  for (std::string& m : messages)
    if (const std::size_t at = m.find(kDataFilePath); at != std::string::npos)
      m.replace(at, kDataFilePath.size(), path);
  return messages;
}

/// 1 logging state (a failed read closes the link, so the header read then finds it closed),
/// 2-3 header, 4-5 header write.
inline Messages SendConfig(Fault f, int k) {
  if (k <= 3) return {SystemMessage(msg::kFailedToReadHeaderDot, f)};
  return {SystemMessage(msg::kFailedToUploadConfiguration, f)};
}

inline Messages ResetLogbook(Fault f, int) { return {SystemMessage(msg::kFailedToResetLogbook, f)}; }
inline Messages ExtractSetup(Fault f, int) { return {SystemMessage(msg::kFailedToReadHeader, f)}; }
inline Messages ReadHexFile(Fault f, int k) {
  return {SystemMessage(k == 1 ? msg::kFailedToSendCommand : msg::kFailedToReadLogger, f)};
}
inline Messages InitializeLcu(Fault f, int) { return {SystemMessage(msg::kFailedToInitializeLcu, f)}; }
/// 1 the session block read, 2-3 its write.
inline Messages SessionData(Fault f, int k) {
  return {SystemMessage(k == 1 ? msg::kFailedToReadSessionData : msg::kFailedToUpdateSessionData, f)};
}
inline Messages SetLcuClock(Fault f, int) { return {SystemMessage(msg::kFailedToSetLcuClock, f)}; }
inline Messages StartLogger(Fault f, int) { return {SystemMessage(msg::kFailedToWriteDataToLcu, f)}; }
/// The configuration display, peek and the command line's monitor.
inline Messages ReadLcu(Fault f, int) { return {SystemMessage(msg::kFailedToReadLcu, f)}; }
inline Messages LoadHexFile(Fault f, int k) {
  return {SystemMessage(k == 1 ? msg::kFailedToSendCommand : msg::kFailedToWriteToLogger, f)};
}
inline Messages MemoryWrite(Fault f, int) { return {SystemMessage(msg::kFailedToWriteDataToLcu, f)}; }
inline Messages Silent(Fault, int) { return {}; }

}  // namespace fault_messages

}  // namespace lcu::test
