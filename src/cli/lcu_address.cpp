#include "cli/lcu_address.h"

#include <string>

#include "cli/cli11.h"
#include "cli/cli_messages.h"
#include "core/util/strict_number.h"

namespace lcu::cli {

bool ParseLcuAddress(std::string_view text, std::uint16_t& address) {
  const StrictNumber number = ParseStrictNumber(text, {NumberBase::kHex}, 0, 0xFFFF);
  if (!number) return false;
  address = static_cast<std::uint16_t>(number.value);
  return true;
}

const CLI::Validator& LcuAddressValidator() {
  static const CLI::Validator validator(
      [](std::string& text) {
        std::uint16_t address = 0;
        return ParseLcuAddress(text, address) ? std::string() : "'" + text + "'" + std::string(msg::kNotAnLcuAddress);
      },
      "HEX");
  return validator;
}

}  // namespace lcu::cli
