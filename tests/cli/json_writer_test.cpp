// The JSON the commands print: every string escaped so that a parser takes it back, and any
// byte that is not UTF-8 read as Latin-1 rather than passed on as invalid UTF-8.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "cli/json_writer.h"

namespace lcu::cli {
namespace {

TEST(JsonString, EscapesWhatJsonForbidsAndTurnsStrayBytesIntoUtf8) {
  const struct {
    std::string text;
    const char* json;
  } cases[] = {
      {"SAMPLE SETUP", "\"SAMPLE SETUP\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {std::string("\x1B"
                   "c\n\t\x7F",
                   5) +
           std::string(1, '\0'),
       "\"\\u001Bc\\u000A\\u0009\\u007F\\u0000\""},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
       "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},  // valid UTF-8 kept
      {"S\xE9T", "\"S\xC3\xA9T\""},                       // a Latin-1 byte
      {"\xC3", "\"\xC3\x83\""},                           // a sequence cut short
      {"\xC0\xAF", "\"\xC3\x80\xC2\xAF\""},               // an overlong form is two Latin-1 bytes
      {"\xED\xA0\x80", "\"\xC3\xAD\xC2\xA0\\u0080\""},    // a surrogate; the C1 control escaped
      {"\xC2\x85", "\"\\u0085\""},                        // a C1 control in UTF-8
      {"a\x9B"
       "2J",
       "\"a\\u009B2J\""},  // a lone C1 control
      {"\xE2\x80\xAE"
       "cba\xE2\x81\xA9",
       "\"\\u202Ecba\\u2069\""},                                     // direction overrides
      {"\xE2\x80\xA9\xE2\x80\xAF", "\"\xE2\x80\xA9\xE2\x80\xAF\""},  // next to them, kept
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.text;
}

TEST(JsonWriter, SeparatesItemsInNestedObjectsAndArrays) {
  JsonWriter json;
  json.BeginArray().BeginObject().Field("a", 1).Key("b").BeginArray().Value(true).Null().EndArray().EndObject();
  json.BeginObject().EndObject().Value(-5).EndArray();
  EXPECT_EQ(json.Text(), "[{\"a\":1,\"b\":[true,null]},{},-5]\n");
}

// Doubles read back exactly (a float widened keeps all its digits); JSON has no infinity or NaN.
TEST(JsonWriter, WritesDoublesExactlyAndNullForWhatJsonCannotHold) {
  JsonWriter json;
  json.BeginArray().Value(0.1).Value(double{0.1f}).Value(-2.5e300).Value(4294967295.0).Value(-0.0);
  json.Value(std::numeric_limits<double>::infinity()).Value(std::numeric_limits<double>::quiet_NaN()).EndArray();
  EXPECT_EQ(json.Text(), "[0.1,0.10000000149011612,-2.5e+300,4294967295,0,null,null]\n");
}

}  // namespace
}  // namespace lcu::cli
