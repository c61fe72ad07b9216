#include "sim/state_file.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace lcu::sim {

namespace {

// A file mapped shared for reading and writing, or the reason it could not be.
struct Mapping {
  void* address = nullptr;
  std::size_t size = 0;
  std::string error;
};

#if defined(_WIN32)

std::string SystemText(DWORD code) { return std::system_category().message(static_cast<int>(code)); }

Mapping MapFile(const std::filesystem::path& path) {
  Mapping m;
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    m.error = "Cannot open " + path.string() + ": " + SystemText(::GetLastError());
    return m;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) {
    m.error = "Cannot read " + path.string() + ": " + SystemText(::GetLastError());
  } else if (size.QuadPart > 0) {
    const HANDLE section = ::CreateFileMappingW(file, nullptr, PAGE_READWRITE, 0, 0, nullptr);
    if (section == nullptr) {
      m.error = "Cannot map " + path.string() + ": " + SystemText(::GetLastError());
    } else {
      m.address = ::MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, 0);
      if (m.address == nullptr) m.error = "Cannot map " + path.string() + ": " + SystemText(::GetLastError());
      m.size = m.address == nullptr ? 0 : static_cast<std::size_t>(size.QuadPart);
      ::CloseHandle(section);  // the view keeps the section alive
    }
  }
  ::CloseHandle(file);
  return m;
}

void UnmapFile(void* address, std::size_t) { ::UnmapViewOfFile(address); }

#else

std::string ErrnoText(int code) { return std::generic_category().message(code); }

Mapping MapFile(const std::filesystem::path& path) {
  Mapping m;
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    m.error = "Cannot open " + path.string() + ": " + ErrnoText(errno);
    return m;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    m.error = "Cannot read " + path.string() + ": " + ErrnoText(errno);
  } else if (st.st_size > 0) {
    const auto size = static_cast<std::size_t>(st.st_size);
    // A store into a mapped page that has no disk block behind it (a sparse file on a full
    // disk) would kill the program: reserve the blocks now and refuse the file if that fails.
    if (const int error = ::posix_fallocate(fd, 0, st.st_size); error != 0 && error != EOPNOTSUPP && error != EINVAL) {
      m.error = "Cannot reserve space for " + path.string() + ": " + ErrnoText(error);
    } else if (void* address = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
               address == MAP_FAILED) {
      m.error = "Cannot map " + path.string() + ": " + ErrnoText(errno);
    } else {
      m.address = address;
      m.size = size;
    }
  }
  ::close(fd);  // the mapping keeps the file open
  return m;
}

void UnmapFile(void* address, std::size_t size) { ::munmap(address, size); }

#endif

}  // namespace

StateFile::~StateFile() { Unmap(); }

void StateFile::Unmap() {
  if (m_mapping != nullptr) UnmapFile(m_mapping, m_mappedSize);
  m_mapping = nullptr;
  m_mappedSize = 0;
  m_view = {};
}

void StateFile::Assign(std::vector<std::uint8_t> bytes) {
  Unmap();
  m_memory = std::move(bytes);
  m_view = m_memory;
}

std::string StateFile::Load(const std::filesystem::path& path) {
  Mapping m = MapFile(path);
  if (!m.error.empty()) return m.error;
  Unmap();
  m_memory.clear();
  m_memory.shrink_to_fit();
  m_mapping = m.address;
  m_mappedSize = m.size;
  m_view = {static_cast<std::uint8_t*>(m.address), m.size};
  return {};
}

std::string StateFile::Create(const std::filesystem::path& path) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(m_view.data()), static_cast<std::streamsize>(m_view.size()));
    out.flush();
    if (!out) return "Cannot write " + temporary.string() + ".";
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) return "Cannot rename " + temporary.string() + ": " + ec.message();
  return Load(path);
}

void StateFile::Write(std::size_t offset, std::span<const std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), m_view.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace lcu::sim
