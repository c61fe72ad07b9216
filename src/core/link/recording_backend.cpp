#include "core/link/recording_backend.h"

#include <algorithm>
#include <fstream>

namespace lcu {

RecordingBackend::RecordingBackend(UsbBackend& inner, std::ostream& out) : m_inner(inner), m_out(out) {
  m_out << "# LCU USB transcript: one line per call, see usb_transcript.h\n";
  m_out.flush();
}

std::unique_ptr<RecordingBackend> RecordingBackend::ToFile(std::unique_ptr<UsbBackend> inner,
                                                           const std::filesystem::path& path, std::string& problem) {
  auto file = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
  if (!*file) {
    problem = path.string();
    return nullptr;
  }
  auto recorder = ToStream(std::move(inner), *file);
  recorder->m_ownedOut = std::move(file);
  return recorder;
}

std::unique_ptr<RecordingBackend> RecordingBackend::ToStream(std::unique_ptr<UsbBackend> inner, std::ostream& out) {
  auto recorder = std::make_unique<RecordingBackend>(*inner, out);
  recorder->m_ownedInner = std::move(inner);
  return recorder;
}

RecordingBackend::~RecordingBackend() = default;

// Each line is flushed at once, so that a program that is killed leaves its traffic behind.
void RecordingBackend::Write(const UsbCall& call) const {
  m_out << FormatUsbCall(call) << '\n';
  m_out.flush();
}

UsbHandle RecordingBackend::OpenNode(int node) {
  UsbCall call;
  call.kind = UsbCallKind::kOpen;
  call.node = node;
  call.handle = m_inner.OpenNode(node);
  call.error = m_inner.LastError();
  Write(call);
  return static_cast<UsbHandle>(call.handle);
}

bool RecordingBackend::GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) {
  UsbCall call;
  call.kind = UsbCallKind::kDescriptor;
  call.handle = handle;
  call.ok = m_inner.GetDeviceDescriptor(handle, descriptor);
  if (call.ok) call.data.assign(descriptor.begin(), descriptor.end());
  call.error = m_inner.LastError();
  Write(call);
  return call.ok;
}

bool RecordingBackend::ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) {
  UsbCall call;
  call.kind = UsbCallKind::kControl;
  call.handle = handle;
  call.request = request;
  call.ok = m_inner.ControlRequest(handle, request, data);
  if (call.ok && request.IsRead()) call.data.assign(data.begin(), data.end());
  call.error = m_inner.LastError();
  Write(call);
  return call.ok;
}

bool RecordingBackend::BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) {
  UsbCall call;
  call.kind = UsbCallKind::kBulkRead;
  call.handle = handle;
  call.length = static_cast<std::uint32_t>(buffer.size());
  call.ok = m_inner.BulkRead(handle, buffer, moved);
  call.moved = call.ok ? moved : 0;
  if (call.ok) {
    const std::span<const std::uint8_t> received = buffer.first(std::min<std::size_t>(moved, buffer.size()));
    call.data.assign(received.begin(), received.end());
  }
  call.error = m_inner.LastError();
  Write(call);
  return call.ok;
}

bool RecordingBackend::BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) {
  UsbCall call;
  call.kind = UsbCallKind::kBulkWrite;
  call.handle = handle;
  call.length = static_cast<std::uint32_t>(buffer.size());
  call.data.assign(buffer.begin(), buffer.end());
  call.ok = m_inner.BulkWrite(handle, buffer, moved);
  call.moved = call.ok ? moved : 0;
  call.error = m_inner.LastError();
  Write(call);
  return call.ok;
}

void RecordingBackend::CloseNode(UsbHandle handle) {
  m_inner.CloseNode(handle);
  UsbCall call;
  call.kind = UsbCallKind::kClose;
  call.handle = handle;
  Write(call);
}

std::uint32_t RecordingBackend::LastError() const { return m_inner.LastError(); }

std::string RecordingBackend::ErrorText(std::uint32_t code) const {
  UsbCall call;
  call.kind = UsbCallKind::kText;
  call.error = code;
  call.text = m_inner.ErrorText(code);
  if (m_textsWritten.insert(code).second) Write(call);
  return call.text;
}

}  // namespace lcu
