// The memory window's entries: addresses, the datum in every format, the spin steps.
#include <gtest/gtest.h>

#include "core/memory/memory_entry.h"

namespace lcu {
namespace {

TEST(MemoryEntry, AddressesReadAsHexCutToSixteenBits) {
  struct Case {
    const char* text;
    std::uint16_t address;
  };
  for (const Case c : {Case{"8000", 0x8000}, Case{"12345", 0x2345}, Case{"-1", 0xFFFF}, Case{" 0x1f", 0x1F},
                       Case{"fe36", 0xFE36}, Case{"zz", 0}, Case{"", 0}, Case{"12G4", 0x12}}) {
    EXPECT_EQ(ParseAddressEntry(c.text), c.address) << c.text;
  }
}

TEST(MemoryEntry, DatumInEveryFormat) {
  struct Case {
    DatumFormat format;
    const char* text;
    std::uint16_t datum;
  };
  for (const Case c : {Case{DatumFormat::kHex, "1F", 0x001F}, Case{DatumFormat::kHex, "12345", 0x2345},
                       Case{DatumFormat::kDec, "300", 0x012C}, Case{DatumFormat::kDec, "-1", 0xFFFF},
                       Case{DatumFormat::kDec, "70000", 4464}, Case{DatumFormat::kBin, "101", 0x0005},
                       Case{DatumFormat::kBin, "12", 1}, Case{DatumFormat::kAscii, "AB", 0x0041},
                       Case{DatumFormat::kAscii, "", 0}, Case{DatumFormat::kAscii, "\x80", 0xFF80},
                       Case{DatumFormat::kAscii, "\xFF", 0xFFFF}, Case{DatumFormat::kHex, "", 0}}) {
    EXPECT_EQ(ConvertDatum(static_cast<std::int32_t>(c.format), c.text), c.datum) << c.text;
  }
  EXPECT_FALSE(ConvertDatum(4, "1"));
  EXPECT_FALSE(ConvertDatum(-1, "1"));
}

// `lcu poke` takes only a byte in its format: nothing else is written as some other number.
TEST(MemoryEntry, ByteDatumIsStrict) {
  using F = DatumFormat;
  const std::tuple<F, const char*, std::optional<std::uint16_t>> cases[] = {
      {F::kHex, "1F", 0x1F},
      {F::kHex, "0xff", 0xFF},
      {F::kHex, "00FF", 0xFF},
      {F::kHex, "100", std::nullopt},
      {F::kHex, "0x", std::nullopt},
      {F::kHex, " 1", std::nullopt},
      {F::kDec, "255", 0xFF},
      {F::kDec, "-128", 0xFF80},
      {F::kDec, "+7", 7},
      {F::kDec, "256", std::nullopt},
      {F::kDec, "-129", std::nullopt},
      {F::kDec, "-", std::nullopt},
      {F::kDec, "99999999999", std::nullopt},
      {F::kBin, "11111111", 0xFF},
      {F::kBin, "2", std::nullopt},
      {F::kBin, "100000000", std::nullopt},
      {F::kAscii, "A", 0x41},
      {F::kAscii, "\x80", 0xFF80},
      {F::kAscii, "", std::nullopt},
      {F::kAscii, "AB", std::nullopt},
  };
  for (const auto& [format, text, datum] : cases)
    EXPECT_EQ(ParseByteDatum(format, text), datum) << static_cast<int>(format) << " " << text;
}

TEST(MemoryEntry, SpinStepsAPageAndStopsAtTheEnds) {
  EXPECT_EQ(StepAddress(0x0008, 16, +1), 0x0000);
  EXPECT_EQ(StepAddress(0xFFF8, 16, -1), 0xFFFF);
  EXPECT_EQ(StepAddress(0x8000, 16, -1), 0x8010);
  EXPECT_EQ(StepAddress(0x8000, 64, +1), 0x7FC0);
}

}  // namespace
}  // namespace lcu
