// --device's text: an LCU's number or its place on the bus, read back as lcu list writes it.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/link/device_selector.h"

namespace lcu {
namespace {

TEST(DeviceSelector, TakesANumberOrAPlaceAndRefusesAnythingElse) {
  const struct {
    const char* text;
    bool taken;
  } cases[] = {
      {"0", true},
      {"255", true},
      {"256", false},
      {"-1", false},
      {"1:4", true},
      {"1:4.2", true},
      {"3:1.2.3.4.5.6.7", true},
      {"3:1.2.3.4.5.6.7.1", false},
      {"0:4", false},
      {"1:0", false},
      {"1:", false},
      {"1:4.", false},
      {":4", false},
      {"1:4:2", false},
      {"1:4..2", false},
      {"", false},
      {" 1:4", false},
      {"1:0x4", false},
  };
  for (const auto& c : cases) {
    const std::optional<DeviceSelector> selector = ParseDeviceSelector(c.text);
    EXPECT_EQ(selector.has_value(), c.taken) << c.text;
    // What is taken names the place lcu list shows for it.
    if (selector && !selector->index) {
      EXPECT_EQ(DevicePlaceText(selector->bus, selector->ports), c.text);
    }
  }
}

}  // namespace
}  // namespace lcu
