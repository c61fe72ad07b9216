// Trailing blanks of stored texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/util/trim_trailing_blanks.h"

namespace lcu {
namespace {

TEST(TrimTrailingBlanks, RemovesOnlyTrailingSpacesAndKeepsTheFirstCharacter) {
  struct Case {
    std::string in, out;
  };
  for (const auto& c : std::vector<Case>{
           {"AB  ", "AB"}, {"   ", " "}, {"x", "x"}, {"", ""}, {"AB\t", "AB\t"}, {" A ", " A"}, {"A B", "A B"}}) {
    std::string text = c.in;
    TrimTrailingBlanks(text);
    EXPECT_EQ(text, c.out) << '"' << c.in << '"';
  }
}

}  // namespace
}  // namespace lcu
