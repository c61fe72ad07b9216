#include "core/host/regular_file.h"

#include <filesystem>
#include <system_error>

#include "core/app/messages.h"
#include "core/host/default_paths.h"

namespace lcu {

std::optional<std::string> NotRegularFileReason(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_type type = fs::status(Utf8Path(path), ec).type();
  if (ec || type == fs::file_type::regular || type == fs::file_type::directory || type == fs::file_type::not_found)
    return std::nullopt;
  return std::string(msg::kNotARegularFile);
}

}  // namespace lcu
