// The Intel-HEX reader of Load Hex File: the input is the whole hex file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "firmware/hex_image.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::array<std::uint8_t, lcu::kFirmwareImageSize> image{};
  const lcu::HexReadResult result = lcu::ReadHexImage(std::span(data, size), image);
  const std::string text = lcu::HexErrorText(result);
  LCU_FUZZ_CHECK(result.Ok() == text.empty());
  if (result.Ok()) {
    // An accepted image is what Load Hex File sends: it must carry its own checksum.
    LCU_FUZZ_CHECK(lcu::FirmwareChecksum(image) ==
                   (image[lcu::kFirmwareChecksumOffset] | (image[lcu::kFirmwareChecksumOffset + 1] << 8)));
    LCU_FUZZ_CHECK(result.line == 0);
  } else if (result.error != lcu::HexError::kFileTooLarge) {
    LCU_FUZZ_CHECK(result.line >= 1);
  }
  return 0;
}
