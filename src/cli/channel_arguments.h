// Channel numbers, raw readings and typed values on the command line. Each is taken whole
// or refused as a usage error, so that a typing slip never reaches the LCU or the
// calibration file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class Validator;
}

namespace lcu::cli {

/// Channel numbers that have an entry in the channel table.
inline constexpr std::uint16_t kLastChannelNumber = 1023;

/// True with the channel when text is a decimal number from 0 to 1023.
bool ParseChannelNumber(std::string_view text, std::uint16_t& channel);

/// True with the reading when text is a 32-bit unsigned number, in decimal or in hex after
/// 0x ("4095", "0x00012345").
bool ParseRawReading(std::string_view text, std::uint32_t& reading);

/// True with the value when text is a finite decimal number that a float can hold
/// ("0", "-12.5", "1e3").
bool ParseTypedValue(std::string_view text, float& value);

/// The channel numbers of texts that ChannelNumberValidator has let through.
std::vector<std::uint16_t> ChannelNumbersOf(const std::vector<std::string>& texts);

/// Usage-error checks of the parsers above, for the command-line declarations.
const CLI::Validator& ChannelNumberValidator();
const CLI::Validator& RawReadingValidator();
const CLI::Validator& TypedValueValidator();

}  // namespace lcu::cli
