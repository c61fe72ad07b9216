// The steps of Load Hex File that stand apart from the command: the image read back and
// compared with the file's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/commands/hex_file_upload.h"
#include "core/firmware/hex_image.h"
#include "core/messages/messages.h"
#include "support/command_fixture.h"
#include "support/hex_text.h"
#include "support/scripted_backend.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;
using test::CommandFixture;

class VerifyFirmwareTest : public ::testing::Test {
 protected:
  std::string WriteHex(const std::string& text) const { return test::WriteText(folder / "firmware.hex", text); }

  test::TempFolder folder;
};

// The program memory is read back as Read Hex File reads it.
TEST_F(VerifyFirmwareTest, VerifyComparesTheWindowReadBackWithTheImage) {
  struct Case {
    const char* name;
    std::size_t changedAt;
    int failTransfer;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"one byte differs", 0x2F01, 0, "Program memory does not match the hex file at 2F01."},
      {"the read fails", 0, 2, FormatSystemError(msg::kFailedToReadLogger, test::kScriptedErrorText)},
  };
  const std::string path =
      WriteHex(test::HexRecords(0x2000, std::vector<std::uint8_t>(600, 0x3C), {32}) + test::HexEndRecord() + "\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CommandFixture r;
    r.GoOnline();
    const std::optional<FirmwareImage> image = ReadFirmwareFile(r.ctx, path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->covered, 600u);
    std::vector<std::uint8_t> program(kProgramMemorySize, 0xB0);
    std::copy(image->Span().begin(), image->Span().end(), program.begin() + kFirmwareBase);
    if (c.changedAt != 0) program[c.changedAt] ^= 0x01;
    r.Reply(program);
    if (c.failTransfer) r.FailTransfer(c.failTransfer);
    EXPECT_EQ(VerifyFirmwareImage(r.ctx, *image), CommandResult::kFailed);
    EXPECT_EQ(r.prompter.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(r.Sent(), (std::vector<std::string>{"out 45 0000/0", "bulk-in 32768"}));
  }
}

}  // namespace
}  // namespace lcu
