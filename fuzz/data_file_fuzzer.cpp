// The data-file reader behind `lcu dat-info`: the input is the whole data file. The reader
// is given the file's first 16384 bytes and its size, as dat-info gives them, and the whole
// file, as a reader of the buffers' data does; the report is formatted for every file taken.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/logger/data_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const std::span<const std::uint8_t> start = file.first(std::min<std::size_t>(size, lcu::kLoggerHeaderSize));
  std::string_view headRefusal;
  const std::optional<lcu::DataFileInfo> head = lcu::ReadDataFileInfo(start, size, headRefusal);
  std::string_view wholeRefusal;
  const std::optional<lcu::DataFileInfo> whole = lcu::ReadDataFile(file, wholeRefusal);
  LCU_FUZZ_CHECK(head.has_value() == whole.has_value());
  LCU_FUZZ_CHECK(head.has_value() == headRefusal.empty());
  if (!whole) return 0;

  // Only a download the LCU logged into is longer than complete: by the header read afterwards.
  LCU_FUZZ_CHECK(whole->fileSize == size);
  LCU_FUZZ_CHECK(whole->loggedDuring ? whole->fileSize == whole->expectedSize + lcu::kLoggerHeaderSize
                                     : whole->fileSize <= whole->expectedSize);
  LCU_FUZZ_CHECK(!whole->loggedDuring || !whole->Complete());
  std::uint64_t offset = lcu::kLoggerHeaderSize;
  for (const lcu::DataFileBuffer& buffer : whole->buffers) {
    LCU_FUZZ_CHECK(buffer.offset == offset);
    LCU_FUZZ_CHECK(buffer.bytesPresent <= buffer.length);
    const std::span<const std::uint8_t> bytes = lcu::BufferData(file, buffer);
    LCU_FUZZ_CHECK(bytes.size() == buffer.bytesPresent);
    offset += buffer.length;
  }
  LCU_FUZZ_CHECK(offset == whole->expectedSize);
  LCU_FUZZ_CHECK(lcu::FormatDataFileInfo(*head) == lcu::FormatDataFileInfo(*whole));
  return 0;
}
