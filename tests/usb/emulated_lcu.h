// An LCU on an emulated USB bus: umockdev's testbed shows libusb a sysfs device and a usbfs
// node, and an ioctl handler answers the usbfs requests from the LCU simulator. The handler
// runs on umockdev's own thread; the simulator locks itself.
//
// The program must run with umockdev's preload library (under umockdev-wrapper).
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include "sim/lcu_simulator.h"

namespace lcu::test {

/// What a device on the emulated bus offers in its descriptors, and how it can be had.
struct EmulatedDeviceKind {
  std::uint16_t vendorId = 0x1234;
  std::uint16_t productId = kLcuProductId;
  std::uint8_t interfaceClass = 0xFF;
  bool bulkPair = true;       // false: the bulk OUT endpoint is missing
  bool claimBusy = false;     // interface claims fail as when another program holds the interface
  bool accessDenied = false;  // the node has no permissions, as before the udev rule is installed
};

class EmulatedBus;

/// One usbfs device node and the handler of its requests. A device whose simulator is null
/// is a stranger: it only counts the requests that reach it.
class EmulatedDevice {
 public:
  EmulatedDevice(EmulatedBus& bus, int devnum, EmulatedDeviceKind kind, sim::LcuSimulator* simulator);
  ~EmulatedDevice();
  EmulatedDevice(const EmulatedDevice&) = delete;
  EmulatedDevice& operator=(const EmulatedDevice&) = delete;

  /// Adds the device to the bus (again, after Unplug).
  void Plug();
  /// Takes the device off the bus; requests already on their way fail as a vanished device does.
  void Unplug();
  /// Requests that reached the handler, the ones libusb makes on opening included.
  int RequestCount() const;

 private:
  /// Answers one request on umockdev's thread; FALSE leaves it to umockdev.
  gboolean Handle(UMockdevIoctlClient* client);
  /// Returns the errno the request fails with, or 0.
  int Submit(UMockdevIoctlClient* client);
  void Reap(UMockdevIoctlClient* client);
  void Transfer(usbdevfs_urb& urb);

  EmulatedBus& m_bus;
  int m_devnum;
  EmulatedDeviceKind m_kind;
  sim::LcuSimulator* m_simulator;
  std::string m_devnode;
  std::string m_syspath;
  UMockdevIoctlBase* m_handler = nullptr;

  mutable std::mutex m_mutex;
  std::deque<UMockdevIoctlData*> m_done;  // the clients' urbs, kept until they are reaped
  UsbHandle m_simHandle = kInvalidUsbHandle;
  bool m_plugged = false;
  int m_requests = 0;
};

class EmulatedBus {
 public:
  EmulatedBus() : m_testbed(umockdev_testbed_new()) {}
  ~EmulatedBus() { g_object_unref(m_testbed); }
  EmulatedBus(const EmulatedBus&) = delete;
  EmulatedBus& operator=(const EmulatedBus&) = delete;

  UMockdevTestbed* Testbed() const { return m_testbed; }

 private:
  UMockdevTestbed* m_testbed;
};

}  // namespace lcu::test
