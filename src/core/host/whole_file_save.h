// Saving a file whole over one that may already exist (calibration files, monitor settings
// files, the setup extract, the program dump): the bytes go to a replacement that takes the
// old file's place only once all of them are on disk, so a save that fails, on a full disk
// or anywhere else, leaves the old file as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/host/file_system.h"

namespace lcu {

enum class SaveStep {
  kSaved,
  kNotCreated,  // the replacement could not be created: nothing was written
  kNotWritten,  // a write, the sync or the rename failed: the replacement is gone again
};

struct SaveOutcome {
  SaveStep step = SaveStep::kSaved;
  /// The system's text for the failure.
  std::string reason;

  bool Saved() const { return step == SaveStep::kSaved; }
};

/// Saves the bytes as the whole content of path.
SaveOutcome SaveWholeFile(FileSystem& files, const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace lcu
