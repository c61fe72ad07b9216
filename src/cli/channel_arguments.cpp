#include "cli/channel_arguments.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "cli/cli11.h"
#include "cli/cli_messages.h"
#include "core/util/strict_number.h"

namespace lcu::cli {

namespace {

CLI::Validator MakeValidator(bool (*accepts)(std::string_view), std::string_view refusal, std::string name) {
  return CLI::Validator(
      [accepts, refusal](std::string& text) {
        return accepts(text) ? std::string() : "'" + text + "'" + std::string(refusal);
      },
      std::move(name));
}

}  // namespace

bool ParseChannelNumber(std::string_view text, std::uint16_t& channel) {
  const StrictNumber number = ParseStrictNumber(text, {NumberBase::kDecimal}, 0, kLastChannelNumber);
  if (!number) return false;
  channel = static_cast<std::uint16_t>(number.value);
  return true;
}

bool ParseRawReading(std::string_view text, std::uint32_t& reading) {
  const StrictNumber number =
      ParseStrictNumber(text, {NumberBase::kDecimalOrHex}, 0, std::numeric_limits<std::uint32_t>::max());
  if (!number) return false;
  reading = static_cast<std::uint32_t>(number.value);
  return true;
}

// from_chars over the whole text: no blanks, signs of its own or trailing characters are let
// through.
bool ParseTypedValue(std::string_view text, float& value) {
  float parsed = 0.0f;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, parsed, std::chars_format::general);
  if (text.empty() || error != std::errc() || stop != end || !std::isfinite(parsed)) return false;
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
