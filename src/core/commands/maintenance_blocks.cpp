#include "core/commands/maintenance_blocks.h"

#include <algorithm>
#include <memory>
#include <new>

#include "core/host/default_paths.h"
#include "core/host/whole_file_save.h"
#include "core/link/logger_transfers.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"
#include "core/util/strict_number.h"

namespace lcu {

namespace {

void ClearBytes(LoggerHeader& header, std::size_t offset, std::size_t length) {
  const auto bytes = header.Bytes().subspan(offset, length);
  std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
}

}  // namespace

bool WriteBlock(CUsbDevice& device, std::uint16_t address, std::span<const std::uint8_t> block) {
  return device.VendorWrite(LCU_BULK_WRITE, address, 0) && BulkWriteAll(device, block);
}

bool SaveOutputFile(CommandContext& ctx, const std::string& path, std::span<const std::uint8_t> bytes,
                    std::string_view notCreated, std::string_view notWritten) {
  const SaveOutcome saved = SaveWholeFile(ctx.files, path, bytes);
  if (saved.Saved()) return true;
  ShowFileError(ctx.prompter, saved.step == SaveStep::kNotCreated ? notCreated : notWritten, path, saved.reason);
  return false;
}

std::string DefaultProgramDumpPath() { return JoinPath(VelmoraRoot(), "Read.bin"); }

std::string DefaultSetupExtractPath() { return JoinPath(JoinPath(VelmoraRoot(), "libs"), "extract.stp"); }

std::unique_ptr<std::uint8_t[]> ReadProgramMemory(CommandContext& ctx) {
  std::unique_ptr<std::uint8_t[]> memory(new (std::nothrow) std::uint8_t[kProgramMemorySize]);
  if (!memory) {
    ctx.prompter.Error(msg::kFailedToAllocateDumpMemory);
    return nullptr;
  }
  if (!ctx.device.VendorWrite(LCU_BULK_READ, kProgramMemoryAddress, 0)) {
    ShowSystemError(ctx.prompter, msg::kFailedToSendCommand, ctx.device.LastErrorText());
    return nullptr;
  }
  if (!BulkReadAll(ctx.device, std::span(memory.get(), kProgramMemorySize))) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadLogger, ctx.device.LastErrorText());
    return nullptr;
  }
  return memory;
}

void ResetLogbookFields(LoggerHeader& header, std::uint64_t resetFileTime) {
  header.SetU32(hdr::kLogbookResetTime, static_cast<std::uint32_t>(resetFileTime & 0xFFFFFFFFu));
  header.SetU32(hdr::kLogbookResetTime + 4, static_cast<std::uint32_t>(resetFileTime >> 32));
  for (const std::size_t o : {hdr::kLogbook80, hdr::kLogbookTotal, hdr::kLogbook90, hdr::kLogbook94})
    header.SetU32(o, 0);
  header.SetU16(hdr::kLogbook98, 0);
  ClearBytes(header, hdr::kLogbookFirstBlock, 32);
  ClearBytes(header, hdr::kLogbookTail, 6);
  ClearBytes(header, hdr::kLogbookSecondBlock, 96);
}

std::optional<std::string> ValidateInitLcuNumber(std::string_view text) {
  // Any number of digits is an integer; only its range decides whether it is accepted.
  switch (ParseStrictNumber(text, {NumberBase::kDecimal, true, true}, 0, kLargestLcuNumber).error) {
    case NumberError::kNone: return std::nullopt;
    case NumberError::kNotANumber: return std::string(msg::kEnterInteger);
    case NumberError::kOutOfRange: break;
  }
  return std::string(msg::kEnterIntegerInLcuRange);
}

StatusBlock InitLcuBlock(std::uint16_t lcuNumber) {
  StatusBlock block{};
  le::PutU16(block, hdr::kMemorySize, kInitialMemorySize);
  le::PutU16(block, hdr::kLcuNumber, lcuNumber);
  return block;
}

}  // namespace lcu
