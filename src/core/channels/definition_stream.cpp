#include "core/channels/definition_stream.h"

#include <cerrno>
#include <system_error>

#include "core/host/regular_file.h"

namespace lcu {

FileDefinitionStream::FileDefinitionStream(const std::string& path) {
  if (std::optional<std::string> refusal = NotRegularFileReason(path)) {
    m_refusal = std::move(*refusal);
    return;
  }
  errno = 0;
  m_file = std::fopen(path.c_str(), "rb");
  if (!m_file) m_errno = errno != 0 ? errno : ENOENT;
}

FileDefinitionStream::~FileDefinitionStream() {
  if (m_file) std::fclose(m_file);
}

std::size_t FileDefinitionStream::Read(std::span<std::uint8_t> buffer) {
  if (!m_file) return 0;
  errno = 0;
  const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), m_file);
  if (count < buffer.size() && std::ferror(m_file)) m_errno = errno;
  return count;
}

bool FileDefinitionStream::Failed() const { return !m_file || std::ferror(m_file) != 0; }

bool FileDefinitionStream::AtEnd() const { return m_file && std::feof(m_file) != 0; }

std::string FileDefinitionStream::ErrorText() const {
  if (!m_refusal.empty()) return m_refusal;
  return std::generic_category().message(m_errno != 0 ? m_errno : EIO);
}

}  // namespace lcu
