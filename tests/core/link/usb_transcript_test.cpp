// Recording the link's traffic and playing it back: a recorded session replays to the same
// bytes, and the first call that differs from the transcript fails with the line it left.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "core/link/recording_backend.h"
#include "core/link/replay_backend.h"
#include "support/link_contract.h"

namespace lcu::test {
namespace {

using ::testing::ContainsRegex;

std::unique_ptr<ReplayBackend> Replay(const std::string& transcript) {
  std::string problem;
  auto replay = ReplayBackend::FromText(transcript, problem);
  EXPECT_TRUE(replay) << problem;
  return replay;
}

// The transcript of a run against a fresh simulated LCU.
std::string Recorded(const std::function<void(sim::LcuSimulator&, UsbBackend&)>& run) {
  sim::LcuSimulator simulator(ContractSimulatorOptions());
  std::ostringstream transcript;
  {
    RecordingBackend recorder(simulator, transcript);
    run(simulator, recorder);
  }
  return transcript.str();
}

TEST(Transcript, RecordedContractReplaysToTheSameBytes) {
  auto replay = Replay(Recorded([](sim::LcuSimulator&, UsbBackend& recorder) { ExpectContract(recorder); }));
  ASSERT_TRUE(replay);
  ExpectContract(*replay);
  EXPECT_EQ(replay->CheckFinished(), "");
}

TEST(Transcript, FailedCallReplaysWithItsCodeAndText) {
  std::uint32_t recordedCode = 0;
  std::string recordedText;
  std::array<std::uint8_t, 64> block{};
  const std::string text = Recorded([&](sim::LcuSimulator& simulator, UsbBackend& recorder) {
    CUsbDevice device(recorder);
    device.PollStatus();
    simulator.SetFaults({.failTransfer = 1});
    EXPECT_FALSE(device.VendorRead(LCU_READ_BLOCK, 0xFE36, 0, 64, block));
    recordedCode = simulator.LastError();
    recordedText = device.LastErrorText();
    EXPECT_EQ(device.LastErrorText(), recordedText);  // asked twice, kept once
  });
  EXPECT_EQ(text.find("\ntext "), text.rfind("\ntext ")) << text;

  auto replay = Replay(text);
  ASSERT_TRUE(replay);
  CUsbDevice device(*replay);
  device.PollStatus();
  ASSERT_TRUE(device.IsOnline());
  EXPECT_FALSE(device.VendorRead(LCU_READ_BLOCK, 0xFE36, 0, 64, block));
  EXPECT_EQ(device.m_dwLastError, recordedCode);
  EXPECT_EQ(device.LastErrorText(), recordedText);
  EXPECT_EQ(replay->CheckFinished(), "");
}

// A session of poll, header read and closing, recorded once for the deviation cases.
std::string RecordedSession() {
  return Recorded([](sim::LcuSimulator&, UsbBackend& recorder) {
    CUsbDevice device(recorder);
    device.PollStatus();
    std::array<std::uint8_t, 64> list{};
    EXPECT_TRUE(device.VendorWrite(LCU_BULK_WRITE, 0xF710, 0));
    EXPECT_TRUE(BulkWriteAll(device, list));
  });
}

// A run against the recorded session and a pattern of the deviation it must report.
struct DeviationCase {
  const char* name;
  std::function<void(CUsbDevice&)> run;
  const char* deviation;
};

TEST(Transcript, FirstDifferenceFailsNamingTheLine) {
  // Line 1 is the header comment; 2 open, 3 descriptor, 4 status read, 5 set-up, 6 bulk write,
  // 7 close. The full text of a changed request is the command line's replay test.
  const DeviationCase cases[] = {
      {"changed request",
       [](CUsbDevice& d) {
         d.PollStatus();
         d.VendorWrite(LCU_BULK_READ, 0xF710, 0);
       },
       "^Transcript line 5: expected control .* request=46 .* but the program made control .* request=45 "},
      {"changed bulk data",
       [](CUsbDevice& d) {
         d.PollStatus();
         d.VendorWrite(LCU_BULK_WRITE, 0xF710, 0);
         const std::array<std::uint8_t, 64> otherList = {1};
         BulkWriteAll(d, otherList);
       },
       "^Transcript line 6: expected bulk-write handle=\\w+ length=64 data=0000.*, "
       "but the program made bulk-write handle=\\w+ length=64 data=0100"},
      {"call past the end",
       [](CUsbDevice& d) {
         d.PollStatus();
         const std::array<std::uint8_t, 64> list{};
         d.VendorWrite(LCU_BULK_WRITE, 0xF710, 0);
         BulkWriteAll(d, list);
         d.CloseDevice();
         d.PollStatus();
       },
       "^Transcript line 8: the transcript has ended, but the program made open node=0$"},
      {"stopping early", [](CUsbDevice& d) { d.Backend().OpenNode(0); },
       "^Transcript line 3: the program stopped before descriptor handle=\\w+$"},
  };
  const std::string session = RecordedSession();
  for (const DeviationCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto replay = Replay(session);
    ASSERT_TRUE(replay);
    {
      CUsbDevice device(*replay);
      c.run(device);
    }
    EXPECT_THAT(replay->CheckFinished(), ContainsRegex(c.deviation));
  }
}

TEST(Transcript, AfterADeviationEveryCallFailsWithIt) {
  auto replay = Replay(RecordedSession());
  ASSERT_TRUE(replay);
  CUsbDevice device(*replay);
  device.PollStatus();
  EXPECT_FALSE(device.VendorWrite(LCU_BULK_READ, 0x8000, 0));
  EXPECT_EQ(device.m_dwLastError, kErrorReplayDeviation);
  EXPECT_EQ(device.LastErrorText(), replay->Deviation());
  device.PollStatus();
  EXPECT_FALSE(device.IsOnline());
}

TEST(Transcript, MalformedLinesAreRefusedWithTheirNumber) {
  const struct {
    const char* text;
    const char* problem;
  } cases[] = {
      {"# c\nopen node=0 handle=1 error=0\nsend handle=1\n", "Transcript line 3: unknown call \"send\""},
      {"\n\nbulk-read handle=1 length=2 ok=1 moved=2 data=ABC error=0\n", "Transcript line 3: bad data="},
      {"control handle=1 type=ZZ request=41 value=8000 index=0 length=64 ok=1 data= error=0\n",
       "Transcript line 1: bad type=ZZ"},
      {"bulk-read handle=1 length=2 ok=1 data=ABCD error=0\n", "Transcript line 1: missing moved="},
      {"close handle=1 stray\n", "Transcript line 1: \"stray\" is not name=value"},
  };
  for (const auto& c : cases) {
    std::string problem;
    EXPECT_FALSE(ReplayBackend::FromText(c.text, problem)) << c.text;
    EXPECT_EQ(problem, c.problem);
  }
}

}  // namespace
}  // namespace lcu::test
