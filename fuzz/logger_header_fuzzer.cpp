// The logger header and its buffer table: the input is a header page as the LCU sends it
// (shorter inputs are refused, as a short read of the header is). A table that passes
// ValidateBufferTable must give extents that a download can read from the data memory and
// write in order; an image that passes ValidateUploadImage must lay out into a table that
// passes ValidateBufferTable for every memory size the upload accepts.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/commands/configuration_upload.h"
#include "core/logger/logger_header.h"
#include "fuzz_check.h"

namespace {

void CheckExtents(const lcu::LoggerHeader& header) {
  const std::uint64_t memoryEnd = header.DataMemoryBytes();
  std::uint64_t fileSize = lcu::kLoggerHeaderSize;
  for (std::size_t i = 0; i < header.BufferCount(); ++i) {
    const lcu::BufferExtent extent = header.ExtentOf(i);
    const std::uint64_t from = lcu::LinearOf(extent.readFrom);
    LCU_FUZZ_CHECK(from >= lcu::kPageSize);
    LCU_FUZZ_CHECK(from + extent.length <= memoryEnd);
    LCU_FUZZ_CHECK(std::uint64_t{extent.newerLength} + extent.olderLength == extent.length);
    LCU_FUZZ_CHECK(extent.olderOffset <= extent.length);
    LCU_FUZZ_CHECK(std::uint64_t{extent.olderOffset} + extent.olderLength <= extent.length);
    fileSize += extent.length;
  }
  LCU_FUZZ_CHECK(fileSize <= lcu::kLoggerHeaderSize + memoryEnd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < lcu::kLoggerHeaderSize) return 0;
  const lcu::LoggerHeader header(std::span(data, size).first<lcu::kLoggerHeaderSize>());
  const std::string configId = header.Text(lcu::hdr::kConfigId, lcu::hdr::kConfigIdLength);
  const std::string version = header.Text(lcu::hdr::kConfigVersion, lcu::hdr::kConfigVersionLength);
  LCU_FUZZ_CHECK(configId.size() <= lcu::hdr::kConfigIdLength && version.size() <= lcu::hdr::kConfigVersionLength);

  if (!lcu::ValidateBufferTable(header)) CheckExtents(header);

  if (!lcu::ValidateUploadImage(header)) {
    // The memory size the LCU reports, within what the upload takes, and both ends.
    const std::uint16_t reported = header.MemorySize();
    for (const std::uint16_t memorySize : {std::uint16_t{1}, std::uint16_t{2047}, reported}) {
      if (memorySize == 0 || memorySize > 2047) continue;
      lcu::CalibrationImage image = header;
      lcu::LayOutBuffers(image, memorySize);
      image.SetU16(lcu::hdr::kMemorySize, memorySize);
      image.SetU16(lcu::hdr::kWrapFlag, 0);
      LCU_FUZZ_CHECK(!lcu::ValidateBufferTable(image));
      CheckExtents(image);
    }
  }
  return 0;
}
