// The traces' colours: each must stand out as a thin line on the chart's background, every two
// must be told apart, and the first eight also by a reader with one of the common forms of
// colour blindness (the colours as such a reader sees them, by the usual simulation of full
// red-, green- and blue-blindness).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "core/monitor/chart_palette.h"

namespace lcu {
namespace {

using Rgb = std::array<double, 3>;  // linear light, 0 to 1
using Matrix = std::array<Rgb, 3>;

double Linear(std::uint32_t channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Rgb LinearOf(std::uint32_t colour) {
  return {Linear((colour >> 16) & 0xff), Linear((colour >> 8) & 0xff), Linear(colour & 0xff)};
}

double Luminance(const Rgb& c) { return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]; }

double Contrast(std::uint32_t a, std::uint32_t b) {
  const double la = Luminance(LinearOf(a));
  const double lb = Luminance(LinearOf(b));
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb Seen(const Rgb& c, const Matrix& m) {
  Rgb out{};
  for (std::size_t i = 0; i < 3; ++i) out[i] = std::clamp(m[i][0] * c[0] + m[i][1] * c[1] + m[i][2] * c[2], 0.0, 1.0);
  return out;
}

// CIE L*a*b* of a linear colour (D65 white); the distance between two is how far apart they look.
Rgb Lab(const Rgb& c) {
  const double x = (0.4124 * c[0] + 0.3576 * c[1] + 0.1805 * c[2]) / 0.95047;
  const double y = 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2];
  const double z = (0.0193 * c[0] + 0.1192 * c[1] + 0.9505 * c[2]) / 1.08883;
  const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
  return {116.0 * f(y) - 16.0, 500.0 * (f(x) - f(y)), 200.0 * (f(y) - f(z))};
}

double Apart(std::uint32_t a, std::uint32_t b, const Matrix& seen) {
  const Rgb la = Lab(Seen(LinearOf(a), seen));
  const Rgb lb = Lab(Seen(LinearOf(b), seen));
  return std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
}

constexpr Matrix kNormal = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
// Full protanopia, deuteranopia and tritanopia (Machado, Oliveira and Fernandes, 2009).
constexpr Matrix kRedBlind = {
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kGreenBlind = {
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kBlueBlind = {
    {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}};

TEST(ChartPaletteTest, SixteenColoursStandOutOnTheBackgroundAndFromEachOther) {
  EXPECT_EQ(std::set<std::uint32_t>(kChartPalette.begin(), kChartPalette.end()).size(), 16U);
  for (const std::uint32_t colour : kChartPalette) {
    EXPECT_GE(Contrast(colour, kChartBackground), 2.5) << std::hex << colour;
    // A thin line of a very dark colour passes for the black one, whatever its hue.
    if (colour != 0x000000) {
      EXPECT_GE(Lab(LinearOf(colour))[0], 25.0) << std::hex << colour;
    }
  }
  for (std::size_t a = 0; a < kChartPalette.size(); ++a)
    for (std::size_t b = a + 1; b < kChartPalette.size(); ++b) {
      EXPECT_GE(Apart(kChartPalette[a], kChartPalette[b], kNormal), 18.0) << a << " and " << b;
    }
}

TEST(ChartPaletteTest, TheFirstEightStayApartForTheCommonFormsOfColourBlindness) {
  const struct {
    const char* form;
    const Matrix& seen;
  } forms[] = {{"red-blind", kRedBlind}, {"green-blind", kGreenBlind}, {"blue-blind", kBlueBlind}};
  for (const auto& form : forms)
    for (std::size_t a = 0; a < 8; ++a)
      for (std::size_t b = a + 1; b < 8; ++b) {
        EXPECT_GE(Apart(kChartPalette[a], kChartPalette[b], form.seen), 12.0) << form.form << ": " << a << " and " << b;
      }
}

TEST(ChartPaletteTest, TracesTakeThePaletteInOrderAndAgainAfterTheLast) {
  EXPECT_EQ(ChartColour(0), kChartPalette[0]);
  EXPECT_EQ(ChartColour(15), kChartPalette[15]);
  EXPECT_EQ(ChartColour(16), kChartPalette[0]);
  EXPECT_EQ(ChartColour(31), kChartPalette[15]);
}

}  // namespace
}  // namespace lcu
