// The host's output files: written with positioned writes and synced to disk (file and
// folder) on Commit, so that a data file is durable before the LCU is reset, and a saved
// file is renamed over the one it replaces only once it is durable. A long file is
// also synced in the background while it is written, which keeps that last sync short.
#pragma once

#include <memory>
#include <string>

#include "core/host/file_system.h"

namespace lcu {

class HostFileSystem final : public FileSystem {
 public:
  using FileSystem::Create;
  std::unique_ptr<OutputFile> Create(const std::string& path, CreateMode mode, std::string& reason) override;
  bool Exists(const std::string& path) const override;
  bool CreateFolders(const std::string& path, std::string& reason) override;
  std::optional<FileStart> ReadStart(const std::string& path, std::size_t limit, std::string& reason) const override;
};

/// Makes a file size limit (a shell's ulimit -f) fail the write that reaches it, as a full
/// disk does, instead of ending the program there: the save then reports it and removes its
/// replacement. The programs call it first thing.
void TreatFileSizeLimitAsWriteError();

}  // namespace lcu
