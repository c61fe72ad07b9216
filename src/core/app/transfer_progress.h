// How far a long transfer has come, and the figures the programs show for it: bytes done of
// the total, the rate so far and the time left at that rate.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace lcu {

struct TransferProgress {
  std::uint64_t done = 0;
  std::uint64_t total = 0;
  /// Time since the transfer began.
  std::chrono::nanoseconds elapsed{0};
};

/// "12.5 MiB of 64.0 MiB, 1.2 MB/s, 0:41 left". The rate and the time left are left out until
/// some bytes have moved in a measurable time; the time left is "m:ss", or "h:mm:ss" from an
/// hour on.
std::string TransferProgressText(const TransferProgress& progress);

}  // namespace lcu
