#include "core/monitor/channel_recorder.h"

#include <algorithm>
#include <utility>

#include "core/channels/channel_conversion.h"
#include "core/monitor/csv_record.h"
#include "core/monitor/monitor_document.h"
#include "core/monitor/monitor_row.h"

namespace lcu {

namespace {

bool WriteText(OutputFile& file, const std::string& text) {
  return file.Write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace

ChannelRecorder::ChannelRecorder(const ChannelModel& app, Clock& clock) : m_app(app), m_clock(clock) {}

ChannelRecorder::~ChannelRecorder() {
  std::string reason;
  Stop(reason);
}

bool ChannelRecorder::Start(std::unique_ptr<OutputFile> file, std::span<const MonitorDocument* const> documents,
                            std::string& reason) {
  m_windows.clear();
  std::vector<std::string> header{std::string(kCsvTimeColumn)};
  for (const MonitorDocument* document : documents) {
    const std::span<const std::uint16_t> channels = document->Channels();
    m_windows.push_back({document, {channels.begin(), channels.end()}, header.size() - 1});
    for (const std::uint16_t channel : channels) {
      const ChannelDefinition& definition = m_app.m_channelTable[channel];
      header.push_back(CsvHeading(definition.NameText(), definition.UnitsText()));
    }
  }
  m_line.assign(header.size(), {});
  m_bLineOpen = false;
  m_nLines = 0;
  if (!WriteText(*file, CsvLine(header) + '\n')) {
    reason = file->ErrorText();
    file->Close();
    return false;
  }
  m_file = std::move(file);
  m_waiting.clear();
  m_lastFlush = m_clock.Monotonic();
  return true;
}

ChannelRecorder::Window* ChannelRecorder::Find(const MonitorDocument& document) {
  const auto it = std::find_if(m_windows.begin(), m_windows.end(),
                               [&document](const Window& w) { return w.document == &document; });
  return it == m_windows.end() ? nullptr : &*it;
}

void ChannelRecorder::Forget(const MonitorDocument& document) {
  Window* window = Find(document);
  if (!window) return;
  window->document = nullptr;
  if (!m_file) return;
  EndLineWhenComplete();
  Flush();
}

void ChannelRecorder::BeginPart(Window& window, const LocalTime& when) {
  if (window.inLine) EndLine();
  if (!m_bLineOpen) {
    m_bLineOpen = true;
    m_line[0] = CsvTimestamp(when);
  }
  window.inLine = true;
}

void ChannelRecorder::OnReadings(const MonitorDocument& document, std::span<const std::uint32_t> raw,
                                 const LocalTime& taken) {
  Window* window = m_file ? Find(document) : nullptr;
  if (!window) return;
  BeginPart(*window, taken);
  // The document's channels may have changed since the columns were made: each column takes
  // the reading of its own channel, wherever that row went.
  const std::span<const std::uint16_t> now = document.Channels();
  const bool same = std::equal(now.begin(), now.end(), window->channels.begin(), window->channels.end());
  for (std::size_t c = 0; c < window->channels.size(); ++c) {
    const std::uint16_t channel = window->channels[c];
    std::optional<std::uint32_t> reading;
    if (same) {
      if (c < raw.size()) reading = raw[c];
    } else {
      const auto row = std::find(now.begin(), now.end(), channel);
      const auto index = static_cast<std::size_t>(row - now.begin());
      if (row != now.end() && index < raw.size()) reading = raw[index];
    }
    std::string& cell = m_line[1 + window->firstColumn + c];
    cell.clear();
    if (reading) {
      cell = FormatValueCell(ConvertReading(m_app.m_calibration, *reading, channel),
                             m_app.m_channelTable[channel].decimals);
    }
  }
  EndLineWhenComplete();
  Flush();
}

void ChannelRecorder::OnMissedReadings(const MonitorDocument& document, const LocalTime& when) {
  Window* window = m_file ? Find(document) : nullptr;
  if (!window) return;
  BeginPart(*window, when);
  EndLineWhenComplete();
  Flush();
}

void ChannelRecorder::EndLineWhenComplete() {
  if (!m_bLineOpen) return;
  // Documents without channels are never served, so they never hold a line back.
  const bool complete = std::all_of(m_windows.begin(), m_windows.end(), [](const Window& w) {
    return w.inLine || w.document == nullptr || w.document->Channels().empty();
  });
  if (complete) EndLine();
}

void ChannelRecorder::EndLine() {
  if (!m_bLineOpen) return;
  m_waiting += CsvLine(m_line);
  m_waiting += '\n';
  ++m_nLines;
  for (std::string& field : m_line) field.clear();
  for (Window& window : m_windows) window.inLine = false;
  m_bLineOpen = false;
}

void ChannelRecorder::Flush() {
  if (!m_file || m_waiting.empty()) return;
  const Clock::TimePoint now = m_clock.Monotonic();
  if (now - m_lastFlush < kRecordFlushPeriod) return;
  m_lastFlush = now;
  if (!WriteText(*m_file, m_waiting)) {
    Fail(m_file->ErrorText());
    return;
  }
  m_waiting.clear();
}

void ChannelRecorder::Fail(const std::string& reason) {
  m_file->Close();
  m_file.reset();
  m_waiting.clear();
  if (m_onFailure) m_onFailure(reason);
}

bool ChannelRecorder::Stop(std::string& reason) {
  if (!m_file) return true;
  EndLine();
  if (!m_waiting.empty() && !WriteText(*m_file, m_waiting)) {
    reason = m_file->ErrorText();
    m_file->Close();
    m_file.reset();
    return false;
  }
  m_waiting.clear();
  std::unique_ptr<OutputFile> file = std::move(m_file);
  if (!file->Commit()) {
    reason = file->ErrorText();
    return false;
  }
  return true;
}

}  // namespace lcu
