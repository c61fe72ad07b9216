#include "core/commands/hex_file_upload.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <span>
#include <system_error>

#include "core/app/command_guard.h"
#include "core/commands/maintenance_blocks.h"
#include "core/host/file_closer.h"
#include "core/host/regular_file.h"
#include "core/link/lcu_protocol.h"
#include "core/link/logger_transfers.h"
#include "core/messages/message_text.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {

constexpr std::size_t kFirstReadSize = std::size_t{64} << 10;

enum class ReadOutcome { kRead, kNotOpened, kNoMemory };

// A file's bytes, at most limit + 1 of them, so that the reader can tell a file that is too
// large from one that just fits. Allocation failures are reported, not thrown.
struct FileBytes {
  std::unique_ptr<std::uint8_t[]> data;
  std::size_t size = 0;
  int error = 0;       // the system's error when the file could not be read
  std::string reason;  // or the reason it was not read at all

  std::span<const std::uint8_t> Bytes() const { return {data.get(), size}; }
};

// Reads the file in growing pieces rather than trusting a size reported beforehand, so a
// pipe or a file that grows meanwhile is bounded in the same way.
ReadOutcome ReadBounded(const std::string& path, std::size_t limit, FileBytes& out) {
  if (std::optional<std::string> refusal = NotRegularFileReason(path)) {
    out.reason = std::move(*refusal);
    return ReadOutcome::kNotOpened;
  }
  errno = 0;
  const CFile file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    out.error = errno != 0 ? errno : ENOENT;
    return ReadOutcome::kNotOpened;
  }
  const std::size_t most = limit + 1;
  std::size_t capacity = 0;
  for (;;) {
    if (out.size == capacity) {
      if (capacity == most) return ReadOutcome::kRead;
      const std::size_t grown = std::min(most, std::max(kFirstReadSize, capacity * 2));
      std::unique_ptr<std::uint8_t[]> bigger(new (std::nothrow) std::uint8_t[grown]);
      if (!bigger) return ReadOutcome::kNoMemory;
      std::copy_n(out.data.get(), out.size, bigger.get());
      out.data = std::move(bigger);
      capacity = grown;
    }
    errno = 0;
    const std::size_t got = std::fread(out.data.get() + out.size, 1, capacity - out.size, file.get());
    out.size += got;
    if (got == 0 && std::ferror(file.get())) {
      out.error = errno != 0 ? errno : EIO;
      return ReadOutcome::kNotOpened;
    }
    if (got == 0) return ReadOutcome::kRead;
  }
}

}  // namespace

CommandResult CheckLoadHexFile(CommandContext& ctx) {
  // A check only: the lease goes back at once; the load takes its own.
  return BeginLcuCommand(ctx, OfflineForm::kPlain) ? CommandResult::kDone : CommandResult::kFailed;
}

std::uint16_t FirmwareImage::Checksum() const { return le::U16(Span(), kFirmwareChecksumOffset); }

std::optional<FirmwareImage> ReadFirmwareFile(CommandContext& ctx, const std::string& path) {
  FileBytes file;
  switch (ReadBounded(path, kHexFileLimit, file)) {
    case ReadOutcome::kNotOpened:
      ShowFileError(ctx.prompter, msg::kFailedToOpenHexFile, path,
                    file.reason.empty() ? std::generic_category().message(file.error) : file.reason);
      return std::nullopt;
    case ReadOutcome::kNoMemory: ctx.prompter.Error(msg::kFailedToAllocateDumpMemory); return std::nullopt;
    case ReadOutcome::kRead: break;
  }
  FirmwareImage image{std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[kFirmwareImageSize]), 0};
  if (!image.bytes) {
    ctx.prompter.Error(msg::kFailedToAllocateDumpMemory);
    return std::nullopt;
  }
  const HexReadResult parsed = ReadHexImage(file.Bytes(), image.Span());
  if (!parsed.Ok()) {
    ctx.prompter.Error(HexErrorText(parsed));
    return std::nullopt;
  }
  image.covered = parsed.covered;
  image.ignoredBelow = parsed.ignoredBelow;
  image.ignoredAbove = parsed.ignoredAbove;
  return image;
}

CommandResult SendFirmwareImage(CommandContext& ctx, const FirmwareImage& image, UploadNotice& notice) {
  notice.Show();
  if (!ctx.device.VendorWrite(LCU_LOAD_FIRMWARE, kFirmwareBase, kFirmwareKey)) {
    ShowSystemError(ctx.prompter, msg::kFailedToSendCommand, ctx.device.LastErrorText());
    notice.Close();
    return CommandResult::kFailed;
  }
  if (!BulkWriteAll(ctx.device, image.Span())) {
    ShowSystemError(ctx.prompter, msg::kFailedToWriteToLogger, ctx.device.LastErrorText());
    notice.Close();
    return CommandResult::kFailed;
  }
  notice.Close();
  return CommandResult::kDone;
}

CommandResult VerifyFirmwareImage(CommandContext& ctx, const FirmwareImage& image) {
  const std::unique_ptr<std::uint8_t[]> program = ReadProgramMemory(ctx);
  if (!program) return CommandResult::kFailed;
  const std::span<const std::uint8_t> window(program.get() + kFirmwareBase, kFirmwareImageSize);
  const FirmwareImageSpan sent = image.Span();
  const auto differs = std::mismatch(sent.begin(), sent.end(), window.begin());
  if (differs.first == sent.end()) return CommandResult::kDone;
  const auto address = static_cast<unsigned>(kFirmwareBase + (differs.first - sent.begin()));
  std::array<char, 8> hex{};
  std::snprintf(hex.data(), hex.size(), "%4.4X", address);
  ctx.prompter.Error(WithText(msg::kProgramMemoryDiffers, hex.data()));
  return CommandResult::kFailed;
}

}  // namespace lcu
