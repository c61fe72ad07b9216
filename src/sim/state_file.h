// A block of the simulated LCU's state: held in memory, or, when a state folder is used,
// a file of its own mapped shared into the process. Through the shared mapping every change
// is in the system's file cache the moment it is made, so a killed program leaves the file
// as the LCU was, and the file's pages belong to the cache rather than to the program (a
// data memory of hundreds of MiB is not read whole into the program's memory).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace lcu::sim {

class StateFile {
 public:
  StateFile() = default;
  ~StateFile();
  StateFile(const StateFile&) = delete;
  StateFile& operator=(const StateFile&) = delete;

  std::span<const std::uint8_t> View() const { return m_view; }
  std::span<std::uint8_t> MutableView() { return m_view; }
  std::size_t Size() const { return m_view.size(); }
  /// True when the contents live in a mapped file.
  bool Mapped() const { return m_mapping != nullptr; }

  /// Replaces the contents with bytes held in memory; a file attached later (Create)
  /// receives them whole. Detaches an attached file.
  void Assign(std::vector<std::uint8_t> bytes);
  /// Maps an existing file. Returns the reason when that fails.
  std::string Load(const std::filesystem::path& path);
  /// Writes the contents to a new file (through a temporary name, so that a half-written
  /// file never carries the final name) and maps it in their place. Returns the reason on
  /// failure.
  std::string Create(const std::filesystem::path& path);

  std::uint8_t Get(std::size_t offset) const { return m_view[offset]; }
  void Set(std::size_t offset, std::uint8_t value) { m_view[offset] = value; }
  void Write(std::size_t offset, std::span<const std::uint8_t> bytes);
  /// Callers name the ranges they change through MutableView and end each request with
  /// Commit. The shared mapping is the file itself, so there is nothing to record or write
  /// back, and Commit cannot fail.
  void MarkDirty(std::size_t, std::size_t) {}
  bool Commit() const { return true; }

 private:
  void Unmap();

  std::vector<std::uint8_t> m_memory;
  void* m_mapping = nullptr;
  std::size_t m_mappedSize = 0;
  std::span<std::uint8_t> m_view;
};

}  // namespace lcu::sim
