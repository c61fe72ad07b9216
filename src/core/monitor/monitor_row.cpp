#include "core/monitor/monitor_row.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace lcu {

namespace {

struct ImageRange {
  int first;
  int last;
  int image;
};

// The group pictures; channel numbers outside every range show image 0.
constexpr ImageRange kImages[] = {
    {0, 63, 0}, {64, 111, 1}, {112, 127, 3}, {128, 191, 2}, {192, 255, 4}, {256, 287, 5}, {288, 351, 6},
};

constexpr int kDefaultDecimals = 6;
// Longest fixed-point text of a double without decimals: a sign and 309 digits.
constexpr std::size_t kFixedIntegerDigits = 310;

}  // namespace

int GetChannelImage(int channel) {
  for (const ImageRange& range : kImages) {
    if (channel >= range.first && channel <= range.last) return range.image;
  }
  return 0;
}

std::string FormatIdCell(std::uint16_t channel) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "%3.3hu", channel);
  return text.data();
}

std::string FormatValueCell(double value, int decimals) {
  if (std::isnan(value)) return std::string(kNotANumberCell);
  const int precision = decimals < 0 ? kDefaultDecimals : std::min(decimals, kMostDecimals);
  std::string text;
  std::array<char, 64> small{};
  if (const auto [end, error] =
          std::to_chars(small.data(), small.data() + small.size(), value, std::chars_format::fixed, precision);
      error == std::errc{}) {
    text.assign(small.data(), end);
  } else {
    text.resize(kFixedIntegerDigits + 1 + static_cast<std::size_t>(precision));
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, precision);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
  }
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string FormatRawCell(std::uint32_t reading) { return std::to_string(reading & 0xFFFF); }

}  // namespace lcu
