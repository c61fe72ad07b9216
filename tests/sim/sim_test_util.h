// Helpers shared by the simulator tests: a manual-time simulator with a link on it, and
// temporary state folders.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <random>
#include <string>

#include "core/link/logger_transfers.h"
#include "core/link/usb_device.h"
#include "core/logger/logger_header.h"
#include "sim/lcu_simulator.h"

namespace lcu::sim::test {

inline SimulatorOptions ManualTime(std::filesystem::path stateDir = {}) {
  SimulatorOptions options;
  options.manualTime = true;
  options.stateDir = std::move(stateDir);
  return options;
}

/// A folder below the system's temporary folder, removed again with the object.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    static const unsigned run = std::random_device{}();
    m_path = std::filesystem::temp_directory_path() /
             ("lcu_sim_test_" + std::to_string(run) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

inline LoggerHeader ReadHeader(CUsbDevice& device) {
  LoggerHeader header;
  EXPECT_TRUE(ReadLoggerHeader(device, header.Bytes()));
  return header;
}

inline void SetLogging(CUsbDevice& device, bool on) {
  ASSERT_TRUE(device.VendorWrite(LCU_WRITE_WORD, 0xF752, on ? 0x80 : 0));
}

}  // namespace lcu::sim::test
