#include "core/channels/calibration_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "core/app/messages.h"
#include "core/host/default_paths.h"
#include "core/host/registry.h"
#include "core/host/regular_file.h"
#include "core/host/whole_file_save.h"
#include "core/util/decimal_text.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {

std::string CalibrationFileName(int slot) { return "@LCU" + std::to_string(slot) + ".cal"; }

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Fills the image from the file; the reason when that is not possible.
std::optional<std::string> ReadCalibrationFile(const std::string& path, CalibrationImage& image) {
  if (std::optional<std::string> refusal = NotRegularFileReason(path)) return refusal;
  errno = 0;
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::generic_category().message(errno != 0 ? errno : ENOENT);
  const auto bytes = image.Bytes();
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size()) return std::nullopt;
  if (std::ferror(file.get())) return std::generic_category().message(errno != 0 ? errno : EIO);
  return std::string(msg::kCalibrationFileTooShort);
}

}  // namespace

int RegisteredSlot(const SettingsStore& store, std::uint16_t lcuNumber) {
  for (int slot = 1; slot <= reg::kSlotCount; ++slot) {
    const std::string serial = RegReadString(store, "", SlotKey(slot), reg::kSerial, "");
    if (ParseDecimalInt(serial) == lcuNumber) return slot;
  }
  return 0;
}

int FindLcuSlot(const SettingsStore& store, std::uint16_t lcuNumber) {
  const int slot = RegisteredSlot(store, lcuNumber);
  return slot != 0 ? slot : 1;
}

std::string SlotCalibrationPath(const SettingsStore& store, int slot) {
  return JoinPath(SetupDirectory(store), CalibrationFileName(slot));
}

std::string GetCalibrationPath(const SettingsStore& store, std::uint16_t lcuNumber) {
  const std::string path = SlotCalibrationPath(store, FindLcuSlot(store, lcuNumber));
  std::error_code ec;
  if (std::filesystem::exists(Utf8Path(path), ec)) return path;
  return SlotCalibrationPath(store, 1);
}

bool LoadCalibration(const SettingsStore& store, std::uint16_t lcuNumber, CalibrationImage& image) {
  return !ReadCalibrationFile(GetCalibrationPath(store, lcuNumber), image);
}

bool LoadCalibration(const SettingsStore& store, std::uint16_t lcuNumber, CalibrationImage& image,
                     Prompter& prompter, std::string_view failureText) {
  const std::string path = GetCalibrationPath(store, lcuNumber);
  const std::optional<std::string> failure = ReadCalibrationFile(path, image);
  if (!failure) return true;
  // Loading the channels' calibration with no file there is a first run: say where the
  // setup goes.
  std::error_code ec;
  const bool firstRun = failureText == msg::kCouldNotLoadCalibration && !std::filesystem::exists(Utf8Path(path), ec);
  ShowFileError(prompter, failureText, path, firstRun ? *failure + "\n" + std::string(msg::kCopySetupHint) : *failure);
  return false;
}

bool SaveCalibration(FileSystem& files, const SettingsStore& store, std::uint16_t lcuNumber,
                     const CalibrationImage& image, Prompter& prompter) {
  const std::string path = GetCalibrationPath(store, lcuNumber);
  const SaveOutcome saved = SaveWholeFile(files, path, image.Bytes());
  if (!saved.Saved()) ShowFileError(prompter, msg::kFailedToSaveCalibrationFile, path, saved.reason);
  return saved.Saved();
}

std::uint16_t StatusLcuNumber(const CUsbDevice& device) { return le::U16(device.m_status, hdr::kLcuNumber); }

CommandResult OnRefreshCalibration(CommandContext& ctx) {
  return LoadCalibration(ctx.store, StatusLcuNumber(ctx.device), ctx.app.m_calibration, ctx.prompter,
                         msg::kCouldNotLoadCalibration)
             ? CommandResult::kDone
             : CommandResult::kFailed;
}

}  // namespace lcu
