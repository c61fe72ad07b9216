// The libusb backend against an LCU on an emulated USB bus: the same bytes as the simulator
// gives directly, strangers on the bus left alone, libusb's errors in the user's words, and
// an LCU that is unplugged and plugged in again.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "emulated_lcu.h"
#include "link_contract.h"
#include "usb/libusb_backend.h"
#include "usb/usb_errors.h"

namespace lcu::test {
namespace {

constexpr std::uint16_t kVendorId = 0x1234;

class LibusbEmulated : public ::testing::Test {
 protected:
  /// Polls until the LCU answers or two seconds pass: libusb hears of a new device on its
  /// own thread.
  static void PollUntilOnline(CUsbDevice& link) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    do {
      link.PollStatus();
      if (link.m_bOnline) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
  }

  // The bus comes first: libusb must start inside the emulated system.
  EmulatedBus m_bus;
  sim::LcuSimulator m_simulator{ContractSimulatorOptions()};
};

TEST_F(LibusbEmulated, GivesTheSameBytesAsTheSimulator) {
  ASSERT_TRUE(umockdev_in_mock_environment()) << "run under umockdev-wrapper";
  EmulatedDevice lcu(m_bus, 2, {}, &m_simulator);
  usb::LibusbBackend backend;
  ASSERT_TRUE(backend.Ok()) << backend.Error();
  ExpectContract(backend);
}

TEST_F(LibusbEmulated, OpensOnlyAnLcuOfTheConfiguredVendor) {
  EmulatedDevice otherProduct(m_bus, 2, {.productId = 0x1235}, nullptr);
  EmulatedDevice noVendorInterface(m_bus, 3, {.interfaceClass = 0x08}, nullptr);
  EmulatedDevice lcu(m_bus, 4, {}, &m_simulator);

  usb::LibusbBackend otherVendor(0x4321);
  EXPECT_EQ(otherVendor.OpenNode(0), kInvalidUsbHandle);
  EXPECT_EQ(otherVendor.LastError(), usb::kErrorNoLcu);

  for (const std::optional<std::uint16_t> vendor : {std::optional<std::uint16_t>(), std::optional(kVendorId)}) {
    usb::LibusbBackend backend(vendor);
    CUsbDevice link(backend);
    link.PollStatus();
    EXPECT_TRUE(link.m_bOnline) << link.LastErrorText();
    EXPECT_EQ(backend.OpenNode(1), kInvalidUsbHandle) << "only one LCU is on the bus";
  }
  EXPECT_EQ(otherProduct.RequestCount(), 0);
  EXPECT_EQ(noVendorInterface.RequestCount(), 0);
}

TEST_F(LibusbEmulated, StalledRequestClosesTheLinkAndThePollReopensIt) {
  EmulatedDevice lcu(m_bus, 2, {}, &m_simulator);
  usb::LibusbBackend backend;
  CUsbDevice link(backend);
  link.PollStatus();
  ASSERT_TRUE(link.m_bOnline);

  m_simulator.SetFaults({.failTransfer = 1});
  std::array<std::uint8_t, 64> block{};
  EXPECT_FALSE(link.VendorRead(LCU_READ_BLOCK, 0xFE36, 0, 64, block));
  EXPECT_EQ(link.m_hDevice, kInvalidUsbHandle);
  EXPECT_EQ(link.m_dwLastError, usb::kErrorStall);
  EXPECT_EQ(link.LastErrorText(), usb::text::kStall);

  link.PollStatus();
  EXPECT_TRUE(link.m_bOnline);
}

TEST_F(LibusbEmulated, InterfaceHeldElsewhereIsReportedBusy) {
  EmulatedDevice lcu(m_bus, 2, {}, &m_simulator);
  lcu.SetClaimBusy(true);
  usb::LibusbBackend backend;
  CUsbDevice link(backend);
  link.PollStatus();
  EXPECT_FALSE(link.m_bOnline);
  EXPECT_EQ(backend.LastError(), usb::kErrorBusy);
  EXPECT_EQ(backend.ErrorText(backend.LastError()), usb::text::kBusy);

  lcu.SetClaimBusy(false);
  link.PollStatus();
  EXPECT_TRUE(link.m_bOnline);
}

TEST_F(LibusbEmulated, UnpluggedLcuGoesOffLineAndComesBackWhenPluggedIn) {
  EmulatedDevice lcu(m_bus, 2, {}, &m_simulator);
  usb::LibusbBackend backend;
  CUsbDevice link(backend);
  link.PollStatus();
  ASSERT_TRUE(link.m_bOnline);

  lcu.Unplug();
  link.PollStatus();
  EXPECT_FALSE(link.m_bOnline);
  EXPECT_EQ(link.m_hDevice, kInvalidUsbHandle);
  EXPECT_EQ(link.m_dwLastError, usb::kErrorDisconnected);
  EXPECT_EQ(link.LastErrorText(), usb::text::kDisconnected);
  link.PollStatus();
  EXPECT_FALSE(link.m_bOnline);

  lcu.Plug();
  PollUntilOnline(link);
  ASSERT_TRUE(link.m_bOnline);
  const auto status = m_simulator.ReadBlock(0x8000);
  EXPECT_TRUE(std::equal(status.begin(), status.end(), link.m_status.begin()));
}

}  // namespace
}  // namespace lcu::test
