#include "firmware/hex_file_upload.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <span>
#include <system_error>

#include "app/logger_transfers.h"
#include "app/messages.h"
#include "app/vendor_request.h"
#include "firmware/hex_image.h"

namespace lcu {

namespace {

constexpr std::size_t kFirstReadSize = std::size_t{64} << 10;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

enum class ReadOutcome { kRead, kNotOpened, kNoMemory };

// A file's bytes, at most limit + 1 of them, so that the reader can tell a file that is too
// large from one that just fits. Allocation failures are reported, not thrown.
struct FileBytes {
  std::unique_ptr<std::uint8_t[]> data;
  std::size_t size = 0;
  int error = 0;  // the system's error when the file could not be read

  std::span<const std::uint8_t> Bytes() const { return {data.get(), size}; }
};

// Reads the file in growing pieces rather than trusting a size reported beforehand, so a
// pipe or a file that grows meanwhile is bounded in the same way.
ReadOutcome ReadBounded(const std::string& path, std::size_t limit, FileBytes& out) {
  errno = 0;
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
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
  if (ctx.app.m_bDownloadRunning) {
    ctx.prompter.Error(msg::kDownloadInProgress);
    return CommandResult::kFailed;
  }
  if (!ctx.device.m_bOnline) {
    ctx.prompter.Error(msg::kLcuOffline);
    return CommandResult::kFailed;
  }
  return CommandResult::kDone;
}

CommandResult LoadHexFile(CommandContext& ctx, const std::string& path, UploadNotice& notice) {
  if (const CommandResult checked = CheckLoadHexFile(ctx); checked != CommandResult::kDone) return checked;

  FileBytes file;
  switch (ReadBounded(path, kHexFileLimit, file)) {
    case ReadOutcome::kNotOpened:
      ShowFileError(ctx.prompter, msg::kFailedToOpenHexFile, path, std::generic_category().message(file.error));
      return CommandResult::kFailed;
    case ReadOutcome::kNoMemory:
      ctx.prompter.Error(msg::kFailedToAllocateDumpMemory);
      return CommandResult::kFailed;
    case ReadOutcome::kRead:
      break;
  }
  const std::unique_ptr<std::uint8_t[]> memory(new (std::nothrow) std::uint8_t[kFirmwareImageSize]);
  if (!memory) {
    ctx.prompter.Error(msg::kFailedToAllocateDumpMemory);
    return CommandResult::kFailed;
  }
  const FirmwareImageSpan image(memory.get(), kFirmwareImageSize);
  const HexReadResult parsed = ReadHexImage(file.Bytes(), image);
  file = {};
  if (!parsed.Ok()) {
    ctx.prompter.Error(HexErrorText(parsed));
    return CommandResult::kFailed;
  }

  notice.Show();
  if (!ctx.device.VendorWrite(LCU_LOAD_FIRMWARE, kFirmwareBase, kLoadFirmwareKey)) {
    ShowSystemError(ctx.prompter, msg::kFailedToSendCommand, ctx.device.LastErrorText());
    notice.Close();
    return CommandResult::kFailed;
  }
  if (!BulkWriteAll(ctx.device, image)) {
    ShowSystemError(ctx.prompter, msg::kFailedToWriteToLogger, ctx.device.LastErrorText());
    notice.Close();
    return CommandResult::kFailed;
  }
  notice.Close();
  return CommandResult::kDone;
}

CommandResult OnLoadHexFile(CommandContext& ctx, const std::string& path) {
  SilentUploadNotice notice;
  return LoadHexFile(ctx, path, notice);
}

}  // namespace lcu
