// Backups of calibration files. Before the programs replace a calibration file (zeroing,
// putting an earlier calibration back) the file's content is kept beside it as
// "<name>.bak"; the two kept before move on to "<name>.bak2" and "<name>.bak3", and an older
// one goes. Undo Zeroing puts the newest back and moves the others up, so up to three
// zeroings can be undone one after the other.
#pragma once

#include <optional>
#include <string>

#include "core/host/file_system.h"

namespace lcu {

/// How many earlier versions of a calibration file are kept.
inline constexpr int kCalibrationBackups = 3;

/// The backup of a calibration file: generation 1 is the newest, kCalibrationBackups the
/// oldest.
std::string CalibrationBackupPath(const std::string& path, int generation);

/// Whether a calibration file has a backup to put back.
bool HasCalibrationBackup(const std::string& path);

/// What failed about a backup: the file and the system's reason.
struct BackupFailure {
  std::string path;
  std::string reason;
};

/// Keeps the file's present content as its newest backup, moving the older ones back one
/// generation (the oldest goes). A file that is missing, or is not a regular file, has
/// nothing to keep. Each backup is written whole before it replaces the one before.
std::optional<BackupFailure> KeepCalibrationBackup(FileSystem& files, const std::string& path);

/// Puts the newest backup in the file's place, byte for byte, and moves the older ones up a
/// generation.
std::optional<BackupFailure> RestoreCalibrationBackup(FileSystem& files, const std::string& path);

}  // namespace lcu
