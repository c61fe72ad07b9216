#include "sim/lcu_simulator.h"

#include <utility>

#include "core/logger/logger_header.h"
#include "core/util/little_endian.h"
#include "sim/logging_engine.h"
#include "sim/memory_map.h"

namespace lcu::sim {

namespace {

// A fresh LCU has been out on track for a minute, so there is something to download.
constexpr std::int64_t kFreshLoggingMs = 60000;

}  // namespace

struct LcuSimulator::Impl {
  explicit Impl(SimulatorOptions o)
      : options(std::move(o)),
        logging(memory, options.manualTime),
        link(memory, logging, options.node, options.productId, options.speed) {}

  SimulatorOptions options;
  MemoryMap memory;
  LoggingEngine logging;
  LinkProtocol link;

  void Start() {
    if (!memory.CheckMemoryUnits(options.memoryUnits)) return;
    if (options.stateDir.empty()) {
      CreateFresh();
      return;
    }
    if (!memory.CreateFolder(options.stateDir)) return;
    if (MemoryMap::HoldsLcu(options.stateDir)) {
      if (memory.Load(options.stateDir)) Commit();
    } else {
      CreateFresh();
      memory.Persist(options.stateDir);
    }
  }

  void CreateFresh() {
    memory.AssignFresh(options.memoryUnits);
    logging.UpdateMemoryFigure();
    memory.WriteSpace(kStartWordAddress, kStartWordOn);
    logging.Step(kFreshLoggingMs);
    memory.WriteSpace(kStartWordAddress, 0);
    if (options.freshClock) le::PutU16(memory.Header(), hdr::kClock, *options.freshClock);
  }

  // Ends every request: the changes reach the state folder, or the link fails from now on.
  bool Commit() {
    if (memory.Commit(options.stateDir)) return true;
    link.Fail(kErrorWriteFault);
    return false;
  }
};

LcuSimulator::LcuSimulator(SimulatorOptions options) : m_impl(std::make_unique<Impl>(std::move(options))) {
  m_impl->Start();
}

LcuSimulator::~LcuSimulator() {
  std::lock_guard lock(m_mutex);
  if (m_impl->memory.Ok()) m_impl->Commit();
}

bool LcuSimulator::Ok() const {
  std::lock_guard lock(m_mutex);
  return m_impl->memory.Ok();
}

std::string LcuSimulator::Error() const {
  std::lock_guard lock(m_mutex);
  return m_impl->memory.Error();
}

UsbHandle LcuSimulator::OpenNode(int node) {
  std::lock_guard lock(m_mutex);
  return m_impl->link.OpenNode(node);
}

bool LcuSimulator::GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) {
  std::lock_guard lock(m_mutex);
  return m_impl->link.GetDeviceDescriptor(handle, descriptor);
}

bool LcuSimulator::ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) {
  std::lock_guard lock(m_mutex);
  Impl& s = *m_impl;
  s.link.RequestArrived();
  s.logging.AdvanceRealTime();
  const bool ok = s.link.ControlRequest(handle, request, data);
  return s.Commit() && ok;
}

bool LcuSimulator::BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) {
  std::lock_guard lock(m_mutex);
  Impl& s = *m_impl;
  s.link.RequestArrived();
  s.logging.AdvanceRealTime();
  const bool ok = s.link.BulkRead(handle, buffer, moved);
  return s.Commit() && ok;
}

bool LcuSimulator::BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) {
  std::lock_guard lock(m_mutex);
  Impl& s = *m_impl;
  s.link.RequestArrived();
  s.logging.AdvanceRealTime();
  const bool ok = s.link.BulkWrite(handle, buffer, moved);
  return s.Commit() && ok;
}

void LcuSimulator::CloseNode(UsbHandle handle) {
  std::lock_guard lock(m_mutex);
  m_impl->link.CloseNode(handle);
}

std::uint32_t LcuSimulator::LastError() const {
  std::lock_guard lock(m_mutex);
  return m_impl->link.LastError();
}

std::string LcuSimulator::ErrorText(std::uint32_t code) const { return LinkErrorText(code); }

std::vector<std::uint8_t> LcuSimulator::DataMemory() const {
  std::lock_guard lock(m_mutex);
  m_impl->logging.AdvanceRealTime();
  m_impl->Commit();
  const auto view = m_impl->memory.Data().View();
  return {view.begin(), view.end()};
}

std::vector<std::uint8_t> LcuSimulator::ProgramMemory() const {
  std::lock_guard lock(m_mutex);
  const auto view = m_impl->memory.Program().View();
  return {view.begin(), view.end()};
}

std::array<std::uint8_t, kBlockSize> LcuSimulator::ReadBlock(std::uint16_t address) const {
  std::lock_guard lock(m_mutex);
  m_impl->logging.AdvanceRealTime();
  m_impl->Commit();
  return m_impl->memory.Block(address);
}

void LcuSimulator::WriteDataMemory(std::uint32_t linear, std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(m_mutex);
  m_impl->logging.AdvanceRealTime();
  for (std::size_t i = 0; i < bytes.size(); ++i)
    m_impl->memory.SetDataByte(static_cast<std::uint64_t>(linear) + i, bytes[i]);
  m_impl->Commit();
}

void LcuSimulator::SetFaults(const FaultPlan& plan) {
  std::lock_guard lock(m_mutex);
  m_impl->link.SetFaults(plan);
}

int LcuSimulator::TransferCount() const {
  std::lock_guard lock(m_mutex);
  return m_impl->link.TransferCount();
}

void LcuSimulator::Unplug() {
  std::lock_guard lock(m_mutex);
  m_impl->link.Unplug();
}

void LcuSimulator::Replug() {
  std::lock_guard lock(m_mutex);
  m_impl->link.Replug();
}

void LcuSimulator::SetLinkSpeed(LinkSpeed speed) {
  std::lock_guard lock(m_mutex);
  m_impl->link.SetLinkSpeed(speed);
}

void LcuSimulator::AdvanceTime(std::chrono::milliseconds duration) {
  std::lock_guard lock(m_mutex);
  if (!m_impl->memory.Ok()) return;
  m_impl->logging.AdvanceRealTime();
  m_impl->logging.Step(duration.count());
  m_impl->Commit();
}

std::uint64_t LcuSimulator::FillBuffer(std::size_t i, std::uint64_t bytes) {
  std::lock_guard lock(m_mutex);
  if (!m_impl->memory.Ok()) return 0;
  m_impl->logging.AdvanceRealTime();
  const std::uint64_t written = m_impl->logging.FillBuffer(i, bytes);
  m_impl->Commit();
  return written;
}

bool LcuSimulator::IsLogging() const {
  std::lock_guard lock(m_mutex);
  m_impl->logging.AdvanceRealTime();
  m_impl->Commit();
  return m_impl->memory.Logging();
}

}  // namespace lcu::sim
