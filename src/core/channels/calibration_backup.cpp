#include "core/channels/calibration_backup.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "core/host/default_paths.h"
#include "core/host/file_closer.h"

namespace lcu {

namespace {

constexpr std::size_t kCopyChunk = 65536;

std::string ErrorText(int error) { return std::generic_category().message(error); }

bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(Utf8Path(path), ec);
}

// Copies a file whole over another, in chunks, so that a large file costs no more memory
// than a small one; the target is replaced only once the copy is on disk.
std::optional<BackupFailure> CopyWhole(FileSystem& files, const std::string& from, const std::string& to) {
  errno = 0;
  const CFile in(std::fopen(from.c_str(), "rb"));
  if (!in) return BackupFailure{from, ErrorText(errno != 0 ? errno : ENOENT)};
  std::string reason;
  const std::unique_ptr<OutputFile> out = files.Create(to, CreateMode::kReplace, reason);
  if (!out) return BackupFailure{to, reason};
  std::vector<std::uint8_t> chunk(kCopyChunk);
  for (;;) {
    errno = 0;
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), in.get());
    if (got == 0 && std::ferror(in.get())) {
      const int error = errno != 0 ? errno : EIO;
      out->Close();
      return BackupFailure{from, ErrorText(error)};
    }
    if (got == 0) break;
    if (!out->Write(std::span(chunk).first(got))) {
      const std::string text = out->ErrorText();
      out->Close();
      return BackupFailure{to, text};
    }
  }
  if (!out->Commit()) return BackupFailure{to, out->ErrorText()};
  return std::nullopt;
}

std::optional<BackupFailure> Remove(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(Utf8Path(path), ec);
  if (ec) return BackupFailure{path, ec.message()};
  return std::nullopt;
}

}  // namespace

std::string CalibrationBackupPath(const std::string& path, int generation) {
  return path + ".bak" + (generation > 1 ? std::to_string(generation) : std::string());
}

bool HasCalibrationBackup(const std::string& path) { return IsRegularFile(CalibrationBackupPath(path, 1)); }

std::optional<BackupFailure> KeepCalibrationBackup(FileSystem& files, const std::string& path) {
  if (!IsRegularFile(path)) return std::nullopt;
  for (int generation = kCalibrationBackups; generation > 1; --generation) {
    const std::string newer = CalibrationBackupPath(path, generation - 1);
    if (!IsRegularFile(newer)) continue;
    if (auto failure = CopyWhole(files, newer, CalibrationBackupPath(path, generation))) return failure;
  }
  return CopyWhole(files, path, CalibrationBackupPath(path, 1));
}

std::optional<BackupFailure> RestoreCalibrationBackup(FileSystem& files, const std::string& path) {
  if (auto failure = CopyWhole(files, CalibrationBackupPath(path, 1), path)) return failure;
  for (int generation = 1; generation < kCalibrationBackups; ++generation) {
    const std::string older = CalibrationBackupPath(path, generation + 1);
    if (!IsRegularFile(older)) return Remove(CalibrationBackupPath(path, generation));
    if (auto failure = CopyWhole(files, older, CalibrationBackupPath(path, generation))) return failure;
  }
  return Remove(CalibrationBackupPath(path, kCalibrationBackups));
}

}  // namespace lcu
