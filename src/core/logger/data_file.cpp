#include "core/logger/data_file.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/logger/lcu_configuration_rows.h"
#include "core/logger/session_block.h"
#include "core/messages/messages.h"

namespace lcu {

namespace {

constexpr std::string_view kDownloadedLabel = "Downloaded :";
constexpr std::string_view kWrappedLabel = "Wrapped :";
constexpr std::string_view kBuffersLabel = "Buffers :";
constexpr std::string_view kSizeLabel = "Size :";
constexpr std::string_view kCompleteLabel = "Complete :";
constexpr std::string_view kLoggedDuringLabel = "Logged during download :";
constexpr std::string_view kUndefinedRate = "undefined";

void AddLine(std::string& out, std::string_view label, std::string_view value) {
  out += label;
  out += ' ';
  out += value;
  out += '\n';
}

std::string BufferLine(std::size_t index, const DataFileBuffer& b) {
  std::string line = "Buffer " + std::to_string(index) + " : rate ";
  line += b.rate ? std::to_string(*b.rate) + "/s"
                 : std::string(kUndefinedRate) + " (code " + std::to_string(b.rateCode) + ")";
  line += ", weight " + std::to_string(b.weight);
  line += ", length " + std::to_string(b.length) + " bytes";
  if (b.bytesPresent < b.length) line += ", " + std::to_string(b.bytesPresent) + " in file";
  return line;
}

}  // namespace

std::string DownloadTimeText(const LocalTime& t) {
  std::array<char, 64> text{};
  std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour,
                t.minute, t.second, t.millisecond);
  return text.data();
}

std::optional<DataFileInfo> ReadDataFileInfo(std::span<const std::uint8_t> start, std::uint64_t fileSize,
                                             std::string_view& error) {
  if (start.size() < kLoggerHeaderSize || fileSize < kLoggerHeaderSize) {
    error = msg::kDataFileTooShort;
    return std::nullopt;
  }
  const LoggerHeader header(start.first<kLoggerHeaderSize>());
  // A download writes a file only when the LCU reports data.
  if (header.DataPresent() == 0) {
    error = msg::kDataFileHoldsNoData;
    return std::nullopt;
  }
  if (const auto invalid = ValidateBufferTable(header)) {
    error = *invalid;
    return std::nullopt;
  }

  DataFileInfo info;
  info.lcuNumber = header.LcuNumber();
  info.downloadFileTime = header.DownloadTime();
  info.downloadTime = LocalFromFileTime(info.downloadFileTime);
  SessionBlock session{};
  const auto sessionBytes = header.Bytes().subspan(hdr::kDataPresent, kBlockSize);
  std::copy(sessionBytes.begin(), sessionBytes.end(), session.begin());
  info.session = SessionValuesOf(session);
  info.wrapped = header.WrapFlag() != 0;
  info.fileSize = fileSize;

  std::uint64_t offset = kLoggerHeaderSize;
  const std::size_t n = header.BufferCount();
  info.buffers.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const LogBufferEntry entry = header.Entry(i);
    DataFileBuffer b;
    b.rateCode = entry.rateCode;
    if (entry.rateCode < kRates.size()) b.rate = kRates[entry.rateCode];
    b.weight = entry.weight;
    b.length = header.ExtentOf(i).length;
    b.offset = offset;
    b.bytesPresent = fileSize > offset ? std::min<std::uint64_t>(b.length, fileSize - offset) : 0;
    offset += b.length;
    info.buffers.push_back(b);
  }
  info.expectedSize = offset;
  info.loggedDuring = fileSize == info.expectedSize + kLoggerHeaderSize;
  if (fileSize > info.expectedSize && !info.loggedDuring) {
    error = msg::kDataFileTooLong;
    return std::nullopt;
  }
  return info;
}

std::optional<DataFileInfo> ReadDataFile(std::span<const std::uint8_t> bytes, std::string_view& error) {
  return ReadDataFileInfo(bytes, bytes.size(), error);
}

std::span<const std::uint8_t> BufferData(std::span<const std::uint8_t> file, const DataFileBuffer& buffer) {
  if (buffer.offset >= file.size()) return {};
  const std::uint64_t available = file.size() - buffer.offset;
  const std::uint64_t length = std::min<std::uint64_t>({buffer.length, buffer.bytesPresent, available});
  return file.subspan(static_cast<std::size_t>(buffer.offset), static_cast<std::size_t>(length));
}

std::string FormatDataFileInfo(const DataFileInfo& info) {
  std::string out;
  AddLine(out, kLcuConfigurationLabels[kSerialRow], std::to_string(info.lcuNumber));
  AddLine(out, kDownloadedLabel, DownloadTimeText(info.downloadTime));
  AddLine(out, session_label::kSession, std::to_string(info.session.session));
  AddLine(out, session_label::kOuting, std::to_string(info.session.outing));
  AddLine(out, session_label::kLapCount, std::to_string(info.session.lapCount));
  AddLine(out, session_label::kPaceLaps, std::to_string(info.session.paceLaps));
  AddLine(out, kWrappedLabel, info.wrapped ? "yes" : "no");
  AddLine(out, kBuffersLabel, std::to_string(info.buffers.size()));
  for (std::size_t i = 0; i < info.buffers.size(); ++i) {
    out += BufferLine(i, info.buffers[i]);
    out += '\n';
  }
  AddLine(out, kSizeLabel, std::to_string(info.fileSize) + " of " + std::to_string(info.expectedSize) + " bytes");
  AddLine(out, kCompleteLabel, info.Complete() ? "yes" : "no");
  if (info.loggedDuring) AddLine(out, kLoggedDuringLabel, "yes, the data may mix older and newer parts");
  return out;
}

}  // namespace lcu
