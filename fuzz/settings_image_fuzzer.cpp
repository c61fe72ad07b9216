// The monitor settings file (.nsb): the input is the file, read as Load Settings reads it,
// then the windows the load opens are checked the way the load restores them. A whole file
// whose header is usable must come back byte for byte when the image is saved, since the
// program carries every byte it does not interpret; a file that is not whole is damaged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/monitor/settings_file_contents.h"
#include "fuzz_check.h"

namespace {

// The rectangle the load gives a window must be the record's own, never a wrapped size.
void CheckGeometry(const lcu::WindowPlacement& placement) {
  if (const auto normal = placement.NormalGeometry()) {
    LCU_FUZZ_CHECK(normal->width > 0 && normal->height > 0);
    LCU_FUZZ_CHECK(std::int64_t{normal->x} + normal->width == placement.right);
    LCU_FUZZ_CHECK(std::int64_t{normal->y} + normal->height == placement.bottom);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const lcu::SettingsFileContents contents = lcu::ReadSettingsFile(file);
  const lcu::SettingsImage& settings = contents.image;

  LCU_FUZZ_CHECK(size == lcu::kSettingsImageSize || contents.Damaged());
  LCU_FUZZ_CHECK(contents.windows.size() <= settings.WindowsToOpen());
  if (!contents.headerUsable) LCU_FUZZ_CHECK(contents.windows.empty() && settings == lcu::SettingsImage{});
  CheckGeometry(settings.mainPlacement);
  for (const std::size_t k : contents.windows) {
    LCU_FUZZ_CHECK(k < settings.WindowsToOpen());
    const lcu::MonitorWindowRecord& record = settings.records[k];
    CheckGeometry(record.placement);
    LCU_FUZZ_CHECK(record.NameText().size() <= lcu::kWindowNameLimit);
    LCU_FUZZ_CHECK(record.RowsToRestore() <= record.channels.size());
    for (std::size_t i = 0; i < record.RowsToRestore(); ++i) LCU_FUZZ_CHECK(record.channels[i] < 1024);
    if (settings.HasFontsAndWidths()) LCU_FUZZ_CHECK(record.font.FaceNameText().size() < lcu::kFaceNameSize);
  }

  std::vector<std::uint8_t> saved(lcu::kSettingsImageSize);
  const std::span<std::uint8_t, lcu::kSettingsImageSize> whole(saved.data(), lcu::kSettingsImageSize);
  settings.Write(whole);
  LCU_FUZZ_CHECK(lcu::SettingsImage::Read(whole) == settings);
  if (contents.headerUsable) {
    const std::size_t taken = std::min(size, lcu::kSettingsImageSize);
    LCU_FUZZ_CHECK(std::equal(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(taken), saved.begin()));
  }
  return 0;
}
