#include "core/host/whole_file_save.h"

namespace lcu {

SaveOutcome SaveWholeFile(FileSystem& files, const std::string& path, std::span<const std::uint8_t> bytes) {
  SaveOutcome outcome;
  const std::unique_ptr<OutputFile> file = files.Create(path, CreateMode::kReplace, outcome.reason);
  if (!file) {
    outcome.step = SaveStep::kNotCreated;
    return outcome;
  }
  if (!file->Write(bytes) || !file->Commit()) {
    outcome.step = SaveStep::kNotWritten;
    outcome.reason = file->ErrorText();
    file->Close();
  }
  return outcome;
}

}  // namespace lcu
