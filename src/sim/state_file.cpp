#include "state_file.h"

#include <algorithm>
#include <system_error>

namespace lcu::sim {

void StateFile::Assign(std::vector<std::uint8_t> bytes) {
  m_bytes = std::move(bytes);
  MarkDirty(0, m_bytes.size());
}

std::string StateFile::Load(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return "Cannot read " + path.string() + ": " + ec.message();
  m_file.open(path, std::ios::in | std::ios::out | std::ios::binary);
  if (!m_file) return "Cannot open " + path.string() + " for reading and writing.";
  m_bytes.assign(static_cast<std::size_t>(size), 0);
  if (!m_file.read(reinterpret_cast<char*>(m_bytes.data()), static_cast<std::streamsize>(m_bytes.size()))) {
    return "Cannot read " + path.string() + ".";
  }
  m_attached = true;
  m_dirty.clear();
  return {};
}

std::string StateFile::Create(const std::filesystem::path& path) {
  std::filesystem::path temporary = path;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(m_bytes.data()), static_cast<std::streamsize>(m_bytes.size()));
    out.flush();
    if (!out) return "Cannot write " + temporary.string() + ".";
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) return "Cannot rename " + temporary.string() + ": " + ec.message();
  m_file.open(path, std::ios::in | std::ios::out | std::ios::binary);
  if (!m_file) return "Cannot open " + path.string() + " for writing.";
  m_attached = true;
  m_dirty.clear();
  return {};
}

void StateFile::Set(std::size_t offset, std::uint8_t value) {
  m_bytes[offset] = value;
  MarkDirty(offset, offset + 1);
}

void StateFile::Write(std::size_t offset, std::span<const std::uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  MarkDirty(offset, offset + bytes.size());
}

void StateFile::MarkDirty(std::size_t begin, std::size_t end) {
  if (!m_attached || begin >= end) return;
  // Logging writes sample after sample: extend the last range instead of adding one.
  if (!m_dirty.empty() && m_dirty.back().second == begin) {
    m_dirty.back().second = end;
    return;
  }
  m_dirty.emplace_back(begin, end);
}

bool StateFile::Commit() {
  if (!m_attached || m_dirty.empty()) return true;
  std::sort(m_dirty.begin(), m_dirty.end());
  std::size_t begin = m_dirty.front().first;
  std::size_t end = m_dirty.front().second;
  bool ok = true;
  const auto flushRange = [&] {
    m_file.seekp(static_cast<std::streamoff>(begin));
    m_file.write(reinterpret_cast<const char*>(m_bytes.data() + begin), static_cast<std::streamsize>(end - begin));
    ok = ok && static_cast<bool>(m_file);
  };
  for (const auto& [b, e] : m_dirty) {
    if (b <= end) {
      end = std::max(end, e);
      continue;
    }
    flushRange();
    begin = b;
    end = e;
  }
  flushRange();
  m_file.flush();
  ok = ok && static_cast<bool>(m_file);
  m_dirty.clear();
  if (!ok) m_file.clear();
  return ok;
}

}  // namespace lcu::sim
