#include "cli/stop_signals.h"

#include <csignal>

namespace lcu::cli {

namespace {

volatile std::sig_atomic_t g_bStopSignalCaught = 0;

void OnStopSignal(int) { g_bStopSignalCaught = 1; }

// The signals that ask a command-line program to end; 0 where the platform has none.
constexpr std::array<int, 3> kStopSignals = {
    SIGINT,
    SIGTERM,
#if defined(SIGHUP)
    SIGHUP,
#elif defined(SIGBREAK)
    SIGBREAK,
#else
    0,
#endif
};

}  // namespace

StopSignals::StopSignals() {
  g_bStopSignalCaught = 0;
  for (std::size_t i = 0; i < kStopSignals.size(); ++i)
    if (kStopSignals[i] != 0) m_previous[i] = std::signal(kStopSignals[i], OnStopSignal);
}

StopSignals::~StopSignals() {
  for (std::size_t i = 0; i < kStopSignals.size(); ++i)
    if (kStopSignals[i] != 0 && m_previous[i] != SIG_ERR) std::signal(kStopSignals[i], m_previous[i]);
}

bool StopSignals::Caught() { return g_bStopSignalCaught != 0; }

}  // namespace lcu::cli
