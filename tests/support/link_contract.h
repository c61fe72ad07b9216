// The contract every UsbBackend keeps with the link: the same steps, run through CUsbDevice
// over the backend under test and over a fresh simulator reached directly, give the same
// bytes. Used for the replay of a transcript and for libusb under an emulated device.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/link/logger_transfers.h"
#include "core/link/usb_device.h"
#include "sim/lcu_simulator.h"
#include "support/recording_prompter.h"

namespace lcu::test {

inline sim::SimulatorOptions ContractSimulatorOptions() {
  sim::SimulatorOptions options;
  options.manualTime = true;  // live values and the clock stay put: two runs see the same LCU
  return options;
}

struct ContractStep {
  const char* name;
  /// What the step saw, as bytes; empty with a failure recorded when a call failed.
  std::function<std::vector<std::uint8_t>(CUsbDevice&)> run;
};

inline std::vector<std::uint8_t> Failed(CUsbDevice& device, const char* what) {
  ADD_FAILURE() << what << " failed: " << device.LastErrorText();
  return {};
}

inline std::vector<std::uint8_t> Header(CUsbDevice& device) {
  std::vector<std::uint8_t> header(kLoggerHeaderSize);
  return ReadLoggerHeader(device, std::span<std::uint8_t, kLoggerHeaderSize>(header)) ? header
                                                                                      : Failed(device, "header read");
}

/// The steps in the order they run; each starts on a link that has just polled.
inline std::vector<ContractStep> ContractSteps() {
  return {
      {"status poll",
       [](CUsbDevice& device) {
         device.PollStatus();
         if (!device.IsOnline()) return Failed(device, "status poll");
         return std::vector<std::uint8_t>(device.m_status.begin(), device.m_status.end());
       }},
      {"header read", [](CUsbDevice& device) { return Header(device); }},
      {"block read across pages",
       [](CUsbDevice& device) {
         // From window address 0xB000 of page 1, 40000 bytes run on through pages 2 and 3:
         // two 16 KiB chunks and a remainder.
         constexpr std::uint32_t kLength = 40000;
         RecordingPrompter prompter;
         std::vector<std::uint8_t> block(LoggerBlockTransferSize(kLength));
         return ReadLoggerBlock(device, prompter, block, kLength, 0xB000, 1) ? block : Failed(device, "block read");
       }},
      {"header write",
       [](CUsbDevice& device) {
         std::vector<std::uint8_t> header = Header(device);
         if (header.empty()) return header;
         for (std::size_t i = 0x3F00; i < 0x3F40; ++i) header[i] = static_cast<std::uint8_t>(i * 7);
         const bool written = WriteLoggerHeader(device, std::span<const std::uint8_t, kLoggerHeaderSize>(header));
         return written ? Header(device) : Failed(device, "header write");
       }},
      {"word write",
       [](CUsbDevice& device) {
         std::vector<std::uint8_t> block(64);
         const bool ok = device.VendorWrite(LCU_WRITE_WORD, 0x8200, 0xA5) &&
                         device.VendorRead(LCU_READ_BLOCK, 0x8200, 0, 64, block);
         return ok ? block : Failed(device, "word write");
       }},
      {"channel exchange",
       [](CUsbDevice& device) {
         std::array<std::uint8_t, 64> list{};
         for (std::size_t i = 0; i < 16; ++i) list[i * 2] = static_cast<std::uint8_t>(i);
         std::vector<std::uint8_t> values(64);
         const bool ok = device.VendorWrite(LCU_BULK_WRITE, 0xF710, 0) && BulkWriteAll(device, list) &&
                         device.VendorRead(LCU_READ_CHANNELS, 0, 0, 64, values);
         return ok ? values : Failed(device, "channel exchange");
       }},
      {"firmware write",
       [](CUsbDevice& device) {
         std::vector<std::uint8_t> image(24576);
         for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
         std::vector<std::uint8_t> program(32768);
         const bool ok = device.VendorWrite(LCU_LOAD_FIRMWARE, 0x2000, 0x6B3D) && BulkWriteAll(device, image) &&
                         device.VendorWrite(LCU_BULK_READ, 0x0000, 0) && BulkReadAll(device, program);
         return ok ? program : Failed(device, "firmware write and read back");
       }},
  };
}

/// Runs every step over the backend and over a fresh simulator and compares what they saw.
inline void ExpectContract(UsbBackend& backend) {
  sim::LcuSimulator reference(ContractSimulatorOptions());
  CUsbDevice expected(reference);
  CUsbDevice actual(backend);
  for (const ContractStep& step : ContractSteps()) {
    SCOPED_TRACE(step.name);
    expected.PollStatus();
    actual.PollStatus();
    ASSERT_TRUE(actual.IsOnline()) << actual.LastErrorText();
    const std::vector<std::uint8_t> want = step.run(expected);
    const std::vector<std::uint8_t> got = step.run(actual);
    ASSERT_FALSE(want.empty());
    EXPECT_TRUE(got == want) << "the backend saw other bytes than the simulator gives";
  }
}

}  // namespace lcu::test
