// The system-error message: caption, line feed, the system's text.
#include <gtest/gtest.h>

#include "core/host/prompter.h"
#include "support/recording_prompter.h"

namespace lcu {
namespace {

TEST(ShowSystemError, CaptionLineFeedAndSystemText) {
  test::RecordingPrompter prompter;
  ShowSystemError(prompter, "Failed to read header", "The handle is invalid.");
  ShowSystemError(prompter, "Failed to read header", "");
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0], "Failed to read header\nThe handle is invalid.");
  EXPECT_EQ(prompter.messages[1], "Failed to read header\n");
  EXPECT_EQ(prompter.kinds[0], MessageKind::kError);
}

}  // namespace
}  // namespace lcu
