// The fields of the application object that the LCU commands share: the stop request and
// downloading flags, the settings flags, and the calibration image of the connected LCU.
#pragma once

#include <cstdint>
#include <string>

#include "logger/logger_header.h"

namespace lcu {

/// The calibration image: a logger header held in memory and stored as the LCU's
/// calibration file.
using CalibrationImage = LoggerHeader;

struct AppState {
  std::int32_t m_bStopDownload = 0;    // stop request of a running download
  std::int32_t m_bDownloading = 0;     // set while a download lets waiting messages through
  std::int32_t m_bDownloadRunning = 0; // set for the whole download; other LCU commands wait
  std::string m_szDownloadFile;        // path of the current download's data file
  std::int32_t m_bAutoDownload = 0;
  std::int32_t m_bPreserveBuffer = 0;  // Protect Data
  std::int32_t m_bLoggerStarted = 0;
  std::int32_t m_bPreserveQmt = 0;
  CalibrationImage m_calibration;
};

}  // namespace lcu
