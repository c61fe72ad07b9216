// The host's output files on Windows, on the native API: the C runtime's fopen ignores the
// "x" of an exclusive create there and would truncate a data file of the same name, and it
// has no way to make a file durable.
#include <windows.h>

#include <algorithm>
#include <limits>

#include "host_file_system.h"
#include "wide_text.h"

namespace lcu {

namespace {

class Win32OutputFile final : public OutputFile {
 public:
  explicit Win32OutputFile(HANDLE file) : m_file(file) {}
  ~Win32OutputFile() override { Close(); }
  Win32OutputFile(const Win32OutputFile&) = delete;
  Win32OutputFile& operator=(const Win32OutputFile&) = delete;

  bool Write(std::span<const std::uint8_t> bytes) override { return WriteAt(m_end, bytes); }

  // Each write names its offset in the OVERLAPPED block, so a write never depends on where
  // the last one left the file pointer.
  bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    if (m_file == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
    std::size_t done = 0;
    while (done < bytes.size()) {
      const auto part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
      const std::uint64_t at = offset + done;
      OVERLAPPED position{};
      position.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
      position.OffsetHigh = static_cast<DWORD>(at >> 32);
      DWORD written = 0;
      if (!WriteFile(m_file, bytes.data() + done, part, &written, &position)) return Fail(GetLastError());
      if (written == 0) return Fail(ERROR_DISK_FULL);
      done += written;
    }
    m_end = std::max(m_end, offset + bytes.size());
    return true;
  }

  bool Truncate(std::uint64_t size) override {
    if (m_file == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
    if (size > static_cast<std::uint64_t>(std::numeric_limits<LONGLONG>::max())) return Fail(ERROR_INVALID_PARAMETER);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(m_file, end, nullptr, FILE_BEGIN) || !SetEndOfFile(m_file)) return Fail(GetLastError());
    m_end = size;
    return true;
  }

  // The file's name is made durable with its metadata by the file system's log; Windows
  // gives a program no sync of a folder.
  bool Commit() override {
    if (m_file == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
    bool ok = true;
    if (!FlushFileBuffers(m_file)) ok = Fail(GetLastError());
    if (!CloseHandle(m_file) && ok) ok = Fail(GetLastError());
    m_file = INVALID_HANDLE_VALUE;
    return ok;
  }

  void Close() override {
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
  }

  std::string ErrorText() const override { return win::SystemErrorText(m_error); }

 private:
  bool Fail(DWORD error) {
    m_error = error;
    return false;
  }

  HANDLE m_file;
  std::uint64_t m_end = 0;
  DWORD m_error = ERROR_SUCCESS;
};

}  // namespace

std::unique_ptr<OutputFile> HostFileSystem::Create(const std::string& path, CreateMode mode) {
  const DWORD disposition = mode == CreateMode::kExclusive ? CREATE_NEW : CREATE_ALWAYS;
  const HANDLE file = CreateFileW(win::WideFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32OutputFile>(file);
}

bool HostFileSystem::Exists(const std::string& path) const {
  return GetFileAttributesW(win::WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace lcu
