// A block of the simulated LCU's state kept in memory and, when a state folder is used,
// written through to a file of its own: changed byte ranges are collected and written and
// flushed at the end of each request, so a killed program leaves the file as it was after
// the last completed request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace lcu::sim {

class StateFile {
 public:
  StateFile() = default;
  StateFile(const StateFile&) = delete;
  StateFile& operator=(const StateFile&) = delete;

  std::span<const std::uint8_t> View() const { return m_bytes; }
  std::span<std::uint8_t> MutableView() { return m_bytes; }
  std::size_t Size() const { return m_bytes.size(); }

  /// Replaces the contents; a file attached later (Create) receives them whole.
  void Assign(std::vector<std::uint8_t> bytes);
  /// Reads an existing file whole and attaches it. Returns the reason when that fails.
  std::string Load(const std::filesystem::path& path);
  /// Writes the contents to a new file (through a temporary name, so that a half-written
  /// file never carries the final name) and attaches it. Returns the reason on failure.
  std::string Create(const std::filesystem::path& path);

  std::uint8_t Get(std::size_t offset) const { return m_bytes[offset]; }
  void Set(std::size_t offset, std::uint8_t value);
  void Write(std::size_t offset, std::span<const std::uint8_t> bytes);
  /// Records a range changed through MutableView.
  void MarkDirty(std::size_t begin, std::size_t end);

  /// Writes the changed ranges to the attached file and flushes it; true without a file.
  bool Commit();

 private:
  std::vector<std::uint8_t> m_bytes;
  std::fstream m_file;
  bool m_attached = false;
  std::vector<std::pair<std::size_t, std::size_t>> m_dirty;
};

}  // namespace lcu::sim
