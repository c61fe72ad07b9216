#include "core/app/status_indicators.h"

namespace lcu {

StatusIndicators CurrentIndicators(const CUsbDevice& device, const AppState& app, bool serviceUnlocked) {
  StatusIndicators indicators;
  indicators.logging = device.IsOnline() && (app.m_bLoggerStarted != 0 || device.m_bLoggingSeen != 0);
  indicators.service = serviceUnlocked;
  indicators.autoDownload = app.m_bAutoDownload != 0;
  return indicators;
}

}  // namespace lcu
