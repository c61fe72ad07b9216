// The host's output files: written with positioned writes and synced to disk (file and
// folder) on Commit, so that a data file is durable before the LCU is reset. A long file is
// also synced in the background while it is written, which keeps that last sync short.
#pragma once

#include <memory>
#include <string>

#include "app/file_system.h"

namespace lcu {

class HostFileSystem final : public FileSystem {
 public:
  std::unique_ptr<OutputFile> Create(const std::string& path, CreateMode mode) override;
  bool Exists(const std::string& path) const override;
};

}  // namespace lcu
