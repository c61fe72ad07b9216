// Helpers shared by the simulator tests: a manual-time simulator with a link on it, and
// the support folder's temporary folders for state.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "core/link/logger_transfers.h"
#include "core/link/usb_device.h"
#include "core/logger/logger_header.h"
#include "sim/lcu_simulator.h"
#include "support/temp_folder.h"

namespace lcu::sim::test {

using lcu::test::ReadBytes;
using lcu::test::TempFolder;
using lcu::test::WriteBytes;

inline SimulatorOptions ManualTime(std::filesystem::path stateDir = {}) {
  SimulatorOptions options;
  options.manualTime = true;
  options.stateDir = std::move(stateDir);
  return options;
}

inline LoggerHeader ReadHeader(CUsbDevice& device) {
  LoggerHeader header;
  EXPECT_TRUE(ReadLoggerHeader(device, header.Bytes()));
  return header;
}

inline void SetLogging(CUsbDevice& device, bool on) {
  ASSERT_TRUE(device.VendorWrite(LCU_WRITE_WORD, 0xF752, on ? 0x80 : 0));
}

}  // namespace lcu::sim::test
