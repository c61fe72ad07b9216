// JsonWriter: the one JSON value a command prints with --json, written as it is built, on one
// line. Field names are part of the command line's contract (README lists them per command).
//
// Texts from the LCU and from setup files are 8-bit and need not be UTF-8, while JSON must
// be: a valid UTF-8 sequence is kept, and every other byte is read as Latin-1 (0xE9 becomes
// "é"), so that the output is always valid UTF-8 and no byte is lost. Control characters
// (U+0000 to U+001F, U+007F to U+009F) and the direction overrides (U+202A to U+202E,
// U+2066 to U+2069) are written as \uXXXX, quotes and backslashes escaped.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lcu::cli {

/// text as a JSON string, quotes included.
std::string JsonString(std::string_view text);

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  /// The name of the next value in an object.
  JsonWriter& Key(std::string_view name);

  JsonWriter& Value(std::string_view text);
  JsonWriter& Value(const char* text) { return Value(std::string_view(text)); }
  JsonWriter& Value(std::int64_t number);
  template <std::integral T>
  requires(!std::same_as<T, bool>) JsonWriter& Value(T number) { return Value(static_cast<std::int64_t>(number)); }
  /// The shortest number that reads back as exactly this double (0 for a negative zero);
  /// null for an infinity or a NaN, which JSON cannot hold.
  JsonWriter& Value(double number);
  JsonWriter& Value(std::same_as<bool> auto flag) { return Literal(flag ? "true" : "false"); }
  JsonWriter& Null() { return Literal("null"); }

  /// Key and value in one.
  template <typename T>
  JsonWriter& Field(std::string_view name, const T& value) {
    return Key(name).Value(value);
  }

  /// The value written so far, with a line end once it is complete.
  std::string Text() const { return m_text + '\n'; }

 private:
  JsonWriter& Literal(std::string_view text);
  void BeginValue();
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);

  std::string m_text;
  std::vector<bool> m_hasItems;  // per open object or array: an item has been written
  bool m_afterKey = false;
};

}  // namespace lcu::cli
