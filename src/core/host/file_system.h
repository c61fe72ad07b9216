// Output files that must reach the disk: data files, setup extracts, memory dumps,
// calibration files and monitor settings files; and the start of a file that is read back
// (a data file's header). The core only sees this interface; the programs use the host's
// implementation (which can sync a file and its folder to disk), tests may inject a full
// disk or files held in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lcu {

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  /// Writes all bytes at the current end of the file; false when any byte was not written.
  virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
  /// Writes all bytes at an offset (the file grows as needed).
  virtual bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
  /// Cuts the file to a length (a failed download keeps only the buffers it finished).
  virtual bool Truncate(std::uint64_t size) = 0;
  /// Flushes, syncs the file to disk, closes it and syncs its folder; a replacement is
  /// renamed over the file it replaces before the folder is synced. False when any step
  /// failed. After it the file is closed either way.
  virtual bool Commit() = 0;
  /// Closes the file without any guarantee (failure paths). A replacement that was not
  /// committed is removed, so the file it was to replace stays as it was.
  virtual void Close() = 0;
  /// The system's text for the last failure.
  virtual std::string ErrorText() const = 0;
};

enum class CreateMode {
  // Create only if no file of that name exists (data files are never replaced).
  kExclusive,
  // Save over a file that may exist: the bytes go to a new file of a name no user file has
  // (".<name>.tmp-XXXXXX" in the same folder), and only Commit puts it in the old file's
  // place. A save that fails anywhere leaves the old file byte for byte.
  kReplace,
  // Add to the end of a regular file that exists (a finished data file that must carry more);
  // fails when there is none. Commit syncs what was added.
  kAppend,
};

/// The first bytes of a file and the size of the whole file.
struct FileStart {
  std::vector<std::uint8_t> bytes;  // at most the limit asked for; fewer when the file is shorter
  std::uint64_t size = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  /// Opens a new output file; null when it could not be created, with the system's reason
  /// (for kExclusive also when the name is taken: Exists then tells the two apart).
  virtual std::unique_ptr<OutputFile> Create(const std::string& path, CreateMode mode, std::string& reason) = 0;
  /// Create for callers that have no use for the reason.
  std::unique_ptr<OutputFile> Create(const std::string& path, CreateMode mode) {
    std::string reason;
    return Create(path, mode, reason);
  }
  /// True when a file or folder of that name exists.
  virtual bool Exists(const std::string& path) const = 0;
  /// Creates a folder and any missing parents; true when it exists afterwards, else false
  /// with the system's reason.
  virtual bool CreateFolders(const std::string& path, std::string& reason) = 0;
  /// Reads up to limit bytes from the start of a regular file, and its size; nullopt with
  /// the system's reason (or that it is not a regular file) when it cannot be read.
  virtual std::optional<FileStart> ReadStart(const std::string& path, std::size_t limit, std::string& reason) const = 0;
};

/// The first part of a replacement's name: the folder of path and "." + its name + ".tmp-";
/// the file systems add six characters that make it unique.
std::string ReplacementPrefix(const std::string& path);

/// A FileSystem over the C++ standard library: it cannot sync to disk, so Commit only
/// flushes, closes and renames. For tests and hosts without a better one.
class StdFileSystem final : public FileSystem {
 public:
  using FileSystem::Create;
  std::unique_ptr<OutputFile> Create(const std::string& path, CreateMode mode, std::string& reason) override;
  bool Exists(const std::string& path) const override;
  bool CreateFolders(const std::string& path, std::string& reason) override;
  std::optional<FileStart> ReadStart(const std::string& path, std::size_t limit, std::string& reason) const override;
};

}  // namespace lcu
