// The monitor settings file image: every field at its offset, the placement and font
// records byte for byte, what a load may take from damaged counts, short files, and random
// images that must come back byte for byte.
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

std::span<const std::uint8_t, kSettingsImageSize> Whole(const Bytes& b) {
  return std::span<const std::uint8_t, kSettingsImageSize>(b.data(), kSettingsImageSize);
}

Bytes Written(const SettingsImage& image) {
  Bytes b(kSettingsImageSize, 0xEE);
  image.Write(std::span<std::uint8_t, kSettingsImageSize>(b.data(), kSettingsImageSize));
  return b;
}

constexpr std::size_t Record(std::size_t k) { return 188 + 1312 * k; }

TEST(SettingsImage, FreshImageIsVersionTwoAndZeroElsewhere) {
  const Bytes b = Written(SettingsImage{});
  ASSERT_EQ(b.size(), 42172u);
  EXPECT_EQ(le::U32(b, 0), 2u);
  // A fresh placement carries its own length, as a placement record must.
  EXPECT_EQ(le::U32(b, 144), 44u);
  Bytes expected(kSettingsImageSize, 0);
  le::PutU32(expected, 0, 2);
  le::PutU32(expected, 144, 44);
  for (std::size_t k = 0; k < kMaxMonitorWindows; ++k) le::PutU32(expected, Record(k), 44);
  EXPECT_EQ(b, expected);
}

TEST(SettingsImage, EveryFieldIsReadFromItsOffset) {
  Bytes b(kSettingsImageSize, 0);
  le::PutU32(b, 0, 7);
  b[4] = 0xA4;
  b[36] = 0xA5;
  le::PutU32(b, 37, 3);
  b[41] = 0xB1;
  b[140] = 0xB2;
  b[141] = 0x5A;
  b[142] = 0xC1;
  b[143] = 0xC2;
  le::PutU32(b, 144 + 8, 3);           // main placement: show command
  le::PutU32(b, 144 + 40, 0xFFFFFF9Cu);  // bottom -100
  const std::size_t r = Record(2);
  le::PutU32(b, r + 28, 12);  // placement left
  le::PutU16(b, r + 44, 300);
  le::PutU16(b, r + 44 + 2 * 511, 1023);
  le::PutU32(b, r + 1068, 600);
  b[r + 1072] = 1;
  const char name[] = "Oil temps";
  std::copy(std::begin(name), std::end(name), b.begin() + static_cast<std::ptrdiff_t>(r + 1073));
  b[r + 1073 + 100] = 0x77;  // after the terminator: carried, not part of the name
  for (std::size_t i = 0; i < 5; ++i) le::PutU16(b, r + 1182 + 2 * i, static_cast<std::uint16_t>(50 + i));
  b[r + 1192] = 0xD1;
  b[r + 1251] = 0xD2;
  le::PutU32(b, r + 1252, 0xFFFFFFF3u);  // font height -13
  le::PutU32(b, r + 1252 + 16, 700);
  b[r + 1252 + 20] = 1;  // italic
  b[r + 1252 + 27] = 0x31;
  const char face[] = "Sans";
  std::copy(std::begin(face), std::end(face), b.begin() + static_cast<std::ptrdiff_t>(r + 1252 + 28));
  b[Record(31) + 1311] = 0xE1;  // last byte of the image

  const SettingsImage s = SettingsImage::Read(Whole(b));
  EXPECT_EQ(s.version, 7u);
  EXPECT_EQ(s.reserved4.front(), 0xA4);
  EXPECT_EQ(s.reserved4.back(), 0xA5);
  EXPECT_EQ(s.windowCount, 3);
  EXPECT_EQ(s.reserved41.front(), 0xB1);
  EXPECT_EQ(s.reserved41.back(), 0xB2);
  EXPECT_EQ(s.settingsFlag, 0x5A);
  EXPECT_EQ(s.reserved142, (std::array<std::uint8_t, 2>{0xC1, 0xC2}));
  EXPECT_EQ(s.mainPlacement.showCmd, 3u);
  EXPECT_EQ(s.mainPlacement.bottom, -100);
  const MonitorWindowRecord& w = s.records[2];
  EXPECT_EQ(w.placement.left, 12);
  EXPECT_EQ(w.channels[0], 300);
  EXPECT_EQ(w.channels[511], 1023);
  EXPECT_EQ(w.channelCount, 600);
  EXPECT_EQ(w.RowsToRestore(), 512u);
  EXPECT_EQ(w.active, 1);
  EXPECT_EQ(w.NameText(), "Oil temps");
  EXPECT_EQ(w.columnWidths, (std::array<std::uint16_t, 5>{50, 51, 52, 53, 54}));
  EXPECT_EQ(w.reserved.front(), 0xD1);
  EXPECT_EQ(w.reserved.back(), 0xD2);
  EXPECT_EQ(w.font.height, -13);
  EXPECT_EQ(w.font.weight, 700);
  EXPECT_EQ(w.font.italic, 1);
  EXPECT_EQ(w.font.pitchAndFamily, 0x31);
  EXPECT_EQ(w.font.FaceNameText(), "Sans");
  EXPECT_EQ(s.records[31].font.faceName[31], static_cast<char>(0xE1));

  EXPECT_EQ(Written(s), b) << "reserved bytes and the name's tail are carried";
}

TEST(SettingsImage, PlacementAndFontKeepTheWindowsLayout) {
  WindowPlacement p{44, 2, 3, -1, -2, -3, -4, 10, 20, 300, 400};
  std::array<std::uint8_t, 44> pb{};
  p.Write(pb);
  const std::int64_t fields[] = {44, 2, 3, -1, -2, -3, -4, 10, 20, 300, 400};
  for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(le::S32(pb, 4 * i), fields[i]) << "placement field " << i;
  EXPECT_EQ(WindowPlacement::Read(pb), p);

  LogFont f;
  f.height = -16;
  f.width = 7;
  f.escapement = 900;
  f.orientation = 450;
  f.weight = kFontWeightBold;
  f.italic = 1;
  f.underline = 2;
  f.strikeOut = 3;
  f.charSet = 4;
  f.outPrecision = 5;
  f.clipPrecision = 6;
  f.quality = 7;
  f.pitchAndFamily = 8;
  f.SetFaceName("DejaVu Sans Mono");
  std::array<std::uint8_t, 60> fb{};
  f.Write(fb);
  EXPECT_EQ(le::S32(fb, 0), -16);
  EXPECT_EQ(le::S32(fb, 4), 7);
  EXPECT_EQ(le::S32(fb, 8), 900);
  EXPECT_EQ(le::S32(fb, 12), 450);
  EXPECT_EQ(le::S32(fb, 16), 700);
  for (std::uint8_t i = 0; i < 8; ++i) EXPECT_EQ(fb[20u + i], i + 1) << "byte field " << int{i};
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&fb[28])), "DejaVu Sans Mono");
  EXPECT_EQ(fb[59], 0);
  EXPECT_EQ(LogFont::Read(fb), f);
}

TEST(SettingsImage, TextsAreCutToTheirFields) {
  const struct {
    std::string set;
    std::string name;
  } names[] = {
      {"", ""},
      {"Monitor", "Monitor"},
      {std::string(79, 'n'), std::string(79, 'n')},
      {std::string(120, 'n'), std::string(79, 'n')},
  };
  for (const auto& c : names) {
    MonitorWindowRecord r;
    r.SetName(c.set);
    EXPECT_EQ(r.NameText(), c.name);
  }
  MonitorWindowRecord unterminated;
  unterminated.name.fill('x');
  EXPECT_EQ(unterminated.NameText(), std::string(79, 'x'));

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
    std::size_t windows;
    std::size_t rows;
  } cases[] = {{kMin, 0, 0}, {-1, 0, 0}, {0, 0, 0}, {2, 2, 2}, {32, 32, 32},
               {33, 32, 33}, {512, 32, 512}, {513, 32, 512}, {kMax, 32, 512}};
  for (const auto& c : cases) {
    SettingsImage s;
    s.windowCount = c.stored;
    s.records[0].channelCount = c.stored;
    EXPECT_EQ(s.WindowsToOpen(), c.windows) << c.stored;
    EXPECT_EQ(s.records[0].RowsToRestore(), c.rows) << c.stored;
  }
}

TEST(SettingsImage, HandMadeFileWithTwoAtOffsetThirtySevenOpensTwoWindows) {
  Bytes file(kSettingsImageSize, 0);
  file[37] = 2;
  SettingsImage s;
  s.Overlay(file);
  EXPECT_EQ(s.WindowsToOpen(), 2u);
  EXPECT_EQ(s.version, 0u);
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
      {0, 1, 9},      // empty file: nothing changes
      {39, 0x0303, 9},  // ends inside the window count: its first two bytes
      {141, 0x03030303, 9},         // ends just before the flag
      {142, 0x03030303, 3},
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
    Bytes expected = Written(before);
    std::copy_n(file.begin(), std::min(c.length, kSettingsImageSize), expected.begin());
    EXPECT_EQ(Written(s), expected) << c.length;
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
      {-1, 0, kMax, 10, std::nullopt},
      {kMin, kMin, kMax, kMax, std::nullopt},
      {0, kMin, 10, 1, std::nullopt},
      {kMin, 0, kMin + 1, 1, WindowGeometry{kMin, 0, 1, 1}},
      {0, 0, 0, 0, std::nullopt},
      {100, 0, 50, 10, std::nullopt},
      {0, 100, 10, 100, std::nullopt},
  };
  for (const Case& c : cases) {
    WindowPlacement p;
    p.left = c.left;
    p.top = c.top;
    p.right = c.right;
    p.bottom = c.bottom;
    EXPECT_EQ(p.NormalGeometry(), c.expected) << c.left << ' ' << c.top << ' ' << c.right << ' ' << c.bottom;
  }
}

}  // namespace
}  // namespace lcu
