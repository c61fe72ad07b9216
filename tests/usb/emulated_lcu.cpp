#include "emulated_lcu.h"

#include <cerrno>
#include <cstring>
#include <span>
#include <vector>

#include <linux/usbdevice_fs.h>
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

std::string Hex8(unsigned value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  return {kDigits[(value >> 4) & 0xF], kDigits[value & 0xF]};
}

/// Little-endian, as 16-bit fields lie in descriptors.
std::string Hex16(std::uint16_t value) { return Hex8(value & 0xFFu) + Hex8(value >> 8u); }

/// Device, configuration, interface and bulk endpoint descriptors, as sysfs shows them: one
/// configuration of one interface with bulk IN 0x81 and (unless left out) bulk OUT 0x02 of
/// 512 bytes.
std::string Descriptors(const EmulatedDeviceKind& kind) {
  const unsigned endpoints = kind.bulkPair ? 2 : 1;
  const auto totalLength = static_cast<std::uint16_t>(9 + 9 + 7 * endpoints);
  std::string descriptors = "1201" "0002" "000000" "40" + Hex16(kind.vendorId) + Hex16(kind.productId) +
                            "0001" "010203" "01" +
                            "0902" + Hex16(totalLength) + "01" "01" "00" "80" "32" +
                            "0904" "00" "00" + Hex8(endpoints) + Hex8(kind.interfaceClass) + "00" "00" "00" +
                            "0705" "81" "02" "0002" "00";
  if (kind.bulkPair) descriptors += "0705" "02" "02" "0002" "00";
  return descriptors;
}

}  // namespace

struct EmulatedDevice::Urb {
  UMockdevIoctlData* data = nullptr;  // the client's urb, kept until it is reaped
  int status = 0;
  int actualLength = 0;
};

EmulatedBus::EmulatedBus() : m_testbed(umockdev_testbed_new()) {}

EmulatedBus::~EmulatedBus() { g_object_unref(m_testbed); }

EmulatedDevice::EmulatedDevice(EmulatedBus& bus, int devnum, EmulatedDeviceKind kind, sim::LcuSimulator* simulator)
    : m_bus(bus), m_devnum(devnum), m_kind(kind), m_simulator(simulator) {
  char node[32];
  std::snprintf(node, sizeof node, "/dev/bus/usb/001/%03d", devnum);
  m_devnode = node;
  m_syspath = "/sys/devices/pci0000:00/usb1/1-" + std::to_string(devnum);
  m_handler = umockdev_ioctl_base_new();
  g_signal_connect_data(m_handler, "handle-ioctl", reinterpret_cast<GCallback>(&EmulatedDevice::HandleIoctl), this,
                        nullptr, G_CONNECT_AFTER);
  Plug();
}

EmulatedDevice::~EmulatedDevice() {
  Unplug();
  g_object_unref(m_handler);
  std::lock_guard lock(m_mutex);
  for (auto& urb : m_done) umockdev_ioctl_data_unref(urb->data);
}

void EmulatedDevice::Plug() {
  {
    std::lock_guard lock(m_mutex);
    if (m_plugged) return;
    m_plugged = true;
  }
  // The handler goes on first, so that the node answers as soon as libusb hears of it.
  GError* error = nullptr;
  if (!umockdev_testbed_attach_ioctl(m_bus.Testbed(), m_devnode.c_str(), m_handler, &error)) {
    ADD_FAILURE_AT(__FILE__, __LINE__) << "attach_ioctl: " << (error ? error->message : "?");
    g_clear_error(&error);
  }
  const std::string devnum = std::to_string(m_devnum);
  const std::string record = "P: " + m_syspath.substr(4) + "\n" + "N: " + m_devnode.substr(5) + "\n" +
                             "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\n"
                             "E: BUSNUM=001\nE: DEVNUM=" + devnum + "\nE: DEVNAME=" + m_devnode + "\n" +
                             "A: busnum=1\\n\nA: devnum=" + devnum + "\\n\nA: speed=480\\n\n"
                             "A: bConfigurationValue=1\\n\n"
                             "H: descriptors=" + Descriptors(m_kind) + "\n";
  if (!umockdev_testbed_add_from_string(m_bus.Testbed(), record.c_str(), &error)) {
    ADD_FAILURE_AT(__FILE__, __LINE__) << "add_from_string: " << (error ? error->message : "?");
    g_clear_error(&error);
  }
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

void EmulatedDevice::SetClaimBusy(bool busy) {
  std::lock_guard lock(m_mutex);
  m_claimBusy = busy;
}

void EmulatedDevice::DenyAccess() {
  gchar* root = umockdev_testbed_get_root_dir(m_bus.Testbed());  // the caller frees it
  const std::string node = std::string(root) + m_devnode;
  g_free(root);
  if (chmod(node.c_str(), 0) != 0) ADD_FAILURE_AT(__FILE__, __LINE__) << "chmod " << node << ": " << std::strerror(errno);
}

int EmulatedDevice::RequestCount() const {
  std::lock_guard lock(m_mutex);
  return m_requests;
}

int EmulatedDevice::HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, EmulatedDevice* self) {
  return self->Handle(client);
}

int EmulatedDevice::Handle(UMockdevIoctlClient* client) {
  std::lock_guard lock(m_mutex);
  ++m_requests;
  if (!m_simulator) {
    umockdev_ioctl_client_complete(client, -1, EACCES);
    return TRUE;
  }
  const gulong request = umockdev_ioctl_client_get_request(client);
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(std::uint32_t), nullptr);
      // With scatter-gather libusb sends each bulk transfer as one request, as on most host
      // controllers; the simulator takes a firmware image in one piece only.
      const std::uint32_t value = USBDEVFS_CAP_BULK_SCATTER_GATHER | USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                                  USBDEVFS_CAP_REAP_AFTER_DISCONNECT | USBDEVFS_CAP_ZERO_PACKET;
      std::memcpy(caps->data, &value, sizeof value);
      umockdev_ioctl_data_unref(caps);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_GETDRIVER:
      // No kernel driver is bound to the LCU's interface.
      umockdev_ioctl_client_complete(client, -1, ENODATA);
      return TRUE;
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_DISCONNECT_CLAIM:
      if (m_claimBusy || !m_plugged) {
        umockdev_ioctl_client_complete(client, -1, m_plugged ? EBUSY : ENODEV);
        return TRUE;
      }
      if (m_simHandle == kInvalidUsbHandle) m_simHandle = m_simulator->OpenNode(0);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    case USBDEVFS_RELEASEINTERFACE:
      if (m_simHandle != kInvalidUsbHandle) m_simulator->CloseNode(m_simHandle);
      m_simHandle = kInvalidUsbHandle;
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESET:
    case USBDEVFS_RESETEP:
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    case USBDEVFS_SUBMITURB:
      Submit(client);
      return TRUE;
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
      Reap(client);
      return TRUE;
    case USBDEVFS_DISCARDURB:
      umockdev_ioctl_client_complete(client, -1, EINVAL);
      return TRUE;
    default:
      return FALSE;
  }
}

// The transfer is carried out at once and waits in m_done for libusb to reap it.
void EmulatedDevice::Submit(UMockdevIoctlClient* client) {
  if (!m_plugged) {
    umockdev_ioctl_client_complete(client, -1, ENODEV);
    return;
  }
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  auto urb = std::make_unique<Urb>();
  urb->data = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
  // The client may be another process (lcu run by a test): its buffer is fetched into the urb,
  // which now points at the copy, and goes back to the client with the urb when it is reaped.
  const auto length = static_cast<gsize>(reinterpret_cast<usbdevfs_urb*>(urb->data->data)->buffer_length);
  if (length > 0) {
    UMockdevIoctlData* buffer =
        umockdev_ioctl_data_resolve(urb->data, offsetof(usbdevfs_urb, buffer), length, nullptr);
    if (buffer) umockdev_ioctl_data_unref(buffer);
  }
  Transfer(*urb);
  m_done.push_back(std::move(urb));
  umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedDevice::Transfer(Urb& urb) {
  auto* header = reinterpret_cast<usbdevfs_urb*>(urb.data->data);
  const std::size_t length = static_cast<std::size_t>(header->buffer_length);
  const std::span<std::uint8_t> buffer(static_cast<std::uint8_t*>(header->buffer), length);
  bool ok = false;
  if (header->type == USBDEVFS_URB_TYPE_CONTROL && length >= kSetupPacketSize) {
    const VendorRequest request{buffer[0], buffer[1], le::U16(buffer, 2), le::U16(buffer, 4), le::U16(buffer, 6)};
    const std::span<std::uint8_t> stage = buffer.subspan(kSetupPacketSize);
    ok = m_simulator->ControlRequest(m_simHandle, request, request.IsRead() ? stage : stage.first(0));
    urb.actualLength = ok && request.IsRead() ? request.wLength : 0;
  } else if (header->type == USBDEVFS_URB_TYPE_BULK && header->endpoint == kEndpointIn) {
    std::uint32_t moved = 0;
    ok = m_simulator->BulkRead(m_simHandle, buffer, moved);
    urb.actualLength = static_cast<int>(moved);
  } else if (header->type == USBDEVFS_URB_TYPE_BULK && header->endpoint == kEndpointOut) {
    std::uint32_t moved = 0;
    ok = m_simulator->BulkWrite(m_simHandle, buffer, moved);
    urb.actualLength = static_cast<int>(moved);
  }
  // A request the LCU does not accept stalls its endpoint.
  urb.status = ok ? 0 : -EPIPE;
}

void EmulatedDevice::Reap(UMockdevIoctlClient* client) {
  if (m_done.empty()) {
    umockdev_ioctl_client_complete(client, -1, EAGAIN);
    return;
  }
  std::unique_ptr<Urb> urb = std::move(m_done.front());
  m_done.pop_front();
  auto* header = reinterpret_cast<usbdevfs_urb*>(urb->data->data);
  header->status = urb->status;
  header->actual_length = urb->actualLength;
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  UMockdevIoctlData* pointer = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), nullptr);
  umockdev_ioctl_data_set_ptr(pointer, 0, urb->data);
  umockdev_ioctl_client_complete(client, 0, 0);
  umockdev_ioctl_data_unref(pointer);
  umockdev_ioctl_data_unref(urb->data);
}

}  // namespace lcu::test
