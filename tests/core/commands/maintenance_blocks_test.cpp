// The number field of Initialize LCU.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/commands/maintenance_blocks.h"
#include "core/messages/messages.h"

namespace lcu {
namespace {

TEST(ValidateInitLcuNumber, AcceptsIntegersFromZeroTo65535) {
  const std::string notInteger(msg::kEnterInteger), outOfRange(msg::kEnterIntegerInLcuRange);
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {{"0", std::nullopt},
                                                                                 {"65535", std::nullopt},
                                                                                 {" 17 ", std::nullopt},
                                                                                 {"+5", std::nullopt},
                                                                                 {"65536", outOfRange},
                                                                                 {"-1", outOfRange},
                                                                                 {"99999999999999999999", outOfRange},
                                                                                 {"", notInteger},
                                                                                 {"abc", notInteger},
                                                                                 {"12a", notInteger},
                                                                                 {"1 2", notInteger},
                                                                                 {"0x10", notInteger}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(ValidateInitLcuNumber(text), expected) << '"' << text << '"';
}

}  // namespace
}  // namespace lcu
