#include "replace_file_durably.h"

#include <windows.h>

#include <algorithm>

#include "wide_text.h"

namespace lcu::win {

namespace {

// Tries a few names beside the target, so that a temporary file left by a crash never
// blocks the next save.
constexpr int kTemporaryNames = 16;

HANDLE CreateTemporary(const std::wstring& target, std::wstring& temporary) {
  for (int n = 0; n < kTemporaryNames; ++n) {
    temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) + L".tmp";
    const HANDLE file =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto part = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, part, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace

bool ReplaceFileDurably(const std::string& path, std::span<const std::uint8_t> bytes, std::string& reason) {
  const std::wstring target = WideFromUtf8(path);
  std::wstring temporary;
  const HANDLE file = CreateTemporary(target, temporary);
  if (file == INVALID_HANDLE_VALUE) {
    reason = SystemErrorText(GetLastError());
    return false;
  }
  const bool written = WriteAll(file, bytes) && FlushFileBuffers(file);
  DWORD error = written ? ERROR_SUCCESS : GetLastError();
  if (!CloseHandle(file) && written) error = GetLastError();
  // Write-through: the rename is on disk before the call returns.
  if (error == ERROR_SUCCESS &&
      !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error == ERROR_SUCCESS) return true;
  DeleteFileW(temporary.c_str());
  reason = SystemErrorText(error);
  return false;
}

}  // namespace lcu::win
