// ChannelRecorder: records every reading the open monitor windows show into a CSV file of
// the same form as lcu monitor --csv: a header of the windows' channels (names and units),
// then one line per tick with its local time and each column's value as the Value cell
// shows it. The columns are those of the windows open when the recording starts, in window
// order; a window that closes, or a tick without readings (the LCU off line), leaves its
// cells empty, so gaps show where they happened.
//
// The session serves each window's document on its own, so a line gathers the documents of
// one tick: it is written once every recorded document has had its tick, or when a document
// comes round a second time before the others did. Lines are written to the file at most a
// second apart (a crash loses at most the last second), and the file is synced to disk when
// the recording stops. A write that fails ends the recording and is reported once.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/channels/channel_model.h"
#include "core/host/clock.h"
#include "core/host/file_system.h"
#include "core/monitor/readings_subscriber.h"

namespace lcu {

/// How long written lines may wait in memory before they go to the file.
inline constexpr std::chrono::milliseconds kRecordFlushPeriod{1000};

class ChannelRecorder final : public ReadingsSubscriber {
 public:
  /// Called once when a write fails, with the system's reason; the recording has stopped.
  using FailureHandler = std::function<void(const std::string& reason)>;

  /// Names, units and values come from app; the flush period is measured on clock.
  ChannelRecorder(const ChannelModel& app, Clock& clock);
  ~ChannelRecorder() override;
  ChannelRecorder(const ChannelRecorder&) = delete;
  ChannelRecorder& operator=(const ChannelRecorder&) = delete;

  void SetFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }

  /// Starts recording the documents' channels into file (the header goes out at once).
  /// False when the header could not be written (the file is closed; reason says why).
  bool Start(std::unique_ptr<OutputFile> file, std::span<const MonitorDocument* const> documents, std::string& reason);
  bool IsRecording() const { return m_file != nullptr; }
  /// Lines written so far, the header not counted.
  std::uint64_t Lines() const { return m_nLines; }

  /// The document goes away (its window closed): its columns stay, empty from now on.
  void Forget(const MonitorDocument& document);

  /// Writes the pending line, syncs the file to disk and closes it. False when any of it
  /// failed, with the reason. Nothing happens when not recording.
  bool Stop(std::string& reason);

  void OnReadings(const MonitorDocument& document, std::span<const std::uint32_t> raw, const LocalTime& taken) override;
  void OnMissedReadings(const MonitorDocument& document, const LocalTime& when) override;

 private:
  struct Window {
    const MonitorDocument* document;
    std::vector<std::uint16_t> channels;  // as the columns were made
    std::size_t firstColumn;
    bool inLine = false;  // has its cells in the pending line
  };

  Window* Find(const MonitorDocument& document);
  /// Starts the document's part of the pending line: ends the line first when the document
  /// already has its part in it (a tick of the others went missing).
  void BeginPart(Window& window, const LocalTime& when);
  /// Ends the pending line when every recorded document has its part.
  void EndLineWhenComplete();
  void EndLine();
  /// Writes the lines waiting in memory once the flush period has passed.
  void Flush();
  void Fail(const std::string& reason);

  const ChannelModel& m_app;
  Clock& m_clock;
  FailureHandler m_onFailure;
  std::unique_ptr<OutputFile> m_file;
  std::vector<Window> m_windows;
  std::vector<std::string> m_line;  // the pending line's fields, time first
  bool m_bLineOpen = false;
  std::string m_waiting;  // lines not written to the file yet
  Clock::TimePoint m_lastFlush{};
  std::uint64_t m_nLines = 0;
};

}  // namespace lcu
