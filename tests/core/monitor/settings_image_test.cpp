// The monitor settings file image: every field at its offset, every byte carried, what a
// load may take from damaged counts and short files, and the rectangles it applies.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <random>
#include <vector>

#include "core/monitor/settings_image.h"
#include "core/util/little_endian.h"

namespace lcu {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Written(const SettingsImage& image) {
  Bytes b(kSettingsImageSize, 0xEE);
  image.Write(std::span<std::uint8_t, kSettingsImageSize>(b.data(), kSettingsImageSize));
  return b;
}

constexpr std::size_t Record(std::size_t k) { return 188 + 1312 * k; }

TEST(SettingsImage, FreshImageIsVersionTwoWithPlacementsThatCarryTheirLength) {
  Bytes expected(kSettingsImageSize, 0);
  le::PutU32(expected, 0, 2);
  le::PutU32(expected, 144, 44);
  for (std::size_t k = 0; k < kMaxMonitorWindows; ++k) le::PutU32(expected, Record(k), 44);
  EXPECT_EQ(Written(SettingsImage{}), expected);
}

// Any image reads and writes back byte for byte (reserved bytes and the name's tail are
// carried), and each field comes from its offset.
TEST(SettingsImage, EveryFieldIsReadFromItsOffsetAndEveryByteIsCarried) {
  std::mt19937 random(11);
  Bytes b(kSettingsImageSize);
  for (auto& byte : b) byte = static_cast<std::uint8_t>(random());
  const std::size_t r = Record(2);
  const char name[] = "Oil temps";
  std::copy(std::begin(name), std::end(name), b.begin() + static_cast<std::ptrdiff_t>(r + 1073));
  const SettingsImage s =
      SettingsImage::Read(std::span<const std::uint8_t, kSettingsImageSize>(b.data(), kSettingsImageSize));
  EXPECT_EQ(Written(s), b);

  EXPECT_EQ(s.version, le::U32(b, 0));
  EXPECT_EQ(s.windowCount, le::S32(b, 37));
  EXPECT_EQ(s.settingsFlag, b[141]);
  EXPECT_EQ(s.reserved142[1], b[143]);
  const WindowPlacement& p = s.records[2].placement;
  const std::int32_t placement[] = {static_cast<std::int32_t>(p.length),
                                    static_cast<std::int32_t>(p.flags),
                                    static_cast<std::int32_t>(p.showCmd),
                                    p.minX,
                                    p.minY,
                                    p.maxX,
                                    p.maxY,
                                    p.left,
                                    p.top,
                                    p.right,
                                    p.bottom};
  for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(placement[i], le::S32(b, r + 4 * i)) << i;
  EXPECT_EQ(s.mainPlacement.bottom, le::S32(b, 144 + 40));
  const MonitorWindowRecord& w = s.records[2];
  EXPECT_EQ(w.channels[0], le::U16(b, r + 44));
  EXPECT_EQ(w.channels[511], le::U16(b, r + 44 + 2 * 511));
  EXPECT_EQ(w.channelCount, le::S32(b, r + 1068));
  EXPECT_EQ(w.active, b[r + 1072]);
  EXPECT_EQ(w.NameText(), "Oil temps");
  EXPECT_EQ(w.columnWidths[4], le::U16(b, r + 1182 + 8));
  EXPECT_EQ(w.reserved[0], b[r + 1192]);
  const LogFont& f = w.font;
  const std::int32_t fields[] = {f.height, f.width, f.escapement, f.orientation, f.weight};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(fields[i], le::S32(b, r + 1252 + 4 * i)) << i;
  const std::uint8_t flags[] = {f.italic,       f.underline,     f.strikeOut, f.charSet,
                                f.outPrecision, f.clipPrecision, f.quality,   f.pitchAndFamily};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(flags[i], b[r + 1272 + i]) << i;
  EXPECT_EQ(static_cast<std::uint8_t>(f.faceName[0]), b[r + 1280]);
  EXPECT_EQ(static_cast<std::uint8_t>(s.records[31].font.faceName[31]), b.back());
}

TEST(SettingsImage, TextsAreCutToTheirFields) {
  MonitorWindowRecord r;
  r.SetName(std::string(120, 'n'));
  EXPECT_EQ(r.NameText(), std::string(79, 'n'));
  r.name.fill('x');
  EXPECT_EQ(r.NameText(), std::string(79, 'x'));
  LogFont f;
  f.SetFaceName(std::string(40, 'F'));
  EXPECT_EQ(f.FaceNameText(), std::string(31, 'F'));
  f.faceName.fill('G');
  EXPECT_EQ(f.FaceNameText(), std::string(31, 'G'));
}

TEST(SettingsImage, CountsAreClampedToTheStoredRecordsAndChannels) {
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  const struct {
    std::int32_t stored;
    std::size_t windows, rows;
  } cases[] = {{kMin, 0, 0}, {-1, 0, 0},     {0, 0, 0},      {2, 2, 2},      {32, 32, 32},
               {33, 32, 33}, {512, 32, 512}, {513, 32, 512}, {kMax, 32, 512}};
  for (const auto& c : cases) {
    SettingsImage s;
    s.windowCount = c.stored;
    s.records[0].channelCount = c.stored;
    EXPECT_EQ(s.WindowsToOpen(), c.windows) << c.stored;
    EXPECT_EQ(s.records[0].RowsToRestore(), c.rows) << c.stored;
  }
  // A hand-made file with 2 at offset 37 opens two windows, without fonts and widths.
  Bytes file(kSettingsImageSize, 0);
  file[37] = 2;
  SettingsImage s;
  s.Overlay(file);
  EXPECT_EQ(s.WindowsToOpen(), 2u);
  EXPECT_FALSE(s.HasFontsAndWidths());
}

TEST(SettingsImage, ShortFileOverlaysOnlyTheBytesItHas) {
  SettingsImage before;
  before.windowCount = 1;
  before.settingsFlag = 9;
  before.records[0].SetName("Kept");
  before.records[0].channelCount = 4;

  const struct {
    std::size_t length;
    std::int32_t windowCount;
    std::uint8_t flag;
  } cases[] = {
      {0, 1, 9},                                 // empty file: nothing changes
      {39, 0x0303, 9},                           // ends inside the window count: its first two bytes
      {141, 0x03030303, 9},                      // ends just before the flag
      {kSettingsImageSize + 10, 0x03030303, 3},  // longer than an image: the rest is ignored
  };
  for (const auto& c : cases) {
    SettingsImage s = before;
    const Bytes file(c.length, 3);
    s.Overlay(file);
    EXPECT_EQ(s.windowCount, c.windowCount) << c.length;
    EXPECT_EQ(s.settingsFlag, c.flag) << c.length;
    if (c.length < Record(0)) {
      EXPECT_EQ(s.records[0].NameText(), "Kept") << c.length;
      EXPECT_EQ(s.records[0].channelCount, 4) << c.length;
    }
  }
}

// A file's rectangle is applied only when its size is a real one: the extremes of the 32-bit
// fields must neither wrap the width or height nor be taken for a window.
TEST(SettingsImage, NormalGeometryOfFileRectangles) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  struct Case {
    std::int32_t left, top, right, bottom;
    std::optional<WindowGeometry> expected;
  };
  const Case cases[] = {
      {10, 20, 310, 220, WindowGeometry{10, 20, 300, 200}},
      {-50, -40, 50, 40, WindowGeometry{-50, -40, 100, 80}},
      {0, 0, kMax, kMax, WindowGeometry{0, 0, kMax, kMax}},
      {kMin, 0, kMin + 1, 1, WindowGeometry{kMin, 0, 1, 1}},
      {-1, 0, kMax, 10, std::nullopt},
      {kMin, kMin, kMax, kMax, std::nullopt},
      {0, kMin, 10, 1, std::nullopt},
      {0, 0, 0, 0, std::nullopt},
      {100, 0, 50, 10, std::nullopt},
      {0, 100, 10, 100, std::nullopt},
  };
  for (const Case& c : cases) {
    const WindowPlacement p{44, 0, 0, 0, 0, 0, 0, c.left, c.top, c.right, c.bottom};
    EXPECT_EQ(p.NormalGeometry(), c.expected) << c.left << ' ' << c.top << ' ' << c.right << ' ' << c.bottom;
  }
}

}  // namespace
}  // namespace lcu
