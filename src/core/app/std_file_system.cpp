#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

#include "app/file_system.h"

namespace lcu {

namespace {

class StdOutputFile final : public OutputFile {
 public:
  StdOutputFile(std::FILE* file, std::string path) : m_file(file), m_path(std::move(path)) {}
  ~StdOutputFile() override { Close(); }

  bool Write(std::span<const std::uint8_t> bytes) override {
    if (!m_file || std::fseek(m_file, 0, SEEK_END) != 0) return Fail();
    return Put(bytes);
  }
  bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    if (!m_file || offset > static_cast<std::uint64_t>(std::numeric_limits<long>::max())) return Fail();
    if (std::fseek(m_file, static_cast<long>(offset), SEEK_SET) != 0) return Fail();
    return Put(bytes);
  }
  bool Truncate(std::uint64_t size) override {
    if (!m_file || std::fflush(m_file) != 0) return Fail();
    std::error_code ec;
    std::filesystem::resize_file(m_path, size, ec);
    if (ec) {
      m_error = ec.value();
      return false;
    }
    return true;
  }
  bool Commit() override {
    if (!m_file) return Fail();
    const bool flushed = std::fflush(m_file) == 0;
    if (!flushed) m_error = errno;
    const bool closed = std::fclose(m_file) == 0;
    if (!closed && flushed) m_error = errno;
    m_file = nullptr;
    return flushed && closed;
  }
  void Close() override {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
  }
  std::string ErrorText() const override { return std::generic_category().message(m_error); }

 private:
  bool Put(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return true;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) return Fail();
    return true;
  }
  bool Fail() {
    m_error = errno != 0 ? errno : EIO;
    return false;
  }

  std::FILE* m_file;
  std::string m_path;
  int m_error = 0;
};

}  // namespace

std::unique_ptr<OutputFile> StdFileSystem::Create(const std::string& path, CreateMode mode) {
#if defined(_WIN32)
  // The Windows C runtime ignores the "x" of "wbx" and would truncate an existing file: an
  // exclusive create is refused there, and the programs use the host's native files.
  if (mode == CreateMode::kExclusive) {
    errno = ENOSYS;
    return nullptr;
  }
#endif
  std::FILE* file = std::fopen(path.c_str(), mode == CreateMode::kExclusive ? "wbx" : "wb");
  if (!file) return nullptr;
  return std::make_unique<StdOutputFile>(file, path);
}

bool StdFileSystem::Exists(const std::string& path) const {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

}  // namespace lcu
