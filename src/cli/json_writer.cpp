#include "cli/json_writer.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace lcu::cli {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

/// The length of the valid UTF-8 sequence at the start of text, or 0: no overlong forms, no
/// surrogates, nothing above U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char lowest = 0x80;
  unsigned char highest = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) lowest = 0xA0;
    if (lead == 0xED) highest = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) lowest = 0x90;
    if (lead == 0xF4) highest = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < lowest || byte(1) > highest) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (!IsContinuation(byte(i))) return 0;
  return length;
}

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
      // A C1 control is the two bytes C2 80 to C2 9F.
      const auto second = static_cast<unsigned char>(text[1]);
      if (byte == 0xC2 && IsControl(second)) {
        AppendEscape(out, second);
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
