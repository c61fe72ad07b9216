#include "core/channels/calibration_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "core/channels/calibration_backup.h"
#include "core/host/default_paths.h"
#include "core/host/file_closer.h"
#include "core/host/registry.h"
#include "core/host/regular_file.h"
#include "core/host/whole_file_save.h"
#include "core/messages/message_text.h"
#include "core/messages/messages.h"
#include "core/util/decimal_text.h"
#include "core/util/little_endian.h"

namespace lcu {

namespace {

std::string CalibrationFileName(int slot) { return "@LCU" + std::to_string(slot) + ".cal"; }

// "LCU 1" for the LCU registered in a slot, "slot 1" when the slot names none.
std::string SlotOwner(const SettingsStore& store, int slot) {
  const std::string serial = RegReadString(store, "", SlotKey(slot), reg::kSerial, "");
  if (serial.empty()) return std::string(msg::kSlotNumbered) + std::to_string(slot);
  return std::string(msg::kLcuNumbered) + std::to_string(ParseDecimalInt(serial));
}

std::string FileNameOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? path : path.substr(separator + 1);
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

CalibrationSource FindCalibration(const SettingsStore& store, std::uint16_t lcuNumber) {
  CalibrationSource source;
  source.lcuNumber = lcuNumber;
  source.registeredSlot = RegisteredSlot(store, lcuNumber);
  source.slot = source.registeredSlot != 0 ? source.registeredSlot : 1;
  source.path = SlotCalibrationPath(store, source.slot);
  std::error_code ec;
  if (!std::filesystem::exists(Utf8Path(source.path), ec)) {
    source.slot = 1;
    source.path = SlotCalibrationPath(store, 1);
  }
  return source;
}

std::string GetCalibrationPath(const SettingsStore& store, std::uint16_t lcuNumber) {
  return FindCalibration(store, lcuNumber).path;
}

std::string ForeignCalibrationText(const SettingsStore& store, const CalibrationSource& source, std::string_view use,
                                   std::string_view file) {
  std::string text = source.registeredSlot == 0 ? WithNumber(msg::kLcuNotRegistered, source.lcuNumber)
                                                : WithText(WithNumber(msg::kLcuHasNoCalibrationFile, source.lcuNumber),
                                                           CalibrationFileName(source.registeredSlot));
  text += WithText(WithText(use, SlotOwner(store, source.slot)), file);
  return text;
}

bool ConfirmCalibrationSource(const SettingsStore& store, const CalibrationSource& source, Prompter& prompter) {
  if (source.IsOwn()) return true;
  return prompter.AskQuestion(ForeignCalibrationText(store, source, msg::kUseCalibrationOf, FileNameOf(source.path)));
}

std::optional<std::string> ReadCalibrationFile(const std::string& path, CalibrationImage& image) {
  if (std::optional<std::string> refusal = NotRegularFileReason(path)) return refusal;
  errno = 0;
  const CFile file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::generic_category().message(errno != 0 ? errno : ENOENT);
  // Read aside: a file that is cut short leaves the image as it was.
  CalibrationImage read;
  const auto bytes = read.Bytes();
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size()) {
    image = read;
    return std::nullopt;
  }
  if (std::ferror(file.get())) return std::generic_category().message(errno != 0 ? errno : EIO);
  return std::string(msg::kCalibrationFileTooShort);
}

bool LoadCalibration(const SettingsStore& store, std::uint16_t lcuNumber, CalibrationImage& image) {
  return !ReadCalibrationFile(GetCalibrationPath(store, lcuNumber), image);
}

namespace {

bool LoadReported(const std::string& path, CalibrationImage& image, Prompter& prompter, std::string_view failureText) {
  const std::optional<std::string> failure = ReadCalibrationFile(path, image);
  if (!failure) return true;
  // Loading the channels' calibration with no file there is a first run: say where the
  // setup goes.
  std::error_code ec;
  const bool firstRun = failureText == msg::kCouldNotLoadCalibration && !std::filesystem::exists(Utf8Path(path), ec);
  ShowFileError(prompter, failureText, path, firstRun ? *failure + "\n" + std::string(msg::kCopySetupHint) : *failure);
  return false;
}

}  // namespace

bool LoadCalibration(const SettingsStore& store, std::uint16_t lcuNumber, CalibrationImage& image, Prompter& prompter,
                     std::string_view failureText) {
  return LoadReported(GetCalibrationPath(store, lcuNumber), image, prompter, failureText);
}

bool LoadAppCalibration(ChannelModel& app, const SettingsStore& store, std::uint16_t lcuNumber, Prompter& prompter,
                        std::string_view failureText, CalibrationNote note) {
  const CalibrationSource source = FindCalibration(store, lcuNumber);
  if (!LoadReported(source.path, app.m_calibration, prompter, failureText)) return false;
  app.m_szCalibrationFile = source.path;
  if (!source.IsOwn() && note == CalibrationNote::kNote)
    prompter.ShowNote(ForeignCalibrationText(store, source, msg::kUsingCalibrationOf, source.path));
  return true;
}

bool SaveCalibration(FileSystem& files, const SettingsStore& store, std::uint16_t lcuNumber,
                     const CalibrationImage& image, Prompter& prompter) {
  const std::string path = GetCalibrationPath(store, lcuNumber);
  if (const std::optional<BackupFailure> failure = KeepCalibrationBackup(files, path)) {
    ShowFileError(prompter, msg::kFailedToSaveCalibrationFile, failure->path, failure->reason);
    return false;
  }
  const SaveOutcome saved = SaveWholeFile(files, path, image.Bytes());
  if (!saved.Saved()) ShowFileError(prompter, msg::kFailedToSaveCalibrationFile, path, saved.reason);
  return saved.Saved();
}

std::uint16_t StatusLcuNumber(const CUsbDevice& device) { return le::U16(device.m_status, hdr::kLcuNumber); }

}  // namespace lcu
