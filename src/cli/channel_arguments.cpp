#include "cli/channel_arguments.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "cli/cli11.h"
#include "cli/cli_messages.h"

namespace lcu::cli {

namespace {

// from_chars over the whole text: no blanks, signs or trailing characters are let through.
template <typename T, typename... Format>
bool ParseWhole(std::string_view text, T& value, Format... format) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, format...);
  return error == std::errc() && stop == end;
}

bool HasHexPrefix(std::string_view text) { return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'); }

CLI::Validator MakeValidator(bool (*accepts)(std::string_view), std::string_view refusal, std::string name) {
  return CLI::Validator(
      [accepts, refusal](std::string& text) {
        return accepts(text) ? std::string() : "'" + text + "'" + std::string(refusal);
      },
      std::move(name));
}

}  // namespace

bool ParseChannelNumber(std::string_view text, std::uint16_t& channel) {
  unsigned value = 0;
  if (!ParseWhole(text, value, 10) || value > kLastChannelNumber) return false;
  channel = static_cast<std::uint16_t>(value);
  return true;
}

bool ParseRawReading(std::string_view text, std::uint32_t& reading) {
  if (HasHexPrefix(text)) return ParseWhole(text.substr(2), reading, 16);
  return ParseWhole(text, reading, 10);
}

bool ParseTypedValue(std::string_view text, float& value) {
  float parsed = 0.0f;
  if (!ParseWhole(text, parsed, std::chars_format::general) || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

std::vector<std::uint16_t> ChannelNumbersOf(const std::vector<std::string>& texts) {
  std::vector<std::uint16_t> channels;
  channels.reserve(texts.size());
  for (const std::string& text : texts) {
    std::uint16_t channel = 0;
    ParseChannelNumber(text, channel);
    channels.push_back(channel);
  }
  return channels;
}

const CLI::Validator& ChannelNumberValidator() {
  static const CLI::Validator validator = MakeValidator(
      [](std::string_view text) {
        std::uint16_t channel = 0;
        return ParseChannelNumber(text, channel);
      },
      msg::kNotAChannelNumber, "CHANNEL");
  return validator;
}

const CLI::Validator& RawReadingValidator() {
  static const CLI::Validator validator = MakeValidator(
      [](std::string_view text) {
        std::uint32_t reading = 0;
        return ParseRawReading(text, reading);
      },
      msg::kNotARawReading, "RAW");
  return validator;
}

const CLI::Validator& TypedValueValidator() {
  static const CLI::Validator validator = MakeValidator(
      [](std::string_view text) {
        float value = 0.0f;
        return ParseTypedValue(text, value);
      },
      msg::kNotAValue, "V");
  return validator;
}

}  // namespace lcu::cli
