// SettingsImage: the 42172-byte image of a monitor settings file (.nsb). It keeps the main
// window's placement and, for up to 32 monitor windows, each window's placement, channel
// list, name, column widths, font and whether it was the active window. The program holds
// one image for the whole run: a file read overlays it, a save refreshes it and writes it
// whole. Every byte the program does not interpret (reserved areas, records beyond the
// window count, the name field after its terminator) is carried as the image holds it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/monitor/log_font.h"
#include "core/monitor/window_placement.h"

namespace lcu {

inline constexpr std::size_t kSettingsImageSize = 42172;
inline constexpr std::size_t kSettingsHeaderSize = 188;
inline constexpr std::size_t kMonitorWindowRecordSize = 1312;
inline constexpr std::size_t kMaxMonitorWindows = 32;
/// Channel numbers a record stores; a window with more keeps only its first ones.
inline constexpr std::size_t kStoredChannels = 512;
inline constexpr std::size_t kMonitorColumns = 5;
/// Bytes of the record's name field, and the longest name (a window name's limit).
inline constexpr std::size_t kWindowNameFieldSize = 109;
inline constexpr std::size_t kWindowNameLimit = 79;
/// Version written; files of version 1 or less have no usable font and column widths.
inline constexpr std::uint32_t kSettingsVersion = 2;

struct MonitorWindowRecord {
  WindowPlacement placement;
  std::array<std::uint16_t, kStoredChannels> channels{};
  std::int32_t channelCount = 0;  // the window's full count, also above 512
  std::uint8_t active = 0;
  std::array<char, kWindowNameFieldSize> name{};  // as stored; see NameText
  std::array<std::uint16_t, kMonitorColumns> columnWidths{};
  std::array<std::uint8_t, 60> reserved{};
  LogFont font;

  /// The name up to its terminator, cut to 79 characters when it has none within them.
  std::string NameText() const;
  /// Stores a name cut to 79 characters, zero after it.
  void SetName(std::string_view text);
  /// Rows a window restores: the count within 0 to 512, so that no row lies beyond the
  /// stored channel numbers.
  std::size_t RowsToRestore() const;

  friend bool operator==(const MonitorWindowRecord&, const MonitorWindowRecord&) = default;
};

struct SettingsImage {
  std::uint32_t version = kSettingsVersion;
  std::array<std::uint8_t, 33> reserved4{};
  std::int32_t windowCount = 0;  // at the unaligned offset 37
  std::array<std::uint8_t, 100> reserved41{};
  std::uint8_t settingsFlag = 0;
  std::array<std::uint8_t, 2> reserved142{};
  WindowPlacement mainPlacement;
  std::array<MonitorWindowRecord, kMaxMonitorWindows> records{};

  /// Reads a whole image.
  static SettingsImage Read(std::span<const std::uint8_t, kSettingsImageSize> bytes);
  /// Writes the whole image.
  void Write(std::span<std::uint8_t, kSettingsImageSize> bytes) const;
  /// Overlays the first bytes of the image with a file's bytes (at most 42172 are taken);
  /// the fields past the end of a short file keep their values.
  void Overlay(std::span<const std::uint8_t> fileBytes);

  /// Records a load opens: the window count within 0 to 32.
  std::size_t WindowsToOpen() const;
  /// Whether the records' fonts and column widths are usable.
  bool HasFontsAndWidths() const { return version > 1; }

  friend bool operator==(const SettingsImage&, const SettingsImage&) = default;
};

}  // namespace lcu
