#include "core/messages/message_text.h"

namespace lcu {

namespace {

std::string Replaced(std::string_view message, std::string_view placeholder, std::string_view text) {
  std::string out(message);
  const std::size_t at = out.find(placeholder);
  if (at != std::string::npos) out.replace(at, placeholder.size(), text);
  return out;
}

}  // namespace

std::string WithNumber(std::string_view message, std::size_t number) {
  return Replaced(message, "%u", std::to_string(number));
}

std::string WithText(std::string_view message, std::string_view text) { return Replaced(message, "%s", text); }

}  // namespace lcu
