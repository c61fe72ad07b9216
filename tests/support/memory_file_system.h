// A FileSystem in memory for command tests: it keeps each file's bytes and whether the file
// was committed, and can refuse to create a file, run out of space after a number of bytes
// like a full disk, or fail the commit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/file_system.h"

namespace lcu::test {

struct MemoryFileRecord {
  std::vector<std::uint8_t> bytes;
  bool committed = false;
  bool closed = false;
};

class MemoryFileSystem : public FileSystem {
 public:
  /// Paths whose creation fails.
  std::set<std::string> failCreate;
  /// Total bytes the disk takes across all files; a write that would exceed it stores what
  /// fits and fails.
  std::optional<std::size_t> spaceLeft;
  /// Makes every commit fail (the file is closed all the same).
  bool failCommit = false;
  /// Folders that exist besides the files.
  std::set<std::string> folders;

  std::map<std::string, MemoryFileRecord> files;

  std::unique_ptr<OutputFile> Create(const std::string& path, CreateMode mode) override {
    if (failCreate.count(path)) return nullptr;
    if (mode == CreateMode::kExclusive && Exists(path)) return nullptr;
    files[path] = MemoryFileRecord{};
    return std::make_unique<File>(*this, files[path]);
  }
  bool Exists(const std::string& path) const override { return files.count(path) || folders.count(path); }

  /// The file that was committed at the path, or null.
  const MemoryFileRecord* Committed(const std::string& path) const {
    const auto it = files.find(path);
    return it != files.end() && it->second.committed ? &it->second : nullptr;
  }

 private:
  class File : public OutputFile {
   public:
    File(MemoryFileSystem& fs, MemoryFileRecord& record) : m_fs(fs), m_record(record) {}
    bool Write(std::span<const std::uint8_t> bytes) override { return WriteAt(m_record.bytes.size(), bytes); }
    bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
      if (m_record.closed) return false;
      std::size_t count = bytes.size();
      const bool fits = !m_fs.spaceLeft || count <= *m_fs.spaceLeft;
      if (!fits) count = *m_fs.spaceLeft;
      if (m_fs.spaceLeft) *m_fs.spaceLeft -= count;
      const auto at = static_cast<std::size_t>(offset);
      if (m_record.bytes.size() < at + count) m_record.bytes.resize(at + count);
      std::copy_n(bytes.begin(), count, m_record.bytes.begin() + static_cast<std::ptrdiff_t>(at));
      return fits;
    }
    bool Truncate(std::uint64_t size) override {
      m_record.bytes.resize(static_cast<std::size_t>(size));
      return true;
    }
    bool Commit() override {
      if (m_record.closed) return false;
      m_record.closed = true;
      m_record.committed = !m_fs.failCommit;
      return m_record.committed;
    }
    void Close() override { m_record.closed = true; }
    std::string ErrorText() const override { return "No space left on device"; }

   private:
    MemoryFileSystem& m_fs;
    MemoryFileRecord& m_record;
  };
};

}  // namespace lcu::test
