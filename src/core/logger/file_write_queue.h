// Positioned writes to an output file, made by a thread of their own so that the caller's
// next transfer from the LCU need not wait for the disk: at high speed a chunk of a logging
// buffer crosses the bus in about 375 us, and a write of it done in line costs a few percent
// of that on every chunk (and far more when the disk falls behind and the write-back blocks).
//
// The bytes are copied into a ring of fixed slots, so memory stays bounded whatever the size
// of the download; when every slot is taken the caller waits for the oldest write. Writes are
// made in the order they were queued. The thread is woken for a batch of slots rather than
// for each one: waking a thread costs the caller a system call, which per chunk would be
// another percent of the link's time. The first failed write ends the writing: later queued
// writes are dropped and every later WriteAt refuses, as a failed synchronous write would have
// stopped the download there. Nothing else may touch the file until Drain has returned.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "core/host/file_system.h"
#include "core/link/lcu_protocol.h"

namespace lcu {

class FileWriteQueue {
 public:
  /// Bytes a slot holds: a chunk of a block read. Longer writes take several slots.
  static constexpr std::size_t kSlotBytes = kBlockChunk;
  /// Slots in the ring: 512 KiB.
  static constexpr std::size_t kSlotCount = 32;
  /// Queued slots that wake the thread. The rest of the ring covers a disk that stalls for
  /// about 9 ms while chunks arrive at high speed.
  static constexpr std::size_t kWakeAt = 8;

  /// Starts the writing thread. Where no thread can be started, every write is made in line.
  explicit FileWriteQueue(OutputFile& file);
  /// Makes the writes still queued and stops the thread.
  ~FileWriteQueue();
  FileWriteQueue(const FileWriteQueue&) = delete;
  FileWriteQueue& operator=(const FileWriteQueue&) = delete;

  /// Queues bytes to be written at an offset. False, with nothing queued, once a write has
  /// failed.
  bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);

  /// Waits until every queued write has been made or dropped. False when any write failed.
  /// The queue may be used again after it.
  bool Drain();

 private:
  struct Slot {
    std::uint64_t offset = 0;
    std::size_t size = 0;
  };

  void Run();
  std::span<std::uint8_t> SlotBytes(std::size_t index);

  OutputFile& m_file;
  std::vector<std::uint8_t> m_bytes;
  std::vector<Slot> m_slots;
  std::mutex m_mutex;
  std::condition_variable m_queued;  // a slot was filled, or the thread is to stop
  std::condition_variable m_done;    // a slot was written (or dropped)
  std::size_t m_first = 0;           // the oldest queued slot
  std::size_t m_count = 0;           // queued slots, the one being written included
  bool m_idle = false;               // the thread waits for a batch
  bool m_draining = false;           // every queued slot is to be written now
  bool m_failed = false;
  bool m_stop = false;
  std::thread m_thread;
};

}  // namespace lcu
