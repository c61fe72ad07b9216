// Reading a monitor settings file for a load: a whole file opens every window it counts; a
// file cut short, longer, of a newer version or not a settings file at all is damaged, says
// why, and opens only the windows whose records are sound.
#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "core/monitor/settings_file_contents.h"
#include "core/util/little_endian.h"

namespace lcu {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Windows = std::vector<std::size_t>;

constexpr std::size_t Record(std::size_t k) { return 188 + 1312 * k; }
// Offsets within a record.
constexpr std::size_t kChannels = 44;
constexpr std::size_t kChannelCount = 1068;
constexpr std::size_t kActive = 1072;
constexpr std::size_t kName = 1073;
constexpr std::size_t kFont = 1252;

// Two windows as the program saves them.
Bytes Saved() {
  SettingsImage image;
  image.windowCount = 2;
  const char* names[] = {"Engine", "Chassis"};
  for (std::size_t k = 0; k < 2; ++k) {
    MonitorWindowRecord& record = image.records[k];
    record.SetName(names[k]);
    record.channelCount = 3;
    record.channels[0] = 1;
    record.channels[1] = 1023;
    record.channels[2] = 7;
    record.font.weight = kFontWeightBold;
    record.font.italic = 1;
    record.font.SetFaceName("Sans");
  }
  Bytes b(kSettingsImageSize);
  image.Write(std::span<std::uint8_t, kSettingsImageSize>(b.data(), kSettingsImageSize));
  return b;
}

TEST(SettingsFileContents, DamageIsNamedAndOnlySoundWindowsOpen) {
  const Bytes saved = Saved();
  const auto with = [&saved](std::size_t offset, std::uint32_t value, std::size_t width = 4) {
    Bytes b = saved;
    for (std::size_t i = 0; i < width; ++i) le::PutU8(b, offset + i, static_cast<std::uint8_t>(value >> (8 * i)));
    return b;
  };
  const auto cut = [&saved](std::size_t length) {
    return Bytes(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(length));
  };
  Bytes longer = saved;
  longer.push_back(0);
  Bytes versionOne = with(0, 1);
  le::PutU8(versionOne, Record(0) + kFont + 20, 9);  // an old file's font is not used, nor looked at
  Bytes handMade(kSettingsImageSize, 0);             // all zero but two windows
  le::PutU8(handMade, 37, 2);
  Bytes noFaceEnd = saved;
  for (std::size_t i = 0; i < 32; ++i) le::PutU8(noFaceEnd, Record(1) + kFont + 28 + i, 'F');
  Bytes twoFaults = with(Record(0) + kActive, 5, 1);
  le::PutU8(twoFaults, Record(1) + kActive, 6);

  const struct {
    const char* what;
    Bytes bytes;
    std::string damage;
    Windows windows;
    bool headerUsable;
  } cases[] = {
      {"whole", saved, "", {0, 1}, true},
      {"hand-made", handMade, "", {0, 1}, true},
      {"version one", versionOne, "", {0, 1}, true},
      {"empty", {}, "the file ends after 0 of its 42172 bytes", {}, false},
      {"inside the header", cut(100), "the file ends after 100 of its 42172 bytes", {}, false},
      {"inside the first record", cut(Record(0) + 1100), "the file ends after 1288 of its 42172 bytes", {}, true},
      {"inside the second record", cut(Record(1) + 40), "the file ends after 1540 of its 42172 bytes", {0}, true},
      {"after the counted records", cut(Record(2)), "the file ends after 2812 of its 42172 bytes", {0, 1}, true},
      {"longer", longer, "the file is longer than a settings file", {0, 1}, true},
      {"newer", with(0, 3), "not a settings file this program knows (version 3)", {}, false},
      {"too many windows", with(37, 33), "a window count of 33, not 0 to 32", {}, false},
      {"negative windows", with(37, 0xFFFFFFFF), "a window count of -1, not 0 to 32", {}, false},
      {"channel count", with(Record(0) + kChannelCount, 1025), "window 1: a channel count of 1025", {1}, true},
      {"negative channel count",
       with(Record(1) + kChannelCount, 0xFFFFFFFE),
       "window 2: a channel count of -2",
       {0},
       true},
      {"channel number", with(Record(1) + kChannels + 4, 1024, 2), "window 2: channel number 1024", {0}, true},
      {"channel number past the count", with(Record(1) + kChannels + 6, 0xFFFF, 2), "", {0, 1}, true},
      {"active flag", with(Record(0) + kActive, 2, 1), "window 1: an active flag of 2", {1}, true},
      {"name", with(Record(0) + kName + 2, 0x1B, 1), "window 1: a name that is not text", {1}, true},
      {"font flag",
       with(Record(1) + kFont + 22, 2, 1),
       "window 2: a font style flag that is neither 0 nor 1",
       {0},
       true},
      {"font weight", with(Record(0) + kFont + 16, 1001), "window 1: a font weight of 1001", {1}, true},
      {"face name", noFaceEnd, "window 2: a font name that is not text", {0}, true},
      {"first fault named", twoFaults, "window 1: an active flag of 5", {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const SettingsFileContents read = ReadSettingsFile(c.bytes);
    EXPECT_EQ(read.damage, c.damage);
    EXPECT_EQ(read.Damaged(), !c.damage.empty());
    EXPECT_EQ(read.windows, c.windows);
    EXPECT_EQ(read.headerUsable, c.headerUsable);
    // A file whose header is not usable leaves nothing of itself for a save to carry.
    if (!c.headerUsable) {
      EXPECT_EQ(read.image, SettingsImage{});
    }
  }
  // The sound windows come with what their records hold.
  const SettingsFileContents partial = ReadSettingsFile(cut(Record(1) + 40));
  EXPECT_EQ(partial.image.records[0].NameText(), "Engine");
  EXPECT_EQ(partial.image.records[0].RowsToRestore(), 3U);
}

// Bytes that are no settings file open no window, whatever their length; a longer file is
// read only as far as a settings file goes.
TEST(SettingsFileContents, RandomBytesOpenNoWindowAndALongFileIsReadOnlyToItsImage) {
  std::mt19937 random(25);
  for (const std::size_t length : {std::size_t{200}, kSettingsImageSize, std::size_t{100000}}) {
    for (int round = 0; round < 20; ++round) {
      Bytes b(length);
      for (auto& byte : b) byte = static_cast<std::uint8_t>(random());
      const SettingsFileContents read = ReadSettingsFile(b);
      EXPECT_TRUE(read.Damaged()) << length;
      EXPECT_TRUE(read.windows.empty()) << length << ": " << read.damage;
    }
  }
  Bytes huge = Saved();
  huge.resize(kSettingsImageSize * 10, 0xAB);
  const SettingsFileContents read = ReadSettingsFile(huge);
  EXPECT_EQ(read.damage, "the file is longer than a settings file");
  EXPECT_EQ(read.windows, (Windows{0, 1}));
  EXPECT_EQ(read.image.records[1].NameText(), "Chassis");
}

}  // namespace
}  // namespace lcu
