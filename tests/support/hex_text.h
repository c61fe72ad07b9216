// The core's Intel-HEX writer under the names the tests use, and text as bytes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/firmware/hex_writer.h"

namespace lcu::test {

using lcu::HexEndRecord;
using lcu::HexRecord;
using lcu::HexRecords;
using lcu::kHexExtendedLinear;
using lcu::kHexExtendedSegment;

inline std::vector<std::uint8_t> BytesOf(std::string_view text) { return {text.begin(), text.end()}; }

}  // namespace lcu::test
