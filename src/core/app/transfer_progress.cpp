#include "core/app/transfer_progress.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "core/messages/messages.h"

namespace lcu {

namespace {

constexpr double kMebibyte = 1024.0 * 1024.0;
constexpr double kMegabyte = 1e6;

std::string DurationText(std::uint64_t seconds) {
  std::array<char, 32> text{};
  const auto h = static_cast<unsigned long long>(seconds / 3600);
  const auto m = static_cast<unsigned>(seconds / 60 % 60);
  const auto s = static_cast<unsigned>(seconds % 60);
  if (h != 0)
    std::snprintf(text.data(), text.size(), "%llu:%02u:%02u", h, m, s);
  else
    std::snprintf(text.data(), text.size(), "%u:%02u", m, s);
  return text.data();
}

}  // namespace

std::string TransferProgressText(const TransferProgress& progress) {
  const std::uint64_t done = std::min(progress.done, progress.total);
  std::array<char, 96> text{};
  std::snprintf(text.data(), text.size(), msg::kBytesOfTotal.data(), static_cast<double>(done) / kMebibyte,
                static_cast<double>(progress.total) / kMebibyte);
  std::string result = text.data();
  const double seconds = std::chrono::duration<double>(progress.elapsed).count();
  if (done == 0 || seconds <= 0) return result;
  const double rate = static_cast<double>(done) / seconds;  // bytes per second
  const auto left = static_cast<std::uint64_t>(std::ceil(static_cast<double>(progress.total - done) / rate));
  std::snprintf(text.data(), text.size(), msg::kRateAndTimeLeft.data(), rate / kMegabyte, DurationText(left).c_str());
  return result + text.data();
}

}  // namespace lcu
