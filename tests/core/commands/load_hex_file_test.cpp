// Load Hex File against a scripted link: the exact requests and image it sends, the notice
// around the transfer, and every way it is refused or fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/commands/load_hex_file.h"
#include "core/firmware/hex_image.h"
#include "core/messages/messages.h"
#include "core/util/little_endian.h"
#include "support/command_fixture.h"
#include "support/hex_text.h"
#include "support/host_reasons.h"
#include "support/scripted_backend.h"
#include "support/temp_folder.h"

namespace lcu {
namespace {

namespace fs = std::filesystem;
using test::CommandFixture;
using test::HexRecord;

const std::vector<std::string> kLoadSent = {"out 48 2000/6B3D", "bulk-out 24576"};

// Records when it was shown and closed, and how many messages were up by then.
class RecordingNotice : public UploadNotice {
 public:
  explicit RecordingNotice(const test::RecordingPrompter& prompter) : m_prompter(prompter) {}
  void Show() override { events.push_back("show after " + std::to_string(m_prompter.messages.size())); }
  void Close() override { events.push_back("close after " + std::to_string(m_prompter.messages.size())); }
  std::vector<std::string> events;

 private:
  const test::RecordingPrompter& m_prompter;
};

class LoadHexFileTest : public ::testing::Test {
 protected:
  std::string WriteHex(const std::string& text) const { return test::WriteText(folder / "firmware.hex", text); }

  test::TempFolder folder;
  CommandFixture f;
  RecordingNotice notice{f.prompter};
};

TEST_F(LoadHexFileTest, SendsTheSealedImageAsOneSetUpAndOneBulkWrite) {
  f.GoOnline();
  const std::string path =
      WriteHex(HexRecord(0x0000, {0xEE, 0xEE}) + "\n" + HexRecord(0x2000, {0x34, 0x12}) + "\n" +
               HexRecord(0x7FE0, std::vector<std::uint8_t>(32, 0x77)) + "\n" + test::HexEndRecord());
  const LoadHexFileResult loaded = LoadHexFile(f.ctx, path, notice);
  ASSERT_EQ(loaded.result, CommandResult::kDone);
  EXPECT_TRUE(f.prompter.messages.empty());
  EXPECT_EQ(f.Sent(), kLoadSent);

  std::vector<std::uint8_t> expected(kFirmwareImageSize, 0);
  expected[0] = 0x34, expected[1] = 0x12;
  std::fill(expected.begin() + 0x5FE0, expected.begin() + 0x5FFE, std::uint8_t{0x77});
  le::PutU16(expected, 0x5FFE, static_cast<std::uint16_t>(0x1234 + 15 * 0x7777));
  EXPECT_EQ(f.LastWritten(), expected);
  EXPECT_EQ(loaded.checksum, le::U16(expected, 0x5FFE));
  EXPECT_EQ(notice.events, (std::vector<std::string>{"show after 0", "close after 0"}));
}

TEST_F(LoadHexFileTest, RefusalsAndFailures) {
  // The one case that sends has its bulk write fail.
  struct Case {
    const char* name;
    bool online;
    std::string path;
    std::string message;
    bool sends = false;
  };
  const std::string good = WriteHex(HexRecord(0x2000, {1, 2}) + "\n" + test::HexEndRecord() + "\n");
  const fs::path unsound = folder / "unsound.hex";
  std::ofstream(unsound, std::ios::binary) << HexRecord(0x2000, {1}) << "\n:0120000001DD\n";
  const std::vector<Case> cases = {
      {"off line", false, good, std::string(msg::kLcuOffline)},
      {"missing file", true, (folder / "none.hex").string(),
       FormatSystemError(msg::kFailedToOpenHexFile, (folder / "none.hex").string() + ": No such file or directory")},
      {"folder instead of a file", true, folder.Path().string(),
       FormatSystemError(msg::kFailedToOpenHexFile,
                         folder.Path().string() + ": " + std::string(test::kFolderOpenedAsFile))},
      {"unsound record", true, unsound.string(), HexErrorText({HexError::kBadChecksum, 2})},
      // Which message each failed transfer shows is the core's fault matrix.
      {"bulk write fails", true, good, FormatSystemError(msg::kFailedToWriteToLogger, test::kScriptedErrorText), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CommandFixture r;
    RecordingNotice shown{r.prompter};
    if (c.online) r.GoOnline();
    if (c.sends) r.FailTransfer(2);
    EXPECT_EQ(LoadHexFile(r.ctx, c.path, shown).result, CommandResult::kFailed);
    EXPECT_EQ(r.prompter.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(r.Sent(), c.sends ? kLoadSent : std::vector<std::string>{});
    // The notice stays up while the error is shown.
    EXPECT_EQ(shown.events,
              (c.sends ? std::vector<std::string>{"show after 0", "close after 1"} : std::vector<std::string>{}));
  }
}

}  // namespace
}  // namespace lcu
