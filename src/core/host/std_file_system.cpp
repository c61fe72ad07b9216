#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <system_error>

#include "core/host/file_system.h"
#include "core/host/regular_file.h"

namespace lcu {

namespace {

constexpr int kReplacementAttempts = 100;
constexpr std::string_view kNameCharacters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

int ErrnoOr(int fallback) { return errno != 0 ? errno : fallback; }

std::string ErrorTextOf(int error) { return std::generic_category().message(error); }

class StdOutputFile final : public OutputFile {
 public:
  // replaces: the file a committed replacement is renamed over; empty for other files.
  StdOutputFile(std::FILE* file, std::string path, std::string replaces)
      : m_file(file), m_path(std::move(path)), m_replaces(std::move(replaces)) {}
  ~StdOutputFile() override { Close(); }
  StdOutputFile(const StdOutputFile&) = delete;
  StdOutputFile& operator=(const StdOutputFile&) = delete;

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
    errno = 0;
    bool ok = std::fflush(m_file) == 0 || Fail();
    errno = 0;
    if (std::fclose(m_file) != 0 && ok) ok = Fail();
    m_file = nullptr;
    if (ok && !m_replaces.empty()) {
      std::error_code ec;
      std::filesystem::rename(m_path, m_replaces, ec);
      if (ec) {
        m_error = ec.value();
        ok = false;
      }
    }
    if (!ok) RemoveReplacement();
    m_replaces.clear();
    return ok;
  }
  void Close() override {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    RemoveReplacement();
    m_replaces.clear();
  }
  std::string ErrorText() const override { return ErrorTextOf(m_error); }

 private:
  bool Put(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return true;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) return Fail();
    return true;
  }
  bool Fail() {
    m_error = ErrnoOr(EIO);
    return false;
  }
  void RemoveReplacement() {
    if (m_replaces.empty()) return;
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
  }

  std::FILE* m_file;
  std::string m_path;
  std::string m_replaces;
  int m_error = 0;
};

// A file written at its own path, without a replacement.
std::unique_ptr<OutputFile> OpenWhereItIs(const std::string& path, const char* mode, std::string& reason) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (!file) {
    reason = ErrorTextOf(ErrnoOr(EIO));
    return nullptr;
  }
  return std::make_unique<StdOutputFile>(file, path, std::string());
}

}  // namespace

std::string ReplacementPrefix(const std::string& path) {
  const std::filesystem::path target(path);
  return (target.parent_path() / ("." + target.filename().string() + ".tmp-")).string();
}

std::unique_ptr<OutputFile> StdFileSystem::Create(const std::string& path, CreateMode mode, std::string& reason) {
#if defined(_WIN32)
  // The Windows C runtime ignores the "x" of "wbx" and would truncate an existing file: an
  // exclusive create is refused there, and the programs use the host's native files.
  if (mode == CreateMode::kExclusive) {
    reason = ErrorTextOf(ENOSYS);
    return nullptr;
  }
#endif
  if (mode == CreateMode::kExclusive) return OpenWhereItIs(path, "wbx", reason);
  if (mode == CreateMode::kAppend) {
    if (std::optional<std::string> refusal = NotRegularFileReason(path)) {
      reason = std::move(*refusal);
      return nullptr;
    }
    return OpenWhereItIs(path, "r+b", reason);
  }
  // A device or a pipe holds nothing a failed write could destroy, and cannot be renamed
  // over: it is written in place.
  std::error_code ec;
  if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec))
    return OpenWhereItIs(path, "wb", reason);
  // The standard library has no mkstemp: random names, created exclusively, until one is free.
  std::random_device entropy;
  std::mt19937 random(entropy());
  std::uniform_int_distribution<std::size_t> pick(0, kNameCharacters.size() - 1);
  const std::string prefix = ReplacementPrefix(path);
  for (int attempt = 0; attempt < kReplacementAttempts; ++attempt) {
    std::string name = prefix;
    for (int i = 0; i < 6; ++i) name += kNameCharacters[pick(random)];
    errno = 0;
    if (std::FILE* file = std::fopen(name.c_str(), "wbx")) return std::make_unique<StdOutputFile>(file, name, path);
    if (errno != EEXIST) break;
  }
  reason = ErrorTextOf(ErrnoOr(EEXIST));
  return nullptr;
}

bool StdFileSystem::Exists(const std::string& path) const {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

std::optional<FileStart> StdFileSystem::ReadStart(const std::string& path, std::size_t limit,
                                                  std::string& reason) const {
  return ReadRegularFileStart(path, limit, reason);
}

bool StdFileSystem::CreateFolders(const std::string& path, std::string& reason) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (!ec && std::filesystem::is_directory(path, ec)) return true;
  reason = ec ? ec.message() : ErrorTextOf(ENOTDIR);
  return false;
}

}  // namespace lcu
