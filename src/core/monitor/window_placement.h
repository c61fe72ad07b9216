// WindowPlacement: the 44-byte window-placement record that monitor settings files keep for
// the main window and for each monitor window. The layout is the Windows one, byte for byte
// and little-endian, so that a file written on one platform opens on another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace lcu {

inline constexpr std::size_t kWindowPlacementSize = 44;

/// Show commands a placement carries.
inline constexpr std::uint32_t kPlacementNormal = 1;
inline constexpr std::uint32_t kPlacementMinimized = 2;
inline constexpr std::uint32_t kPlacementMaximized = 3;

/// A window's normal rectangle as position and size.
struct WindowGeometry {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const WindowGeometry&, const WindowGeometry&) = default;
};

struct WindowPlacement {
  std::uint32_t length = kWindowPlacementSize;
  std::uint32_t flags = 0;
  std::uint32_t showCmd = 0;
  std::int32_t minX = 0;  // minimized position
  std::int32_t minY = 0;
  std::int32_t maxX = 0;  // maximized position
  std::int32_t maxY = 0;
  std::int32_t left = 0;  // normal rectangle; right and bottom are exclusive
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  /// The normal rectangle to give the window, or none when the record holds no usable one
  /// (empty, inverted, or wider or taller than a 32-bit size): the window then keeps its
  /// place. The fields come from a file, so the size is worked out without overflow.
  std::optional<WindowGeometry> NormalGeometry() const;

  static WindowPlacement Read(std::span<const std::uint8_t, kWindowPlacementSize> bytes);
  void Write(std::span<std::uint8_t, kWindowPlacementSize> bytes) const;

  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

}  // namespace lcu
