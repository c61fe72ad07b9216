#include "core/logger/file_write_queue.h"

#include <algorithm>
#include <system_error>

namespace lcu {

FileWriteQueue::FileWriteQueue(OutputFile& file) : m_file(file), m_bytes(kSlotBytes * kSlotCount), m_slots(kSlotCount) {
  try {
    m_thread = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // No thread to spare: WriteAt writes in line, which is slower but just as safe.
  }
}

FileWriteQueue::~FileWriteQueue() {
  if (!m_thread.joinable()) return;
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_queued.notify_one();
  m_thread.join();
}

std::span<std::uint8_t> FileWriteQueue::SlotBytes(std::size_t index) {
  return std::span(m_bytes).subspan(index * kSlotBytes, kSlotBytes);
}

bool FileWriteQueue::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  if (!m_thread.joinable()) {
    if (m_failed) return false;
    m_failed = !m_file.WriteAt(offset, bytes);
    return !m_failed;
  }
  while (!bytes.empty()) {
    const std::size_t n = std::min(bytes.size(), kSlotBytes);
    std::size_t index = 0;
    {
      std::unique_lock lock(m_mutex);
      m_done.wait(lock, [this] { return m_count < kSlotCount || m_failed; });
      if (m_failed) return false;
      index = (m_first + m_count) % kSlotCount;
    }
    // The writing thread only reads queued slots, and this one is not queued until the count
    // below includes it, so it is filled without holding the lock.
    std::copy_n(bytes.begin(), n, SlotBytes(index).begin());
    m_slots[index] = {offset, n};
    bool wake = false;
    {
      std::lock_guard lock(m_mutex);
      ++m_count;
      wake = m_idle && m_count == kWakeAt;  // the thread goes idle only with none queued
    }
    if (wake) m_queued.notify_one();
    offset += n;
    bytes = bytes.subspan(n);
  }
  return true;
}

bool FileWriteQueue::Drain() {
  std::unique_lock lock(m_mutex);
  if (m_count == 0) return !m_failed;
  m_draining = true;
  lock.unlock();
  m_queued.notify_one();
  lock.lock();
  m_done.wait(lock, [this] { return m_count == 0; });
  m_draining = false;
  return !m_failed;
}

void FileWriteQueue::Run() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    if (m_count == 0) {
      m_idle = true;
      m_queued.wait(lock, [this] { return m_count >= kWakeAt || (m_count > 0 && m_draining) || m_stop; });
      m_idle = false;
      if (m_count == 0) return;
    }
    const std::size_t index = m_first;
    const Slot slot = m_slots[index];
    bool ok = false;
    if (!m_failed) {
      lock.unlock();
      ok = m_file.WriteAt(slot.offset, SlotBytes(index).first(slot.size));
      lock.lock();
    }
    if (!ok) m_failed = true;
    m_first = (m_first + 1) % kSlotCount;
    --m_count;
    m_done.notify_one();
  }
}

}  // namespace lcu
