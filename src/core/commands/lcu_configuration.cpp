#include "core/commands/lcu_configuration.h"

#include <cstdio>
#include <utility>

#include "core/app/command_guard.h"
#include "core/logger/logger_header.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"
#include "core/util/trim_trailing_blanks.h"

namespace lcu {

namespace {

constexpr unsigned kKibPerMemoryUnit = kMemoryUnit / 1024;
// The dialog's text buffers hold 80 characters with the terminator.
constexpr std::size_t kTextBuffer = 80;

using Block = std::array<std::uint8_t, kBlockSize>;

// A fixed-length text of the identification block: ended at its first NUL, trailing blanks
// removed. Offsets are those of the header; the block starts at header 0x100.
std::string IdentificationText(const Block& block, std::size_t headerOffset, std::size_t length) {
  const std::size_t at = headerOffset - hdr::kConfigId;
  std::string text;
  for (std::size_t i = at; i < at + length && block[i] != 0; ++i) text += static_cast<char>(block[i]);
  TrimTrailingBlanks(text);
  return text;
}

}  // namespace

CLcuConfg::CLcuConfg(CommandContext& ctx) {
  const CommandLease run = BeginLcuCommand(ctx, OfflineForm::kFullStop);
  if (!run) {
    m_bReady = 0;
    return;
  }
  Block identification{};
  if (!ctx.device.VendorRead(LCU_READ_BLOCK, kIdentificationAddress, 0, kBlockSize, identification)) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadLcu, ctx.device.LastErrorText());
    m_bReady = 0;
    return;
  }
  Block checksum{};
  if (!ctx.device.VendorRead(LCU_READ_BLOCK, kChecksumAddress, 0, kBlockSize, checksum)) {
    ShowSystemError(ctx.prompter, msg::kFailedToReadLcu, ctx.device.LastErrorText());
    m_bReady = 0;
    return;
  }
  const auto& status = ctx.device.m_status;
  LcuConfigurationValues& v = m_values;
  v.configId = IdentificationText(identification, hdr::kConfigId, hdr::kConfigIdLength);
  v.version = IdentificationText(identification, hdr::kConfigVersion, hdr::kConfigVersionLength);
  v.checksum = le::U16(checksum, 0);
  v.firmware = le::U16(status, hdr::kFirmwareVersion);
  v.lcuNumber = le::U16(status, hdr::kLcuNumber);
  ctx.device.GetClock(v.clockHours, v.clockMinutes);
  v.memoryKib = le::U16(status, hdr::kMemorySize) * kKibPerMemoryUnit;
  v.stbc = le::U16(status, hdr::kStbc);

  m_szTexts[kConfigIdRow] = v.configId;
  m_szTexts[kVersionRow] = v.version;
  std::array<char, kTextBuffer> text{};
  const auto keep = [&](LcuConfigurationRow row) { m_szTexts[row] = text.data(); };
  std::snprintf(text.data(), text.size(), "%4.4XH", static_cast<unsigned>(v.checksum));
  keep(kChecksumRow);
  std::snprintf(text.data(), text.size(), "%hu.0", v.firmware);
  keep(kFirmwareRow);
  std::snprintf(text.data(), text.size(), "%hu", v.lcuNumber);
  keep(kSerialRow);
  std::snprintf(text.data(), text.size(), "%hu:%hu", v.clockHours, v.clockMinutes);
  keep(kClockRow);
  std::snprintf(text.data(), text.size(), "%u", static_cast<unsigned>(v.memoryKib));
  keep(kMemoryRow);
  std::snprintf(text.data(), text.size(), "%hu", v.stbc);
  keep(kStbcRow);
}

std::vector<std::string> CLcuConfg::Lines() const {
  std::vector<std::string> lines;
  if (!IsReady()) return lines;
  for (std::size_t row = 0; row < kLcuConfigurationRows; ++row) {
    std::string line(kLcuConfigurationLabels[row]);
    line += ' ';
    line += m_szTexts[row];
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace lcu
