#include "emulated_lcu.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>

#include <sys/ioctl.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "core/link/lcu_protocol.h"
#include "core/link/vendor_request.h"
#include "core/util/little_endian.h"

namespace lcu::test {

namespace {

constexpr std::size_t kSetupPacketSize = 8;
constexpr std::uint8_t kEndpointIn = 0x81;
constexpr std::uint8_t kEndpointOut = 0x02;

/// Device, configuration, interface and bulk endpoint descriptors, as sysfs shows them (16-bit
/// fields little-endian): one configuration of one interface with bulk IN 0x81 and (unless
/// left out) bulk OUT 0x02 of 512 bytes.
std::string Descriptors(const EmulatedDeviceKind& kind) {
  const unsigned endpoints = kind.bulkPair ? 2 : 1;
  char text[128];
  std::snprintf(text, sizeof text,
                "12010002000000"
                "40%02x%02x%02x%02x"
                "000101020301"  // device
                "0902%02x00"
                "0101008032"              // configuration
                "09040000%02x%02x000000"  // interface
                "07058102000200%s",       // bulk IN, bulk OUT
                kind.vendorId & 0xFFu, unsigned{kind.vendorId} >> 8, kind.productId & 0xFFu,
                unsigned{kind.productId} >> 8, 9 + 9 + 7 * endpoints, endpoints, unsigned{kind.interfaceClass},
                kind.bulkPair ? "07050202000200" : "");
  return text;
}

/// Reports a failed call of umockdev's and clears its error.
void ExpectDone(gboolean done, GError*& error, const char* what) {
  if (!done) ADD_FAILURE() << what << ": " << (error ? error->message : "?");
  g_clear_error(&error);
}

}  // namespace

EmulatedDevice::EmulatedDevice(EmulatedBus& bus, int devnum, EmulatedDeviceKind kind, sim::LcuSimulator* simulator)
    : m_bus(bus), m_devnum(devnum), m_kind(kind), m_simulator(simulator) {
  char node[32];
  std::snprintf(node, sizeof node, "/dev/bus/usb/001/%03d", devnum);
  m_devnode = node;
  m_syspath = "/sys/devices/pci0000:00/usb1/1-" + std::to_string(devnum);
  m_handler = umockdev_ioctl_base_new();
  gboolean (*handle)(UMockdevIoctlBase*, UMockdevIoctlClient*, EmulatedDevice*) =
      [](UMockdevIoctlBase*, UMockdevIoctlClient* client, EmulatedDevice* self) { return self->Handle(client); };
  g_signal_connect_data(m_handler, "handle-ioctl", reinterpret_cast<GCallback>(handle), this, nullptr, G_CONNECT_AFTER);
  Plug();
}

EmulatedDevice::~EmulatedDevice() {
  Unplug();
  g_object_unref(m_handler);
  std::lock_guard lock(m_mutex);
  for (UMockdevIoctlData* urb : m_done) umockdev_ioctl_data_unref(urb);
}

void EmulatedDevice::Plug() {
  {
    std::lock_guard lock(m_mutex);
    if (m_plugged) return;
    m_plugged = true;
  }
  // The handler goes on first, so that the node answers as soon as libusb hears of it.
  GError* error = nullptr;
  ExpectDone(umockdev_testbed_attach_ioctl(m_bus.Testbed(), m_devnode.c_str(), m_handler, &error), error,
             "attach_ioctl");
  const std::string devnum = std::to_string(m_devnum);
  const std::string record = "P: " + m_syspath.substr(4) + "\n" + "N: " + m_devnode.substr(5) + "\n" +
                             "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\n"
                             "E: BUSNUM=001\nE: DEVNUM=" +
                             devnum + "\nE: DEVNAME=" + m_devnode + "\n" + "A: busnum=1\\n\nA: devnum=" + devnum +
                             "\\n\nA: speed=480\\n\n"
                             "A: bConfigurationValue=1\\n\n"
                             "H: descriptors=" +
                             Descriptors(m_kind) + "\n";
  ExpectDone(umockdev_testbed_add_from_string(m_bus.Testbed(), record.c_str(), &error), error, "add_from_string");
  if (!m_kind.accessDenied) return;
  gchar* root = umockdev_testbed_get_root_dir(m_bus.Testbed());  // the caller frees it
  const std::string node = std::string(root) + m_devnode;
  g_free(root);
  if (chmod(node.c_str(), 0) != 0) ADD_FAILURE() << "chmod " << node << ": " << std::strerror(errno);
}

void EmulatedDevice::Unplug() {
  {
    std::lock_guard lock(m_mutex);
    if (!m_plugged) return;
    m_plugged = false;
    if (m_simulator && m_simHandle != kInvalidUsbHandle) m_simulator->CloseNode(m_simHandle);
    m_simHandle = kInvalidUsbHandle;
  }
  umockdev_testbed_remove_device(m_bus.Testbed(), m_syspath.c_str());
  umockdev_testbed_detach_ioctl(m_bus.Testbed(), m_devnode.c_str(), nullptr);
}

int EmulatedDevice::RequestCount() const {
  std::lock_guard lock(m_mutex);
  return m_requests;
}

gboolean EmulatedDevice::Handle(UMockdevIoctlClient* client) {
  std::lock_guard lock(m_mutex);
  ++m_requests;
  if (!m_simulator) {  // a stranger refuses every request
    umockdev_ioctl_client_complete(client, -1, EACCES);
    return TRUE;
  }
  int error = 0;
  switch (umockdev_ioctl_client_get_request(client)) {
    case USBDEVFS_GET_CAPABILITIES: {
      UMockdevIoctlData* caps =
          umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(std::uint32_t), nullptr);
      // With scatter-gather libusb sends each bulk transfer as one request, as on most host
      // controllers; the simulator takes a firmware image in one piece only.
      const std::uint32_t value = USBDEVFS_CAP_BULK_SCATTER_GATHER | USBDEVFS_CAP_BULK_CONTINUATION |
                                  USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT |
                                  USBDEVFS_CAP_ZERO_PACKET;
      std::memcpy(caps->data, &value, sizeof value);
      umockdev_ioctl_data_unref(caps);
      break;
    }
    case USBDEVFS_GETDRIVER:
      error = ENODATA;  // no kernel driver is bound to the LCU's interface
      break;
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_DISCONNECT_CLAIM:
      if (m_kind.claimBusy || !m_plugged) {
        error = m_plugged ? EBUSY : ENODEV;
      } else if (m_simHandle == kInvalidUsbHandle) {
        m_simHandle = m_simulator->OpenNode(0);
      }
      break;
    case USBDEVFS_RELEASEINTERFACE:
      if (m_simHandle != kInvalidUsbHandle) m_simulator->CloseNode(m_simHandle);
      m_simHandle = kInvalidUsbHandle;
      break;
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESET:
    case USBDEVFS_RESETEP: break;
    case USBDEVFS_SUBMITURB: error = Submit(client); break;
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: Reap(client); return TRUE;
    case USBDEVFS_DISCARDURB: error = EINVAL; break;
    default: return FALSE;
  }
  umockdev_ioctl_client_complete(client, error == 0 ? 0 : -1, error);
  return TRUE;
}

// The transfer is carried out at once and waits in m_done for libusb to reap it.
int EmulatedDevice::Submit(UMockdevIoctlClient* client) {
  if (!m_plugged) return ENODEV;
  UMockdevIoctlData* urb =
      umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(usbdevfs_urb), nullptr);
  // The client may be another process (lcu run by a test): its buffer is fetched into the urb,
  // which now points at the copy, and goes back to the client with the urb when it is reaped.
  auto& header = *reinterpret_cast<usbdevfs_urb*>(urb->data);
  if (header.buffer_length > 0) {
    const auto length = static_cast<gsize>(header.buffer_length);
    if (UMockdevIoctlData* buffer = umockdev_ioctl_data_resolve(urb, offsetof(usbdevfs_urb, buffer), length, nullptr))
      umockdev_ioctl_data_unref(buffer);
  }
  Transfer(header);
  m_done.push_back(urb);
  return 0;
}

void EmulatedDevice::Transfer(usbdevfs_urb& urb) {
  const std::span<std::uint8_t> buffer(static_cast<std::uint8_t*>(urb.buffer),
                                       static_cast<std::size_t>(urb.buffer_length));
  std::uint32_t moved = 0;
  bool ok = false;
  if (urb.type == USBDEVFS_URB_TYPE_CONTROL && buffer.size() >= kSetupPacketSize) {
    const VendorRequest request{buffer[0], buffer[1], le::U16(buffer, 2), le::U16(buffer, 4), le::U16(buffer, 6)};
    const std::span<std::uint8_t> stage = buffer.subspan(kSetupPacketSize);
    ok = m_simulator->ControlRequest(m_simHandle, request, request.IsRead() ? stage : stage.first(0));
    moved = ok && request.IsRead() ? request.wLength : 0;
  } else if (urb.type == USBDEVFS_URB_TYPE_BULK && urb.endpoint == kEndpointIn) {
    ok = m_simulator->BulkRead(m_simHandle, buffer, moved);
  } else if (urb.type == USBDEVFS_URB_TYPE_BULK && urb.endpoint == kEndpointOut) {
    ok = m_simulator->BulkWrite(m_simHandle, buffer, moved);
  }
  // A request the LCU does not accept stalls its endpoint.
  urb.status = ok ? 0 : -EPIPE;
  urb.actual_length = static_cast<int>(moved);
}

void EmulatedDevice::Reap(UMockdevIoctlClient* client) {
  if (m_done.empty()) {
    umockdev_ioctl_client_complete(client, -1, EAGAIN);
    return;
  }
  UMockdevIoctlData* urb = m_done.front();
  m_done.pop_front();
  UMockdevIoctlData* pointer =
      umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(void*), nullptr);
  umockdev_ioctl_data_set_ptr(pointer, 0, urb);
  umockdev_ioctl_client_complete(client, 0, 0);
  umockdev_ioctl_data_unref(pointer);
  umockdev_ioctl_data_unref(urb);
}

}  // namespace lcu::test
