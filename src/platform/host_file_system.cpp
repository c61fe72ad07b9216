#include "platform/host_file_system.h"

// The POSIX host's files; Windows has its own in windows/host_file_system_win32.cpp.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

#include "core/host/regular_file.h"
#include "core/messages/messages.h"

namespace lcu {

namespace {

// Written data is handed to the disk in runs of this size (see StartWriteBack).
constexpr std::uint64_t kWriteBackWindow = 1024 * 1024;
// And made durable in the background every so often (see StartDataSync).
constexpr std::uint64_t kDataSyncWindow = 8 * kWriteBackWindow;

std::string ErrorTextOf(int error) { return std::generic_category().message(error); }

// The folder a file's name lives in.
std::string FolderOf(const std::string& path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

class PosixOutputFile final : public OutputFile {
 public:
  // replaces: the file a committed replacement is renamed over; empty for other files.
  // end: the size of a file that is added to; writes go on from there.
  PosixOutputFile(int fd, std::string path, std::string replaces = {}, std::uint64_t end = 0)
      : m_fd(fd),
        m_path(std::move(path)),
        m_replaces(std::move(replaces)),
        m_end(end),
        m_writeBackFrom(end),
        m_dataSyncedTo(end) {}
  ~PosixOutputFile() override { Close(); }
  PosixOutputFile(const PosixOutputFile&) = delete;
  PosixOutputFile& operator=(const PosixOutputFile&) = delete;

  bool Write(std::span<const std::uint8_t> bytes) override {
    if (!WriteAt(m_end, bytes)) return false;
    return true;
  }

  bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    if (m_fd < 0) return Fail(EBADF);
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::pwrite(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        return Fail(errno);
      }
      if (n == 0) return Fail(ENOSPC);
      done += static_cast<std::size_t>(n);
    }
    if (offset + bytes.size() > m_end) m_end = offset + bytes.size();
    if (m_end - m_writeBackFrom >= kWriteBackWindow) StartWriteBack();
    if (m_end - m_dataSyncedTo >= kDataSyncWindow) StartDataSync();
    return true;
  }

  bool Truncate(std::uint64_t size) override {
    if (m_fd < 0) return Fail(EBADF);
    FinishDataSync();
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0) return Fail(errno);
    m_end = size;
    m_writeBackFrom = std::min(m_writeBackFrom, size);
    m_dataSyncedTo = std::min(m_dataSyncedTo, size);
    return true;
  }

  bool Commit() override {
    if (m_fd < 0) return Fail(EBADF);
    bool ok = true;
    // A failure that a background sync saw is not reported again by this one.
    if (const int error = FinishDataSync(); error != 0) ok = Fail(error);
    if (::fsync(m_fd) != 0 && ok) ok = Fail(errno);
    if (::close(m_fd) != 0 && ok) ok = Fail(errno);
    m_fd = -1;
    // The replacement takes the old file's place only once all of it is on disk.
    if (ok && !m_replaces.empty() && ::rename(m_path.c_str(), m_replaces.c_str()) != 0) ok = Fail(errno);
    if (!ok) RemoveReplacement();
    m_replaces.clear();
    if (ok) ok = SyncFolder();
    return ok;
  }

  void Close() override {
    FinishDataSync();
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    RemoveReplacement();
    m_replaces.clear();
  }

  std::string ErrorText() const override { return ErrorTextOf(m_error); }

 private:
  void RemoveReplacement() {
    if (!m_replaces.empty()) ::unlink(m_path.c_str());
  }

  // A new file's name lives in its folder: sync the folder too, or a crash may lose the file.
  bool SyncFolder() {
    const std::string folder = FolderOf(m_path);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return Fail(errno);
    const bool ok = ::fsync(dir) == 0 || errno == EINVAL;  // some file systems cannot sync folders
    const int error = errno;
    ::close(dir);
    return ok || Fail(error);
  }

  // Hands what has been written since the last call to the disk, without waiting for it: a
  // data file is written while the LCU's link paces the download, so by the time Commit
  // syncs it most of the data is on disk already and the sync does not add the whole file's
  // writing to the download. Only a hint: where it is not supported the sync does the work.
  void StartWriteBack() {
#if defined(__linux__)
    ::sync_file_range(m_fd, static_cast<off_t>(m_writeBackFrom), static_cast<off_t>(m_end - m_writeBackFrom),
                      SYNC_FILE_RANGE_WRITE);
#endif
    m_writeBackFrom = m_end;
  }

  // Syncs what has been written so far on a thread of its own, unless the last such sync is
  // still running. Handing the data to the disk is not enough to make the final sync short:
  // it still commits the file system's record of every block the file was given, which for a
  // file of tens of MiB takes longer than the download's pause after its last buffer. Synced
  // along the way, the final sync has only the last few MiB to commit.
  void StartDataSync() {
    if (m_syncRunning.load(std::memory_order_acquire)) return;
    if (m_syncThread.joinable()) m_syncThread.join();
    m_dataSyncedTo = m_end;
    m_syncRunning.store(true, std::memory_order_release);
    try {
      m_syncThread = std::thread([this] {
        if (::fdatasync(m_fd) != 0 && m_syncError == 0) m_syncError = errno;
        m_syncRunning.store(false, std::memory_order_release);
      });
    } catch (const std::system_error&) {
      m_syncRunning.store(false, std::memory_order_release);  // Commit's sync does it all
    }
  }

  // Waits for a background sync; its error, if it failed (the kernel reports a failed
  // write-back to one sync only, so it must not be forgotten).
  int FinishDataSync() {
    if (m_syncThread.joinable()) m_syncThread.join();
    return m_syncError;
  }

  bool Fail(int error) {
    m_error = error;
    return false;
  }

  int m_fd;
  std::string m_path;
  std::string m_replaces;
  std::uint64_t m_end;
  std::uint64_t m_writeBackFrom;
  std::uint64_t m_dataSyncedTo;
  std::thread m_syncThread;
  std::atomic<bool> m_syncRunning{false};
  int m_syncError = 0;  // written by the sync thread, read after joining it
  int m_error = 0;
};

// A replacement of path: a new file beside the one it replaces, with that file's permissions.
// A symbolic link is followed, so that the file it names is replaced and the link stays.
std::unique_ptr<OutputFile> CreateReplacement(const std::string& path, std::string& reason) {
  std::string target = path;
  std::error_code ec;
  if (std::filesystem::is_symlink(path, ec)) {
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    if (!ec) target = resolved.string();
  }
  mode_t permissions = 0644;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    // A device or a pipe holds nothing a failed write could destroy, and cannot be renamed
    // over: it is written in place.
    if (!S_ISREG(st.st_mode)) {
      const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
      if (fd < 0) {
        reason = ErrorTextOf(errno);
        return nullptr;
      }
      return std::make_unique<PosixOutputFile>(fd, target);
    }
    permissions = st.st_mode & 07777;
  }

  std::string name = ReplacementPrefix(target) + "XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    reason = ErrorTextOf(errno);
    return nullptr;
  }
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  ::fchmod(fd, permissions);  // mkstemp makes it private; a failure here only keeps it so
  return std::make_unique<PosixOutputFile>(fd, name, target);
}

// An existing regular file opened to write after its end; never created here. The open does
// not wait: a named pipe would otherwise hold it until a reader came.
std::unique_ptr<OutputFile> OpenForAppend(const std::string& path, std::string& reason) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    reason = errno == ENXIO ? std::string(msg::kNotARegularFile) : ErrorTextOf(errno);
    return nullptr;
  }
  struct stat st {};
  const bool stated = ::fstat(fd, &st) == 0;
  if (!stated || !S_ISREG(st.st_mode)) {
    reason = stated ? std::string(msg::kNotARegularFile) : ErrorTextOf(errno);
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixOutputFile>(fd, path, std::string(), static_cast<std::uint64_t>(st.st_size));
}

}  // namespace

std::unique_ptr<OutputFile> HostFileSystem::Create(const std::string& path, CreateMode mode, std::string& reason) {
  if (mode == CreateMode::kReplace) return CreateReplacement(path, reason);
  if (mode == CreateMode::kAppend) return OpenForAppend(path, reason);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    reason = ErrorTextOf(errno);
    return nullptr;
  }
  return std::make_unique<PosixOutputFile>(fd, path);
}

bool HostFileSystem::Exists(const std::string& path) const {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

void TreatFileSizeLimitAsWriteError() { std::signal(SIGXFSZ, SIG_IGN); }

std::optional<FileStart> HostFileSystem::ReadStart(const std::string& path, std::size_t limit,
                                                   std::string& reason) const {
  return ReadRegularFileStart(path, limit, reason);
}

bool HostFileSystem::CreateFolders(const std::string& path, std::string& reason) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (!ec && std::filesystem::is_directory(path, ec)) return true;
  reason = ErrorTextOf(ec ? ec.value() : ENOTDIR);
  return false;
}

}  // namespace lcu
