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

inline std::vector<std::uint8_t> ReadBlock(CUsbDevice& device, std::uint16_t address) {
  std::vector<std::uint8_t> block(64);
  if (!device.VendorRead(LCU_READ_BLOCK, address, 0, 64, block)) return Failed(device, "read block");
  return block;
}

inline std::vector<std::uint8_t> Header(CUsbDevice& device) {
  std::vector<std::uint8_t> header(kLoggerHeaderSize);
  if (!ReadLoggerHeader(device, std::span<std::uint8_t, kLoggerHeaderSize>(header))) {
    return Failed(device, "header read");
  }
  return header;
}

/// The steps in the order they run; each starts on a link that has just polled.
inline std::vector<ContractStep> ContractSteps() {
  return {
      {"status poll", [](CUsbDevice& device) {
         device.PollStatus();
         if (!device.m_bOnline) return Failed(device, "status poll");
         return std::vector<std::uint8_t>(device.m_status.begin(), device.m_status.end());
       }},
      {"header read", [](CUsbDevice& device) { return Header(device); }},
      {"block read across pages", [](CUsbDevice& device) {
         // From window address 0xB000 of page 1, 40000 bytes run on through pages 2 and 3:
         // two 16 KiB chunks and a remainder.
         constexpr std::uint32_t kLength = 40000;
         RecordingPrompter prompter;
         std::vector<std::uint8_t> block(LoggerBlockTransferSize(kLength));
         if (!ReadLoggerBlock(device, prompter, block, kLength, 0xB000, 1)) return Failed(device, "block read");
         return block;
       }},
      {"header write", [](CUsbDevice& device) {
         std::vector<std::uint8_t> header = Header(device);
         if (header.empty()) return header;
         for (std::size_t i = 0x3F00; i < 0x3F40; ++i) header[i] = static_cast<std::uint8_t>(i * 7);
         if (!WriteLoggerHeader(device, std::span<const std::uint8_t, kLoggerHeaderSize>(header))) {
           return Failed(device, "header write");
         }
         return Header(device);
       }},
      {"word write", [](CUsbDevice& device) {
         if (!device.VendorWrite(LCU_WRITE_WORD, 0x8200, 0xA5)) return Failed(device, "word write");
         return ReadBlock(device, 0x8200);
       }},
      {"channel exchange", [](CUsbDevice& device) {
         std::array<std::uint8_t, 64> list{};
         for (std::size_t i = 0; i < 16; ++i) list[i * 2] = static_cast<std::uint8_t>(i);
         if (!device.VendorWrite(LCU_BULK_WRITE, 0xF710, 0) || !BulkWriteAll(device, list)) {
           return Failed(device, "channel list");
         }
         std::vector<std::uint8_t> values(64);
         if (!device.VendorRead(LCU_READ_CHANNELS, 0, 0, 64, values)) return Failed(device, "channel values");
         return values;
       }},
      {"firmware write", [](CUsbDevice& device) {
         std::vector<std::uint8_t> image(24576);
         for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
         if (!device.VendorWrite(LCU_LOAD_FIRMWARE, 0x2000, 0x6B3D) || !BulkWriteAll(device, image)) {
           return Failed(device, "firmware write");
         }
         std::vector<std::uint8_t> program(32768);
         if (!device.VendorWrite(LCU_BULK_READ, 0x0000, 0) || !BulkReadAll(device, program)) {
           return Failed(device, "program read");
         }
         return program;
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
    ASSERT_TRUE(actual.m_bOnline) << actual.LastErrorText();
    const std::vector<std::uint8_t> want = step.run(expected);
    const std::vector<std::uint8_t> got = step.run(actual);
    ASSERT_FALSE(want.empty());
    EXPECT_TRUE(got == want) << "the backend saw other bytes than the simulator gives";
  }
}

}  // namespace lcu::test
