#include "core/commands/configuration_upload.h"

#include <algorithm>

#include "core/host/registry.h"
#include "core/link/logger_transfers.h"
#include "core/messages/messages.h"
#include "core/util/decimal_text.h"

namespace lcu {

namespace {

void CopyBytes(const LoggerHeader& from, CalibrationImage& to, std::size_t offset, std::size_t length) {
  const auto src = from.Bytes().subspan(offset, length);
  std::copy(src.begin(), src.end(), to.Bytes().begin() + static_cast<std::ptrdiff_t>(offset));
}

void CarryU16(const LoggerHeader& lcu, CalibrationImage& image, std::size_t offset) {
  image.SetU16(offset, lcu.U16(offset));
}

void CarryU32(const LoggerHeader& lcu, CalibrationImage& image, std::size_t offset) {
  image.SetU32(offset, lcu.U32(offset));
}

void CarryQmt(const LoggerHeader& lcu, CalibrationImage& image) {
  CarryU16(lcu, image, hdr::kQmtWord);
  CopyBytes(lcu, image, hdr::kQmtBlock, 16);
}

}  // namespace

void LayOutBuffers(CalibrationImage& image, std::uint16_t memorySize) {
  const std::size_t n = image.BufferCount();
  std::uint32_t w = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const LogBufferEntry e = image.Entry(i);
    w += static_cast<std::uint32_t>(e.weight) * kRates[e.rateCode];
  }
  const std::uint32_t f = static_cast<std::uint32_t>(memorySize) * kMemoryUnit - kPageSize;
  std::uint32_t p = kPageSize;
  for (std::size_t i = 0; i < n; ++i) {
    LogBufferEntry e = image.Entry(i);
    e.start = e.end = PositionOf(p);
    image.SetEntry(i, e);
    // Double precision in this order, then truncated: the layout the LCU's other tools make.
    const std::uint32_t weighted = static_cast<std::uint32_t>(e.weight) * kRates[e.rateCode];
    const double share = w == 0 ? 0.0 : static_cast<double>(weighted) * static_cast<double>(f) / w * 0.25;
    p += 4 * static_cast<std::uint32_t>(share);
  }
  LogBufferEntry marker = image.Entry(n);
  marker.start = marker.end = PositionOf(p);
  image.SetEntry(n, marker);
  const std::uint32_t first = Distance(image.Entry(0).start, image.Entry(1).start);
  image.SetU16(hdr::kFirstBufferSize, static_cast<std::uint16_t>((first >> 8) & 0xFFFF));
}

std::optional<std::string_view> ValidateUploadImage(const CalibrationImage& image) {
  const std::size_t n = image.BufferCount();
  if (n > LoggerHeader::MaxBufferCount(hdr::kChannelNames)) return msg::kCalibrationImageInvalid;
  for (std::size_t i = 0; i < n; ++i)
    if (image.Entry(i).rateCode >= kRates.size()) return msg::kCalibrationImageInvalid;
  return std::nullopt;
}

std::optional<std::string_view> CheckUploadOnto(const CalibrationImage& image, const LoggerHeader& lcu) {
  if (const auto error = ValidateUploadImage(image)) return error;
  const std::uint16_t memorySize = lcu.MemorySize();
  if (memorySize == 0 || memorySize > kMaxMemorySize) return msg::kLoggerHeaderInvalid;
  return std::nullopt;
}

CommandResult UploadConfiguration(CommandContext& ctx, CalibrationImage& image, UploadMode mode) {
  if (const auto error = ValidateUploadImage(image)) {
    ctx.prompter.Error(*error);
    return CommandResult::kFailed;
  }
  LoggerHeader lcu;
  if (!ReadLoggerHeader(ctx.device, lcu.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadHeaderDot, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }
  if (const auto error = CheckUploadOnto(image, lcu)) {
    ctx.prompter.Error(*error);
    return CommandResult::kFailed;
  }
  return UploadConfigurationOnto(ctx, image, mode, lcu);
}

CommandResult UploadConfigurationOnto(CommandContext& ctx, CalibrationImage& image, UploadMode mode,
                                      const LoggerHeader& lcu) {
  const std::uint16_t memorySize = lcu.MemorySize();
  if (mode == UploadMode::kSendConfig && lcu.DataPresent() != 0 && !ctx.prompter.AskQuestion(msg::kLcuContainsData))
    return CommandResult::kDeclined;

  LayOutBuffers(image, memorySize);

  for (const std::size_t o : {hdr::kSession, hdr::kOuting, hdr::kPaceLaps, hdr::kLogbook98}) CarryU16(lcu, image, o);
  for (const std::size_t o :
       {hdr::kLogbook80, hdr::kLogbookResetTime, hdr::kLogbookResetTime + 4, hdr::kLogbook90, hdr::kLogbook94})
    CarryU32(lcu, image, o);
  CopyBytes(lcu, image, hdr::kLogbookFirstBlock, 32);
  CopyBytes(lcu, image, hdr::kLogbookSecondBlock, 96);

  image.SetU32(hdr::kDataPresent, 0);
  image.SetU32(hdr::kCleared44, 0);
  image.SetU16(hdr::kWrapFlag, 0);
  image.SetU16(hdr::kLapsSinceReset, 0);
  image.SetU32(hdr::kCleared52, 0);

  if (mode == UploadMode::kReset) {
    image.SetU16(hdr::kLapBase, static_cast<std::uint16_t>(lcu.U16(hdr::kLapsSinceReset) + lcu.U16(hdr::kLapBase)));
    image.SetU32(hdr::kLogbookTotal, lcu.U32(hdr::kCarryCount) + lcu.U32(hdr::kLogbookTotal));
    CarryQmt(lcu, image);
  } else {
    CarryU16(lcu, image, hdr::kLapBase);
    CarryU32(lcu, image, hdr::kLogbookTotal);
    if (ctx.app.m_bPreserveQmt) CarryQmt(lcu, image);
  }

  if (!WriteLoggerHeader(ctx.device, image.Bytes())) {
    ShowSystemError(ctx.prompter, msg::kFailedToUploadConfiguration, ctx.device.LastErrorText());
    return CommandResult::kFailed;
  }

  Profile profile(ctx.store);
  std::int32_t stamp = profile.GetProfileInt(reg::kChannelData, reg::kConfigStamp, 0);
  stamp = static_cast<std::int32_t>(static_cast<std::uint32_t>(stamp) + 1u);
  if (stamp == 0) stamp = 1;
  profile.WriteProfileInt(reg::kChannelData, reg::kConfigStamp, stamp);

  const std::uint16_t lcuNumber = lcu.LcuNumber();
  for (int slot = 1; slot <= reg::kSlotCount; ++slot) {
    const std::string key = SlotKey(slot);
    if (ParseDecimalInt(RegReadString(ctx.store, "", key, reg::kSerial, "")) != lcuNumber) continue;
    // Only an existing slot key is written; a missing one is skipped silently.
    if (!ctx.store.KeyExists(key)) continue;
    ctx.store.WriteString(key, reg::kMemory, std::to_string(memorySize));
  }
  return CommandResult::kDone;
}

}  // namespace lcu
