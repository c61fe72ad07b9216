// SettingsFileContents: what the bytes of a monitor settings file (.nsb) give a load, and
// whether the file is whole and of the format. A settings file is always exactly one image
// long and holds only what this program (or the one before it) writes; a file that is cut
// short, longer, of a newer version or not a settings file at all is damaged: the load opens
// the windows whose records are sound, says why the file is damaged, and the file is never
// saved over without being kept first.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "core/monitor/settings_image.h"

namespace lcu {

/// The bytes of a settings file a load reads: one more than an image, so that a longer file
/// is told from a whole one. Nothing past them is looked at, whatever the file's size.
inline constexpr std::size_t kSettingsBytesToRead = kSettingsImageSize + 1;

struct SettingsFileContents {
  /// A fresh image overlaid with the file's bytes; a fresh image alone when the header is
  /// not usable, so that a save carries nothing of a file that is not a settings file.
  SettingsImage image;
  /// Whether the header is whole, of a known version and with a window count of 0 to 32:
  /// only then do the main window's placement and the settings flag come from the file.
  bool headerUsable = false;
  /// The records a load opens, in file order: those within the window count whose bytes are
  /// all in the file and hold only values a program writes.
  std::vector<std::size_t> windows;
  /// Why the file is damaged (the first thing found), empty when it is whole and sound.
  std::string damage;

  bool Damaged() const { return !damage.empty(); }
};

/// Reads a settings file from its first bytes (at most kSettingsBytesToRead are looked at).
SettingsFileContents ReadSettingsFile(std::span<const std::uint8_t> firstBytes);

}  // namespace lcu
