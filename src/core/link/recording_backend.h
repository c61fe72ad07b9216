// RecordingBackend: a UsbBackend that passes every call on to another backend and writes it
// as one transcript line (usb_transcript.h). Works over any backend, the simulator included,
// so a session with a real LCU can be kept for a bug report or a regression test.
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <set>
#include <string>

#include "core/link/usb_backend.h"
#include "core/link/usb_transcript.h"

namespace lcu {

class RecordingBackend final : public UsbBackend {
 public:
  /// Records into out; inner and out must outlive the recorder.
  RecordingBackend(UsbBackend& inner, std::ostream& out);
  /// Takes inner over and records into a new file at path; null with problem set when the
  /// file cannot be created.
  static std::unique_ptr<RecordingBackend> ToFile(std::unique_ptr<UsbBackend> inner, const std::filesystem::path& path,
                                                  std::string& problem);
  /// Takes inner over and records into out (a console stream, say), which must outlive it.
  static std::unique_ptr<RecordingBackend> ToStream(std::unique_ptr<UsbBackend> inner, std::ostream& out);
  ~RecordingBackend() override;
  RecordingBackend(const RecordingBackend&) = delete;
  RecordingBackend& operator=(const RecordingBackend&) = delete;

  UsbHandle OpenNode(int node) override;
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) override;
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) override;
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override;
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override;
  void CloseNode(UsbHandle handle) override;
  std::uint32_t LastError() const override;
  /// The inner backend's text; each text asked for is kept in the transcript once.
  std::string ErrorText(std::uint32_t code) const override;
  bool BulkReadIsReadFile() const override { return m_inner.BulkReadIsReadFile(); }

 private:
  void Write(const UsbCall& call) const;

  std::unique_ptr<UsbBackend> m_ownedInner;
  std::unique_ptr<std::ostream> m_ownedOut;
  UsbBackend& m_inner;
  std::ostream& m_out;
  mutable std::set<std::uint32_t> m_textsWritten;
};

}  // namespace lcu
