// A FileSystem in memory for command tests: it keeps each file's bytes and whether the file
// was committed, and can refuse to create a file, run out of space after a number of bytes
// like a full disk, or fail or delay the commit. A replacement lives under its own name until
// its commit moves it over the file it replaces.
#pragma once

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "core/host/file_system.h"

namespace lcu::test {

struct MemoryFileRecord {
  std::vector<std::uint8_t> bytes;
  bool committed = false;
  bool closed = false;
};

class MemoryFileSystem : public FileSystem {
 public:
  /// Paths whose creation (or whose replacement's creation) fails.
  std::set<std::string> failCreate;
  /// Total bytes the disk takes across all files; a write that would exceed it stores what
  /// fits and fails.
  std::optional<std::size_t> spaceLeft;
  /// Makes every opening of a file to add to it fail, as a file locked meanwhile would.
  bool failAppend = false;
  /// Makes every commit fail (the file is closed all the same).
  bool failCommit = false;
  /// How long each commit takes, as the sync of a large file on a slow disk.
  std::chrono::milliseconds commitDelay{0};
  /// Folders that exist besides the files.
  std::set<std::string> folders;

  std::map<std::string, MemoryFileRecord> files;

  using FileSystem::Create;
  std::unique_ptr<OutputFile> Create(const std::string& path, CreateMode mode, std::string& reason) override {
    if (failCreate.count(path)) {
      reason = Text(EACCES);
      return nullptr;
    }
    if (mode == CreateMode::kExclusive && Exists(path)) {
      reason = Text(EEXIST);
      return nullptr;
    }
    if (mode == CreateMode::kAppend) {
      if (failAppend || !files.count(path)) {
        reason = Text(failAppend ? EACCES : folders.count(path) ? EISDIR : ENOENT);
        return nullptr;
      }
      MemoryFileRecord& record = files[path];
      record.closed = false;
      record.committed = false;
      return std::make_unique<File>(*this, path, std::string());
    }
    std::string name = path;
    std::string replaces;
    if (mode == CreateMode::kReplace) {
      const std::string number = std::to_string(++m_replacements);
      name = ReplacementPrefix(path) + std::string(6 - std::min<std::size_t>(number.size(), 6), '0') + number;
      replaces = path;
    }
    files[name] = MemoryFileRecord{};
    return std::make_unique<File>(*this, name, replaces);
  }
  bool Exists(const std::string& path) const override { return files.count(path) || folders.count(path); }
  bool CreateFolders(const std::string& path, std::string&) override {
    folders.insert(path);
    return true;
  }
  std::optional<FileStart> ReadStart(const std::string& path, std::size_t limit, std::string& reason) const override {
    const auto it = files.find(path);
    if (it == files.end()) {
      reason = Text(folders.count(path) ? EISDIR : ENOENT);
      return std::nullopt;
    }
    const std::vector<std::uint8_t>& bytes = it->second.bytes;
    return FileStart{{bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(limit, bytes.size()))},
                     bytes.size()};
  }

  /// The file that was committed at the path, or null.
  const MemoryFileRecord* Committed(const std::string& path) const {
    const auto it = files.find(path);
    return it != files.end() && it->second.committed ? &it->second : nullptr;
  }

  /// A committed file of the given bytes at the path, as an earlier save would leave it.
  void Put(const std::string& path, std::vector<std::uint8_t> bytes) {
    files[path] = MemoryFileRecord{std::move(bytes), true, true};
  }

  static std::string Text(int error) { return std::generic_category().message(error); }

 private:
  class File : public OutputFile {
   public:
    File(MemoryFileSystem& fs, std::string name, std::string replaces)
        : m_fs(fs), m_name(std::move(name)), m_replaces(std::move(replaces)) {}
    ~File() override { Close(); }
    bool Write(std::span<const std::uint8_t> bytes) override { return WriteAt(Record().bytes.size(), bytes); }
    bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
      if (m_done || Record().closed) return Fail(EBADF);
      MemoryFileRecord& record = Record();
      std::size_t count = bytes.size();
      const bool fits = !m_fs.spaceLeft || count <= *m_fs.spaceLeft;
      if (!fits) count = *m_fs.spaceLeft;
      if (m_fs.spaceLeft) *m_fs.spaceLeft -= count;
      const auto at = static_cast<std::size_t>(offset);
      if (record.bytes.size() < at + count) record.bytes.resize(at + count);
      std::copy_n(bytes.begin(), count, record.bytes.begin() + static_cast<std::ptrdiff_t>(at));
      return fits || Fail(ENOSPC);
    }
    bool Truncate(std::uint64_t size) override {
      if (m_done) return Fail(EBADF);
      Record().bytes.resize(static_cast<std::size_t>(size));
      return true;
    }
    bool Commit() override {
      std::this_thread::sleep_for(m_fs.commitDelay);
      if (m_done || Record().closed) return Fail(EBADF);
      MemoryFileRecord& record = Record();
      record.closed = true;
      record.committed = !m_fs.failCommit;
      if (!record.committed) {
        Close();
        return Fail(EIO);
      }
      if (!m_replaces.empty()) {
        m_fs.files[m_replaces] = record;
        m_fs.files.erase(m_name);
        m_replaces.clear();
      }
      m_done = true;
      return true;
    }
    void Close() override {
      if (m_done) return;
      m_done = true;
      if (!m_replaces.empty()) {
        m_fs.files.erase(m_name);
        return;
      }
      Record().closed = true;
    }
    std::string ErrorText() const override { return Text(m_error); }

   private:
    MemoryFileRecord& Record() { return m_fs.files[m_name]; }
    bool Fail(int error) {
      m_error = error;
      return false;
    }

    MemoryFileSystem& m_fs;
    std::string m_name;
    std::string m_replaces;
    bool m_done = false;
    int m_error = 0;
  };

  int m_replacements = 0;
};

}  // namespace lcu::test
