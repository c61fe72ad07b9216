// Numbers read from text as the C library reads them.
#include <gtest/gtest.h>

#include "core/util/decimal_text.h"

namespace lcu {
namespace {

TEST(DecimalText, ParsesLikeTheCLibrary) {
  struct Case {
    const char* text;
    std::int32_t value;
    bool digits;
  };
  for (const Case c :
       {Case{"17", 17, true}, Case{"  -1", -1, true}, Case{"+42x", 42, true}, Case{"abc", 0, false}, Case{"", 0, false},
        Case{"99999999999", 2147483647, true}, Case{"-99999999999", -2147483647 - 1, true}}) {
    std::int32_t v = 5;
    EXPECT_EQ(TryParseDecimalInt(c.text, v), c.digits) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

}  // namespace
}  // namespace lcu
