#include "core/link/logger_transfers.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/messages/messages.h"

namespace lcu {

namespace {

bool ReadIsReadFile(const CUsbDevice& device) { return device.Backend().BulkReadIsReadFile(); }

}  // namespace

bool BulkReadAll(CUsbDevice& device, std::span<std::uint8_t> buffer) {
  std::uint32_t moved = 0;
  if (!device.BulkRead(buffer, &moved)) return false;
  if (moved == buffer.size()) return true;
  device.FailShortTransfer();
  return false;
}

bool BulkWriteAll(CUsbDevice& device, std::span<const std::uint8_t> buffer) {
  std::uint32_t moved = 0;
  if (!device.BulkWrite(buffer, &moved)) return false;
  if (moved == buffer.size()) return true;
  device.FailShortTransfer();
  return false;
}

bool ReadLoggerHeader(CUsbDevice& device, std::span<std::uint8_t, kLoggerHeaderSize> buffer) {
  if (!device.VendorWrite(LCU_BULK_READ, kStatusAddress, 0)) return false;
  return BulkReadAll(device, buffer);
}

bool WriteLoggerHeader(CUsbDevice& device, std::span<const std::uint8_t, kLoggerHeaderSize> buffer) {
  if (!device.VendorWrite(LCU_BULK_WRITE, kSessionBlockAddress, 0)) return false;
  return BulkWriteAll(device, std::span<const std::uint8_t>(buffer).last(kHeaderWriteSize));
}

std::uint64_t LoggerBlockTransferSize(std::uint32_t length) {
  return (static_cast<std::uint64_t>(length) + 128) / 128 * 128;
}

BlockReadResult ReadLoggerBlock(CUsbDevice& device, Prompter& prompter, std::uint32_t length, std::uint16_t address,
                                std::uint16_t index, const BlockSink& sink) {
  const CUsbDevice::ExchangeScope exchange(device);
  if (!device.VendorWrite(LCU_BULK_READ, address, index)) return BlockReadResult::kSetupFailed;
  const std::uint64_t total = LoggerBlockTransferSize(length);
  const std::uint64_t chunks = total / kBlockChunk;
  const std::uint64_t remainder = total % kBlockChunk;
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(total, kBlockChunk)));
  std::uint64_t offset = 0;
  for (std::uint64_t i = 0; i < chunks; ++i) {
    if (!BulkReadAll(device, std::span(chunk).first(kBlockChunk))) {
      ShowSystemError(prompter, ReadIsReadFile(device) ? msg::kReadFileFailedCaption : msg::kReadingFromLcuFailed,
                      device.LastErrorText());
      return BlockReadResult::kReadFailed;
    }
    if (!sink(offset, std::span<const std::uint8_t>(chunk).first(kBlockChunk))) return BlockReadResult::kSinkFailed;
    offset += kBlockChunk;
  }
  if (remainder != 0) {
    const auto part = std::span(chunk).first(static_cast<std::size_t>(remainder));
    if (!BulkReadAll(device, part)) {
      prompter.Error(device.LastErrorText());
      prompter.Error(ReadIsReadFile(device) ? msg::kReadFileFailed : msg::kReadingFromLcuFailed);
      return BlockReadResult::kReadFailed;
    }
    if (!sink(offset, part)) return BlockReadResult::kSinkFailed;
  }
  return BlockReadResult::kOk;
}

bool ReadLoggerBlock(CUsbDevice& device, Prompter& prompter, std::span<std::uint8_t> buffer, std::uint32_t length,
                     std::uint16_t address, std::uint16_t index) {
  if (buffer.size() < LoggerBlockTransferSize(length)) std::abort();
  const auto sink = [&](std::uint64_t offset, std::span<const std::uint8_t> chunk) {
    std::copy(chunk.begin(), chunk.end(), buffer.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
  };
  return ReadLoggerBlock(device, prompter, length, address, index, sink) == BlockReadResult::kOk;
}

}  // namespace lcu
