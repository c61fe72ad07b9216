// The host's output files on Windows, on the native API: the C runtime's fopen ignores the
// "x" of an exclusive create there and would truncate a data file of the same name, and it
// has no way to make a file durable. A save over an existing file writes a replacement
// beside it (CREATE_NEW), flushes it and moves it over the old file with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, so the old file is either kept whole or
// replaced whole.
#include <windows.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string_view>
#include <vector>

#include "core/host/regular_file.h"
#include "core/messages/messages.h"
#include "platform/host_file_system.h"
#include "platform/windows/wide_text.h"

namespace lcu {

namespace {

// Names tried for a replacement before giving up; a name is taken only by a replacement that
// a crash left behind.
constexpr int kReplacementAttempts = 100;
constexpr std::wstring_view kNameCharacters = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

class Win32OutputFile final : public OutputFile {
 public:
  /// replaces: the file this one is to be moved over on Commit; empty for a file written
  /// where it is. end: the size of a file that is added to; writes go on from there.
  Win32OutputFile(HANDLE file, std::wstring path, std::wstring replaces, std::uint64_t end = 0)
      : m_file(file), m_path(std::move(path)), m_replaces(std::move(replaces)), m_end(end) {}
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
  // gives a program no sync of a folder. The move of a replacement is written through before
  // it returns.
  bool Commit() override {
    if (m_file == INVALID_HANDLE_VALUE) return Fail(ERROR_INVALID_HANDLE);
    bool ok = true;
    if (!FlushFileBuffers(m_file)) ok = Fail(GetLastError());
    if (!CloseHandle(m_file) && ok) ok = Fail(GetLastError());
    m_file = INVALID_HANDLE_VALUE;
    if (!m_replaces.empty()) {
      if (ok && !MoveFileExW(m_path.c_str(), m_replaces.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ok = Fail(GetLastError());
      if (!ok) DeleteFileW(m_path.c_str());
      m_replaces.clear();
    }
    return ok;
  }

  void Close() override {
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    if (!m_replaces.empty()) DeleteFileW(m_path.c_str());
    m_replaces.clear();
  }

  std::string ErrorText() const override { return win::SystemErrorText(m_error); }

 private:
  bool Fail(DWORD error) {
    m_error = error;
    return false;
  }

  HANDLE m_file;
  std::wstring m_path;
  std::wstring m_replaces;
  std::uint64_t m_end;
  DWORD m_error = ERROR_SUCCESS;
};

HANDLE CreateNew(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// ".<name>.tmp-" beside the file, as the other hosts name a replacement; the path stays
// wide, so that no character of it passes through a narrow code page.
std::wstring ReplacementPrefixWide(const std::wstring& target) {
  const std::size_t slash = target.find_last_of(L"\\/");
  const std::size_t name = slash == std::wstring::npos ? 0 : slash + 1;
  return target.substr(0, name) + L"." + target.substr(name) + L".tmp-";
}

// An existing regular file opened to write after its end; never created here. A folder or a
// device is refused by its type.
std::unique_ptr<OutputFile> OpenForAppend(const std::wstring& path, std::string& reason) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason = win::SystemErrorText(GetLastError());
    return nullptr;
  }
  LARGE_INTEGER size{};
  const bool onDisk = GetFileType(file) == FILE_TYPE_DISK;
  if (!onDisk || !GetFileSizeEx(file, &size) || size.QuadPart < 0) {
    reason = onDisk ? win::SystemErrorText(GetLastError()) : std::string(msg::kNotARegularFile);
    CloseHandle(file);
    return nullptr;
  }
  return std::make_unique<Win32OutputFile>(file, path, std::wstring(), static_cast<std::uint64_t>(size.QuadPart));
}

}  // namespace

std::unique_ptr<OutputFile> HostFileSystem::Create(const std::string& path, CreateMode mode, std::string& reason) {
  const std::wstring target = win::WideFromUtf8(path);
  if (mode == CreateMode::kAppend) return OpenForAppend(target, reason);
  if (mode == CreateMode::kExclusive) {
    const HANDLE file = CreateNew(target);
    if (file != INVALID_HANDLE_VALUE) return std::make_unique<Win32OutputFile>(file, target, std::wstring());
    reason = win::SystemErrorText(GetLastError());
    return nullptr;
  }
  std::random_device entropy;
  std::mt19937 random(entropy());
  std::uniform_int_distribution<std::size_t> pick(0, kNameCharacters.size() - 1);
  const std::wstring prefix = ReplacementPrefixWide(target);
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < kReplacementAttempts && error == ERROR_FILE_EXISTS; ++attempt) {
    std::wstring name = prefix;
    for (int i = 0; i < 6; ++i) name += kNameCharacters[pick(random)];
    const HANDLE file = CreateNew(name);
    if (file != INVALID_HANDLE_VALUE) return std::make_unique<Win32OutputFile>(file, name, target);
    error = GetLastError();
  }
  reason = win::SystemErrorText(error);
  return nullptr;
}

bool HostFileSystem::Exists(const std::string& path) const {
  return GetFileAttributesW(win::WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<FileStart> HostFileSystem::ReadStart(const std::string& path, std::size_t limit,
                                                   std::string& reason) const {
  return ReadRegularFileStart(path, limit, reason);
}

bool HostFileSystem::CreateFolders(const std::string& path, std::string& reason) {
  const auto isFolder = [](const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  };
  // The missing folders are those below the deepest one that exists (a drive, a share or any
  // folder); CreateDirectoryW makes one level at a time, from the top down.
  std::wstring wide = win::WideFromUtf8(path);
  while (wide.size() > 1 && (wide.back() == L'\\' || wide.back() == L'/')) wide.pop_back();
  std::vector<std::wstring> missing;
  for (std::wstring folder = wide; !folder.empty() && !isFolder(folder);) {
    missing.push_back(folder);
    const std::size_t slash = folder.find_last_of(L"\\/");
    folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
  }
  for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
    if (!CreateDirectoryW(folder->c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      reason = win::SystemErrorText(GetLastError());
      return false;
    }
  }
  if (isFolder(wide)) return true;
  reason = win::SystemErrorText(ERROR_DIRECTORY);
  return false;
}

// Windows has no file size limit signal: a full disk or a quota fails the write itself.
void TreatFileSizeLimitAsWriteError() {}

}  // namespace lcu
