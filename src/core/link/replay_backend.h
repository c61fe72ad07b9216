// ReplayBackend: plays a transcript (usb_transcript.h) back as if the LCU answered. Each
// call must be the transcript's next call with the same node, handle, request fields, lengths
// and, for bulk writes, the same bytes; it then gets the recorded answer. The first call that
// differs fails, and so does every call after it: the link closes, and Deviation() names the
// transcript line and what differed.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/link/usb_backend.h"
#include "core/link/usb_transcript.h"

namespace lcu {

/// The error code every call reports once the program has left the transcript.
inline constexpr std::uint32_t kErrorReplayDeviation = 0x20000002;

class ReplayBackend final : public UsbBackend {
 public:
  /// Reads a transcript; null with problem set (naming the line) when it is not one.
  static std::unique_ptr<ReplayBackend> FromText(std::string_view text, std::string& problem);
  static std::unique_ptr<ReplayBackend> FromFile(const std::filesystem::path& path, std::string& problem);

  UsbHandle OpenNode(int node) override;
  bool GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) override;
  bool ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) override;
  bool BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) override;
  bool BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) override;
  void CloseNode(UsbHandle handle) override;
  std::uint32_t LastError() const override;
  /// The recorded text of a code, or the deviation for kErrorReplayDeviation.
  std::string ErrorText(std::uint32_t code) const override;

  /// Empty while the program has followed the transcript; else the first difference.
  const std::string& Deviation() const { return m_deviation; }
  /// Call when the program is done: the deviation, or, when calls of the transcript were
  /// never made, the first of them; empty when the whole transcript was played.
  std::string CheckFinished();

 private:
  struct Line {
    std::size_t number = 0;
    UsbCall call;
  };

  ReplayBackend() = default;
  /// The next recorded call when it is the one the program makes now; null after a deviation.
  const UsbCall* Next(const UsbCall& actual);

  std::vector<Line> m_lines;
  std::size_t m_next = 0;
  std::map<std::uint32_t, std::string> m_texts;
  std::uint32_t m_lastError = kErrorInvalidHandle;
  std::string m_deviation;
};

}  // namespace lcu
