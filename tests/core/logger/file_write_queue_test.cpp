// The write queue of the download: every queued write reaches the file at its offset in the
// order it was queued, however many wrap the ring; nothing is written after a failed write;
// and Drain and destruction leave nothing behind.
#include "core/logger/file_write_queue.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace lcu {
namespace {

// Keeps the file's bytes and the offset and size of every write it was asked to make; write
// number failAt (from 1) fails.
class RecordingFile : public OutputFile {
 public:
  struct Call {
    std::uint64_t offset;
    std::size_t size;
    bool operator==(const Call&) const = default;
  };

  bool Write(std::span<const std::uint8_t> bytes) override { return WriteAt(m_bytes.size(), bytes); }
  bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    std::lock_guard lock(m_mutex);
    m_calls.push_back({offset, bytes.size()});
    if (m_calls.size() == failAt) return false;
    if (m_bytes.size() < offset + bytes.size()) m_bytes.resize(offset + bytes.size());
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
  }
  bool Truncate(std::uint64_t) override { return false; }
  bool Commit() override { return true; }
  void Close() override {}
  std::string ErrorText() const override { return {}; }

  std::vector<Call> Calls() {
    std::lock_guard lock(m_mutex);
    return m_calls;
  }
  std::vector<std::uint8_t> Bytes() {
    std::lock_guard lock(m_mutex);
    return m_bytes;
  }

  std::size_t failAt = 0;

 private:
  std::mutex m_mutex;
  std::vector<Call> m_calls;
  std::vector<std::uint8_t> m_bytes;
};

// Bytes that differ from write to write and from place to place.
std::vector<std::uint8_t> Pattern(std::size_t size, int salt) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 31 + static_cast<std::size_t>(salt) * 7 + (i >> 8));
  return bytes;
}

constexpr std::size_t kSlot = FileWriteQueue::kSlotBytes;

TEST(FileWriteQueue, WritesReachTheFileInQueueOrder) {
  using Calls = std::vector<RecordingFile::Call>;
  struct Case {
    std::string name;
    Calls writes, calls;
    bool drainHalfway;
  };  // calls: those the file is asked for
  Calls wrapping;
  for (std::size_t i = 0; i < 5 * FileWriteQueue::kSlotCount + 3; ++i) wrapping.push_back({i * kSlot, kSlot});
  const std::vector<Case> cases = {
      {"fewer than wake the thread", {{0, 100}, {100, 28}, {128, 5}}, {{0, 100}, {100, 28}, {128, 5}}, false},
      {"the ring wraps several times", wrapping, wrapping, false},
      {"drained and used again", wrapping, wrapping, true},
      {"longer than a slot", {{16, 2 * kSlot + 7}}, {{16, kSlot}, {16 + kSlot, kSlot}, {16 + 2 * kSlot, 7}}, false},
      {"a later write over an earlier one",
       {{0, 3 * kSlot}, {kSlot - 10, 20}, {0, 1}},
       {{0, kSlot}, {kSlot, kSlot}, {2 * kSlot, kSlot}, {kSlot - 10, 20}, {0, 1}},
       false},
  };
  for (const Case& c : cases) {
    RecordingFile file;
    std::vector<std::uint8_t> expected;
    {
      FileWriteQueue queue(file);
      for (std::size_t i = 0; i < c.writes.size(); ++i) {
        const auto bytes = Pattern(c.writes[i].size, static_cast<int>(i));
        const auto at = static_cast<std::size_t>(c.writes[i].offset);
        if (expected.size() < at + bytes.size()) expected.resize(at + bytes.size());
        std::copy(bytes.begin(), bytes.end(), expected.begin() + static_cast<std::ptrdiff_t>(at));
        ASSERT_TRUE(queue.WriteAt(c.writes[i].offset, bytes)) << c.name << " write " << i;
        if (c.drainHalfway && i == c.writes.size() / 2) {
          ASSERT_TRUE(queue.Drain()) << c.name;
          EXPECT_EQ(file.Calls().size(), i + 1) << c.name;
        }
      }
    }  // destruction makes the writes still queued
    EXPECT_EQ(file.Calls(), c.calls) << c.name;
    EXPECT_TRUE(file.Bytes() == expected) << c.name;
  }
}

TEST(FileWriteQueue, NothingIsWrittenAfterAFailedWrite) {
  const std::size_t writes = 3 * FileWriteQueue::kSlotCount;
  for (const std::size_t failAt : {std::size_t{1}, std::size_t{5}, FileWriteQueue::kSlotCount + 1, writes}) {
    RecordingFile file;
    file.failAt = failAt;
    FileWriteQueue queue(file);
    std::size_t queued = 0;
    while (queued < writes && queue.WriteAt(queued * kSlot, Pattern(kSlot, static_cast<int>(queued)))) ++queued;
    EXPECT_FALSE(queue.Drain()) << failAt;
    // The failure may be noticed late, but the file is asked for no write after it.
    EXPECT_GE(queued, failAt) << failAt;
    EXPECT_EQ(file.Calls().size(), failAt) << failAt;
    EXPECT_FALSE(queue.WriteAt(0, Pattern(1, 0))) << failAt;
    EXPECT_FALSE(queue.Drain()) << failAt;
    EXPECT_EQ(file.Calls().size(), failAt) << failAt;
    EXPECT_EQ(file.Bytes().size(), (failAt - 1) * kSlot) << failAt;
  }
}

}  // namespace
}  // namespace lcu
