// The recorder's lines: columns of every recorded window, one line per tick, gaps as empty
// cells, flushes a second apart, the sync at the end, and a failed write reported once.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/monitor/channel_recorder.h"
#include "core/monitor/monitor_document.h"
#include "support/fixed_clock.h"
#include "support/memory_file_system.h"

namespace lcu {
namespace {

using std::chrono::milliseconds;

constexpr const char* kPath = "/data/run.csv";

class ChannelRecorderTest : public ::testing::Test {
 protected:
  ChannelRecorderTest() {
    app.m_channelTable[70].SetName("GEAR");
    app.m_channelTable[1000].SetName("RPM, ENGINE");
    app.m_channelTable[1000].SetUnits("1/min");
    first.SetChannels(std::array<std::uint16_t, 2>{70, 1000});
    second.SetChannels(std::array<std::uint16_t, 1>{70});
    recorder.SetFailureHandler([this](const std::string& reason) { failures.push_back(reason); });
  }

  void Start() {
    std::string reason;
    const std::array<const MonitorDocument*, 3> documents{&first, &second, &empty};
    ASSERT_TRUE(recorder.Start(files.Create(kPath, CreateMode::kExclusive), documents, reason)) << reason;
  }
  void Tick(const MonitorDocument& document, std::vector<std::uint32_t> raw) {
    recorder.OnReadings(document, raw, clock.now);
  }
  std::string Written() const {
    const auto& bytes = files.files.at(kPath).bytes;
    return {bytes.begin(), bytes.end()};
  }
  std::string StopAndRead() {
    std::string reason;
    EXPECT_TRUE(recorder.Stop(reason)) << reason;
    EXPECT_NE(files.Committed(kPath), nullptr) << "synced when the recording stops";
    return Written();
  }

  ChannelModel app;
  test::FixedClock clock{{2026, 5, 1, 10, 0, 0, 0}};
  test::MemoryFileSystem files;
  MonitorDocument first;
  MonitorDocument second;
  MonitorDocument empty;
  ChannelRecorder recorder{app, clock};
  std::vector<std::string> failures;
};

TEST_F(ChannelRecorderTest, OneLinePerTickAcrossWindowsWithGapsAsEmptyCells) {
  Start();
  Tick(first, {0x12345, 1500});
  clock.now.millisecond = 50;
  Tick(second, {3});
  // The LCU goes off line: both windows miss their exchanges, the line keeps its time.
  clock.now.millisecond = 200;
  recorder.OnMissedReadings(first, clock.now);
  recorder.OnMissedReadings(second, clock.now);
  // Only the first window comes round: its next tick ends the line the second never joined.
  clock.now.millisecond = 400;
  Tick(first, {4, 1501});
  clock.now.millisecond = 600;
  Tick(first, {5, 1502});
  // A window that closes leaves its columns empty from then on.
  recorder.Forget(second);
  EXPECT_EQ(StopAndRead(),
            "time,GEAR,\"RPM, ENGINE [1/min]\",GEAR\n"
            "2026-05-01 10:00:00.000,9029,1500,3\n"
            "2026-05-01 10:00:00.200,,,\n"
            "2026-05-01 10:00:00.400,4,1501,\n"
            "2026-05-01 10:00:00.600,5,1502,\n");
  EXPECT_EQ(recorder.Lines(), 4U);
  EXPECT_TRUE(failures.empty());
}

TEST_F(ChannelRecorderTest, ColumnsFollowTheirChannelsWhenAWindowsRowsChange) {
  Start();
  // The first window now lists 1000 first and no longer 70.
  first.SetChannels(std::array<std::uint16_t, 2>{1000, 5});
  Tick(first, {1234, 7});
  Tick(second, {2});
  const std::string written = StopAndRead();
  EXPECT_EQ(written.substr(written.find('\n') + 1), "2026-05-01 10:00:00.000,,1234,2\n");
}

TEST_F(ChannelRecorderTest, LinesReachTheFileASecondApart) {
  Start();
  const std::size_t header = Written().size();
  for (int tick = 0; tick < 4; ++tick) {
    Tick(first, {1, 2});
    Tick(second, {3});
    clock.Advance(milliseconds(200));
  }
  EXPECT_EQ(Written().size(), header) << "800 ms of lines wait in memory";
  clock.Advance(milliseconds(200));
  Tick(first, {1, 2});
  Tick(second, {3});
  const std::string written = Written();
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 5)
      << "after a second the first second's lines are written";
  EXPECT_EQ(files.Committed(kPath), nullptr) << "not synced before the end";
}

TEST_F(ChannelRecorderTest, AFailedWriteStopsTheRecordingAndIsReportedOnce) {
  Start();
  files.spaceLeft = 0;
  for (int tick = 0; tick < 12; ++tick) {
    Tick(first, {1, 2});
    Tick(second, {3});
    clock.Advance(milliseconds(200));
  }
  EXPECT_FALSE(recorder.IsRecording());
  ASSERT_EQ(failures.size(), 1U);
  EXPECT_EQ(failures[0], std::generic_category().message(ENOSPC));
  std::string reason;
  EXPECT_TRUE(recorder.Stop(reason)) << "nothing left to stop";

  // A header that cannot be written refuses the start with the reason.
  std::string refused;
  const std::array<const MonitorDocument*, 1> documents{&first};
  EXPECT_FALSE(recorder.Start(files.Create("/data/other.csv", CreateMode::kExclusive), documents, refused));
  EXPECT_EQ(refused, std::generic_category().message(ENOSPC));
  EXPECT_FALSE(recorder.IsRecording());
}

TEST_F(ChannelRecorderTest, AFailedSyncAtTheEndIsAFailedStop) {
  Start();
  Tick(first, {1, 2});
  files.failCommit = true;
  std::string reason;
  EXPECT_FALSE(recorder.Stop(reason));
  EXPECT_EQ(reason, std::generic_category().message(EIO));
  EXPECT_FALSE(recorder.IsRecording());
}

}  // namespace
}  // namespace lcu
