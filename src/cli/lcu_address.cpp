#include "cli/lcu_address.h"

#include <cctype>
#include <string>

#include "cli/cli11.h"
#include "cli/cli_messages.h"

namespace lcu::cli {

bool ParseLcuAddress(std::string_view text, std::uint16_t& address) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  if (text.empty()) return false;
  unsigned value = 0;
  for (const char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
    value = value * 16 + static_cast<unsigned>(digit);
    if (value > 0xFFFF) return false;
  }
  address = static_cast<std::uint16_t>(value);
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
