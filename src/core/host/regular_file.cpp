#include "core/host/regular_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/host/default_paths.h"
#include "core/host/file_closer.h"
#include "core/messages/messages.h"

namespace lcu {

std::optional<std::string> NotRegularFileReason(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_type type = fs::status(Utf8Path(path), ec).type();
  if (ec || type == fs::file_type::regular || type == fs::file_type::directory || type == fs::file_type::not_found)
    return std::nullopt;
  return std::string(msg::kNotARegularFile);
}

std::optional<FileStart> ReadRegularFileStart(const std::string& path, std::size_t limit, std::string& reason) {
  if (std::optional<std::string> refusal = NotRegularFileReason(path)) {
    reason = std::move(*refusal);
    return std::nullopt;
  }
  errno = 0;
  const CFile file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    reason = std::generic_category().message(errno != 0 ? errno : ENOENT);
    return std::nullopt;
  }
  FileStart start;
  start.bytes.resize(limit);
  start.bytes.resize(std::fread(start.bytes.data(), 1, limit, file.get()));
  if (std::ferror(file.get())) {
    reason = std::generic_category().message(errno != 0 ? errno : EIO);
    return std::nullopt;
  }
  std::error_code ec;
  start.size = std::filesystem::file_size(Utf8Path(path), ec);
  if (ec) {
    reason = ec.message();
    return std::nullopt;
  }
  return start;
}

}  // namespace lcu
