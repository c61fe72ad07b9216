// Output files that must reach the disk: data files, setup extracts and memory dumps. The
// core only sees this interface; the programs use the host's implementation (which can sync
// a file and its folder to disk), tests may inject a full disk.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

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
  /// Flushes, syncs the file to disk, closes it and syncs its folder; false when any step
  /// failed. After it the file is closed either way.
  virtual bool Commit() = 0;
  /// Closes the file without any guarantee (failure paths).
  virtual void Close() = 0;
  /// The system's text for the last failure.
  virtual std::string ErrorText() const = 0;
};

enum class CreateMode {
  kTruncate,   // create, or truncate an existing file
  kExclusive,  // create only if no file of that name exists
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  /// Opens a new output file; null when it could not be created (for kExclusive also when
  /// the name is taken: Exists then tells the two apart).
  virtual std::unique_ptr<OutputFile> Create(const std::string& path, CreateMode mode) = 0;
  /// True when a file or folder of that name exists.
  virtual bool Exists(const std::string& path) const = 0;
};

/// A FileSystem over the C++ standard library: it cannot sync to disk, so Commit only
/// flushes and closes. For tests and hosts without a better one.
class StdFileSystem final : public FileSystem {
 public:
  std::unique_ptr<OutputFile> Create(const std::string& path, CreateMode mode) override;
  bool Exists(const std::string& path) const override;
};

}  // namespace lcu
