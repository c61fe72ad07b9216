// The Intel-HEX reader of Load Hex File: the input is the whole hex file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/firmware/hex_image.h"
#include "core/util/little_endian.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::array<std::uint8_t, lcu::kFirmwareImageSize> image{};
  const lcu::HexReadResult result = lcu::ReadHexImage(std::span(data, size), image);
  const std::string text = lcu::HexErrorText(result);
  LCU_FUZZ_CHECK(result.Ok() == text.empty());
  const bool wholeFile = result.error == lcu::HexError::kFileTooLarge || result.error == lcu::HexError::kNoData ||
                         result.error == lcu::HexError::kNoEndRecord;
  if (result.Ok()) {
    // An accepted image is what Load Hex File sends: it must carry its own checksum and hold
    // at least one byte of the file.
    LCU_FUZZ_CHECK(lcu::FirmwareChecksum(image) == lcu::le::U16(image, lcu::kFirmwareChecksumOffset));
    LCU_FUZZ_CHECK(result.line == 0);
    LCU_FUZZ_CHECK(result.covered >= 1 && result.covered <= lcu::kFirmwareImageSize);
  } else {
    LCU_FUZZ_CHECK(wholeFile ? result.line == 0 : result.line >= 1);
    LCU_FUZZ_CHECK(result.covered == 0);
  }
  return 0;
}
