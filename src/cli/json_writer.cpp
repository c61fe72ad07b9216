#include "cli/json_writer.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "cli/utf8_sequence.h"

namespace lcu::cli {

namespace {

void AppendEscape(std::string& out, unsigned codePoint) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "\\u%04X", codePoint);
  out += text.data();
}

bool IsControl(unsigned codePoint) { return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F); }

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  out.reserve(text.size() + 2);
  while (!text.empty()) {
    const auto byte = static_cast<unsigned char>(text.front());
    std::size_t length = 1;
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += static_cast<char>(byte);
    } else if (byte < 0x80) {
      if (IsControl(byte)) {
        AppendEscape(out, byte);
      } else {
        out += static_cast<char>(byte);
      }
    } else if ((length = Utf8SequenceLength(text)) != 0) {
      const char32_t codePoint = Utf8CodePoint(text.substr(0, length));
      if (IsControl(codePoint) || IsDirectionOverride(codePoint)) {
        AppendEscape(out, static_cast<unsigned>(codePoint));
      } else {
        out.append(text.substr(0, length));
      }
    } else {
      length = 1;
      if (IsControl(byte)) {
        AppendEscape(out, byte);
      } else {
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
      }
    }
    text.remove_prefix(length);
  }
  out += '"';
  return out;
}

void JsonWriter::BeginValue() {
  if (m_afterKey) {
    m_afterKey = false;
    return;
  }
  if (m_hasItems.empty()) return;
  if (m_hasItems.back()) m_text += ',';
  m_hasItems.back() = true;
}

JsonWriter& JsonWriter::Open(char bracket) {
  BeginValue();
  m_text += bracket;
  m_hasItems.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
  m_text += bracket;
  m_hasItems.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginObject() { return Open('{'); }
JsonWriter& JsonWriter::EndObject() { return Close('}'); }
JsonWriter& JsonWriter::BeginArray() { return Open('['); }
JsonWriter& JsonWriter::EndArray() { return Close(']'); }

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeginValue();
  m_text += JsonString(name);
  m_text += ':';
  m_afterKey = true;
  return *this;
}

JsonWriter& JsonWriter::Value(std::string_view text) {
  BeginValue();
  m_text += JsonString(text);
  return *this;
}

JsonWriter& JsonWriter::Value(std::int64_t number) { return Literal(std::to_string(number)); }

JsonWriter& JsonWriter::Value(double number) {
  if (!std::isfinite(number)) return Null();
  if (number == 0) number = 0;  // no "-0"
  std::array<char, 32> text{};
  const auto result = std::to_chars(text.data(), text.data() + text.size(), number);
  return Literal(std::string_view(text.data(), static_cast<std::size_t>(result.ptr - text.data())));
}

JsonWriter& JsonWriter::Literal(std::string_view text) {
  BeginValue();
  m_text += text;
  return *this;
}

}  // namespace lcu::cli
