// The text form of the traffic between the link and a USB backend: one line per call, so that
// a session with an LCU can be kept as a transcript, read by a person, attached to a bug
// report and played back as a regression test.
//
//   open node=0 handle=1 error=0
//   descriptor handle=1 ok=1 data=120100020000...CE04... error=0
//   control handle=1 type=C0 request=41 value=8000 index=0000 length=64 ok=1 data=... error=0
//   bulk-read handle=1 length=16384 ok=1 moved=16384 data=... error=0
//   bulk-write handle=1 length=64 data=... ok=1 moved=64 error=0
//   close handle=1
//   text code=1167 The LCU was disconnected.
//
// data holds what moved (received for reads, sent for writes) in upper-case hex; error is the
// backend's last error code after the call. A text line keeps an error text the programs
// asked for, so that a replay can show the same words. Blank lines and lines starting with
// '#' are comments.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/link/vendor_request.h"

namespace lcu {

enum class UsbCallKind { kOpen, kDescriptor, kControl, kBulkRead, kBulkWrite, kClose, kText };

struct UsbCall {
  UsbCallKind kind = UsbCallKind::kOpen;
  int node = 0;              // open
  std::int64_t handle = 0;   // every kind but text
  VendorRequest request;     // control
  std::uint32_t length = 0;  // bulk: the bytes asked for
  bool ok = false;
  std::uint32_t moved = 0;         // bulk
  std::vector<std::uint8_t> data;  // descriptor, control, bulk
  std::uint32_t error = 0;         // error code after the call; text: the code it explains
  std::string text;                // text
};

/// The call as one transcript line, without the line end.
std::string FormatUsbCall(const UsbCall& call);
/// Reads one transcript line; nullopt with problem set when it is not one.
std::optional<UsbCall> ParseUsbCall(std::string_view line, std::string& problem);
/// The part of a call the program chose (what a replay compares), as transcript words.
std::string DescribeUsbRequest(const UsbCall& call);

std::string ToHex(const std::uint8_t* bytes, std::size_t count);

}  // namespace lcu
