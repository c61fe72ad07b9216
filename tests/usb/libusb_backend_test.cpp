// The libusb backend against an LCU on an emulated USB bus: the same bytes as the simulator
// gives directly, every device with the LCU's product id listed with its verdict and the
// strangers among them left alone, libusb's errors in the user's words, and an LCU that is
// unplugged and plugged in again.
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "emulated_lcu.h"
#include "support/link_contract.h"
#include "usb/libusb_backend.h"
#include "usb/usb_errors.h"

namespace lcu::test {
namespace {

constexpr std::uint16_t kVendorId = 0x1234;

// Root opens a device node whatever its permissions; without the capabilities that allow it,
// in this thread and for as long as the object lives, root is held to them as a user is.
class RootHeldToPermissions {
 public:
  RootHeldToPermissions() {
    if (syscall(SYS_capget, &m_header, m_saved.data()) != 0) return;
    auto lowered = m_saved;
    for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
      lowered[static_cast<std::size_t>(CAP_TO_INDEX(capability))].effective &= ~CAP_TO_MASK(capability);
    }
    m_lowered = syscall(SYS_capset, &m_header, lowered.data()) == 0;
  }
  ~RootHeldToPermissions() {
    if (m_lowered) syscall(SYS_capset, &m_header, m_saved.data());
  }
  RootHeldToPermissions(const RootHeldToPermissions&) = delete;
  RootHeldToPermissions& operator=(const RootHeldToPermissions&) = delete;

 private:
  __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
  std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3> m_saved{};
  bool m_lowered = false;
};

class LibusbEmulated : public ::testing::Test {
 protected:
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

// Every kind of device the search meets: the list gives each its verdict, numbers the LCUs
// as the search does, and opens none of the others.
TEST_F(LibusbEmulated, ListGivesEveryDeviceWithTheProductIdItsVerdict) {
  EmulatedDevice otherProduct(m_bus, 2, {.productId = 0x1235}, nullptr);
  EmulatedDevice noVendorInterface(m_bus, 3, {.interfaceClass = 0x08}, nullptr);
  EmulatedDevice missingEndpoint(m_bus, 4, {.bulkPair = false}, nullptr);
  sim::LcuSimulator otherSimulator{ContractSimulatorOptions()};
  EmulatedDevice otherVendor(m_bus, 5, {.vendorId = 0x4321}, &otherSimulator);
  sim::LcuSimulator busySimulator{ContractSimulatorOptions()};
  EmulatedDevice busy(m_bus, 6, {.claimBusy = true}, &busySimulator);
  sim::LcuSimulator deniedSimulator{ContractSimulatorOptions()};
  EmulatedDevice denied(m_bus, 7, {.accessDenied = true}, &deniedSimulator);
  EmulatedDevice lcu(m_bus, 8, {}, &m_simulator);

  using usb::LcuVerdict;
  // Each device's verdict and index in the search, without a vendor id and with the LCU's.
  const struct {
    const char* place;
    LcuVerdict verdict[2];
    std::optional<int> index[2];
  } devices[] = {
      {"1:3", {LcuVerdict::kNoVendorInterface, LcuVerdict::kNoVendorInterface}, {}},
      {"1:4", {LcuVerdict::kMissingEndpoints, LcuVerdict::kMissingEndpoints}, {}},
      {"1:5", {LcuVerdict::kLcu, LcuVerdict::kOtherVendor}, {0, {}}},
      {"1:6", {LcuVerdict::kBusy, LcuVerdict::kBusy}, {1, 0}},
      {"1:7", {LcuVerdict::kPermissionDenied, LcuVerdict::kPermissionDenied}, {2, 1}},
      {"1:8", {LcuVerdict::kLcu, LcuVerdict::kLcu}, {3, 2}},
  };
  const RootHeldToPermissions asUser;
  for (const std::optional<std::uint16_t> vendorId : {std::optional<std::uint16_t>(), std::optional(kVendorId)}) {
    SCOPED_TRACE(vendorId ? "vendor id set" : "no vendor id");
    const int column = vendorId ? 1 : 0;
    usb::LibusbBackend backend({.vendorId = vendorId});
    const std::optional<std::vector<usb::LcuCandidate>> listed = backend.ListCandidates();
    ASSERT_TRUE(listed);
    ASSERT_EQ(listed->size(), std::size(devices));
    for (std::size_t i = 0; i < listed->size(); ++i) {
      const usb::LcuCandidate& got = (*listed)[i];
      const auto& expected = devices[i];
      EXPECT_EQ(DevicePlaceText(got.bus, got.ports), expected.place);
      EXPECT_EQ(got.verdict, expected.verdict[column]) << expected.place;
      EXPECT_EQ(got.index, expected.index[column]) << expected.place;
      EXPECT_EQ(got.reason.empty(), expected.verdict[column] == LcuVerdict::kLcu) << expected.place;
      EXPECT_EQ(got.productId, kLcuProductId);
    }
    EXPECT_EQ((*listed)[3].reason, usb::text::kBusy);
    EXPECT_EQ((*listed)[4].reason, usb::text::kAccessDenied);

    // The search meets the same LCUs in the same order and opens the first the list takes.
    const EmulatedDevice& first = vendorId ? lcu : otherVendor;
    const int before = first.RequestCount();
    CUsbDevice link(backend);
    link.PollStatus();
    EXPECT_TRUE(link.IsOnline()) << link.LastErrorText();
    EXPECT_GT(first.RequestCount(), before);
  }
  EXPECT_EQ(otherProduct.RequestCount(), 0);
  EXPECT_EQ(noVendorInterface.RequestCount(), 0);
  EXPECT_EQ(missingEndpoint.RequestCount(), 0);
}

// A stalled request closes the link and the next poll opens it again; an unplugged LCU goes
// off line and comes back once it is plugged in again.
TEST_F(LibusbEmulated, StallAndUnplugCloseTheLinkAndThePollReopensIt) {
  EmulatedDevice lcu(m_bus, 2, {}, &m_simulator);
  usb::LibusbBackend backend;
  CUsbDevice link(backend);
  link.PollStatus();
  ASSERT_TRUE(link.IsOnline());

  m_simulator.SetFaults({.failTransfer = 1});
  std::array<std::uint8_t, 64> block{};
  EXPECT_FALSE(link.VendorRead(LCU_READ_BLOCK, 0xFE36, 0, 64, block));
  EXPECT_EQ(link.m_hDevice, kInvalidUsbHandle);
  EXPECT_EQ(link.m_dwLastError, usb::kErrorStall);
  EXPECT_EQ(link.LastErrorText(), usb::text::kStall);
  link.PollStatus();
  EXPECT_TRUE(link.IsOnline());

  lcu.Unplug();
  link.PollStatus();
  EXPECT_FALSE(link.IsOnline());
  EXPECT_EQ(link.m_hDevice, kInvalidUsbHandle);
  EXPECT_EQ(link.m_dwLastError, usb::kErrorDisconnected);
  EXPECT_EQ(link.LastErrorText(), usb::text::kDisconnected);
  link.PollStatus();
  EXPECT_FALSE(link.IsOnline());

  // libusb hears of the device plugged in again on its own thread: the poll is repeated for
  // up to two seconds.
  lcu.Plug();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (link.PollStatus(); !link.IsOnline() && std::chrono::steady_clock::now() < deadline; link.PollStatus())
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(link.IsOnline());
  const auto status = m_simulator.ReadBlock(0x8000);
  EXPECT_TRUE(std::equal(status.begin(), status.end(), link.m_status.begin()));
}

}  // namespace
}  // namespace lcu::test
