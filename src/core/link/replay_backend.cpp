#include "core/link/replay_backend.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/messages/messages.h"

namespace lcu {

namespace {

std::string LinePrefix(std::size_t number) { return std::string(msg::kTranscriptLine) + std::to_string(number) + ": "; }

}  // namespace

std::unique_ptr<ReplayBackend> ReplayBackend::FromText(std::string_view text, std::string& problem) {
  std::unique_ptr<ReplayBackend> replay(new ReplayBackend());
  std::size_t number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    std::string why;
    std::optional<UsbCall> call = ParseUsbCall(line, why);
    if (!call) {
      problem = LinePrefix(number) + why;
      return nullptr;
    }
    if (call->kind == UsbCallKind::kText) {
      replay->m_texts[call->error] = call->text;
    } else {
      replay->m_lines.push_back({number, std::move(*call)});
    }
  }
  return replay;
}

std::unique_ptr<ReplayBackend> ReplayBackend::FromFile(const std::filesystem::path& path, std::string& problem) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    problem = std::string(msg::kCannotReadTranscript) + path.string();
    return nullptr;
  }
  std::ostringstream text;
  text << file.rdbuf();
  std::unique_ptr<ReplayBackend> replay = FromText(text.str(), problem);
  if (!replay) problem = path.string() + ", " + problem;
  return replay;
}

const UsbCall* ReplayBackend::Next(const UsbCall& actual) {
  if (!m_deviation.empty()) return nullptr;
  const std::string wanted = DescribeUsbRequest(actual);
  if (m_next >= m_lines.size()) {
    m_deviation =
        LinePrefix(m_lines.empty() ? 1 : m_lines.back().number + 1) + std::string(msg::kTranscriptEnded) + wanted;
  } else {
    const Line& line = m_lines[m_next];
    const std::string recorded = DescribeUsbRequest(line.call);
    if (recorded == wanted) {
      ++m_next;
      m_lastError = line.call.error;
      return &line.call;
    }
    m_deviation = LinePrefix(line.number) + std::string(msg::kTranscriptExpected) + recorded +
                  std::string(msg::kTranscriptGot) + wanted;
  }
  m_lastError = kErrorReplayDeviation;
  return nullptr;
}

UsbHandle ReplayBackend::OpenNode(int node) {
  UsbCall actual;
  actual.kind = UsbCallKind::kOpen;
  actual.node = node;
  const UsbCall* recorded = Next(actual);
  return recorded ? static_cast<UsbHandle>(recorded->handle) : kInvalidUsbHandle;
}

bool ReplayBackend::GetDeviceDescriptor(UsbHandle handle, std::span<std::uint8_t, 18> descriptor) {
  UsbCall actual;
  actual.kind = UsbCallKind::kDescriptor;
  actual.handle = handle;
  const UsbCall* recorded = Next(actual);
  if (!recorded || !recorded->ok) return false;
  std::copy_n(recorded->data.begin(), std::min(recorded->data.size(), descriptor.size()), descriptor.begin());
  return true;
}

bool ReplayBackend::ControlRequest(UsbHandle handle, const VendorRequest& request, std::span<std::uint8_t> data) {
  UsbCall actual;
  actual.kind = UsbCallKind::kControl;
  actual.handle = handle;
  actual.request = request;
  const UsbCall* recorded = Next(actual);
  if (!recorded || !recorded->ok) return false;
  std::copy_n(recorded->data.begin(), std::min(recorded->data.size(), data.size()), data.begin());
  return true;
}

bool ReplayBackend::BulkRead(UsbHandle handle, std::span<std::uint8_t> buffer, std::uint32_t& moved) {
  UsbCall actual;
  actual.kind = UsbCallKind::kBulkRead;
  actual.handle = handle;
  actual.length = static_cast<std::uint32_t>(buffer.size());
  const UsbCall* recorded = Next(actual);
  if (!recorded || !recorded->ok) return false;
  std::copy_n(recorded->data.begin(), std::min(recorded->data.size(), buffer.size()), buffer.begin());
  moved = recorded->moved;
  return true;
}

bool ReplayBackend::BulkWrite(UsbHandle handle, std::span<const std::uint8_t> buffer, std::uint32_t& moved) {
  UsbCall actual;
  actual.kind = UsbCallKind::kBulkWrite;
  actual.handle = handle;
  actual.length = static_cast<std::uint32_t>(buffer.size());
  actual.data.assign(buffer.begin(), buffer.end());
  const UsbCall* recorded = Next(actual);
  if (!recorded || !recorded->ok) return false;
  moved = recorded->moved;
  return true;
}

void ReplayBackend::CloseNode(UsbHandle handle) {
  UsbCall actual;
  actual.kind = UsbCallKind::kClose;
  actual.handle = handle;
  Next(actual);
}

std::uint32_t ReplayBackend::LastError() const { return m_lastError; }

std::string ReplayBackend::ErrorText(std::uint32_t code) const {
  if (code == kErrorReplayDeviation) return m_deviation;
  const auto it = m_texts.find(code);
  return it != m_texts.end() ? it->second : CommonErrorText(code);
}

std::string ReplayBackend::CheckFinished() {
  if (m_deviation.empty() && m_next < m_lines.size()) {
    const Line& line = m_lines[m_next];
    m_deviation = LinePrefix(line.number) + std::string(msg::kTranscriptNotPlayed) + DescribeUsbRequest(line.call);
  }
  return m_deviation;
}

}  // namespace lcu
