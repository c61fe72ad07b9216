// LCU addresses on the command line: 16-bit numbers written in hexadecimal, with or
// without a 0x prefix ("8000", "0xF710").
#pragma once

#include <cstdint>
#include <string_view>

namespace CLI {
class Validator;
}

namespace lcu::cli {

/// True with the address when text is hex digits worth at most FFFF, optionally after 0x.
bool ParseLcuAddress(std::string_view text, std::uint16_t& address);

/// Refuses, as a usage error, an argument that ParseLcuAddress does not take.
const CLI::Validator& LcuAddressValidator();

}  // namespace lcu::cli
