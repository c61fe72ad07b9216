// Texts of the monitor windows' strip charts and of the recording of channels: menu items,
// prompts, the range dialog and the status bar's recording indicator. Each is kept here once.
#pragma once

#include <string_view>

namespace lcu::gui::text {

inline constexpr std::string_view kViewMenu = "&View";
inline constexpr std::string_view kStripChartItem = "Strip &Chart";
inline constexpr std::string_view kStripChartPrompt = "Show the channels of the monitor window as a strip chart";
inline constexpr std::string_view kRecordChannelsItem = "&Record Channels...";
inline constexpr std::string_view kRecordChannelsPrompt = "Record the values of the monitor windows in a CSV file";
inline constexpr std::string_view kStopRecordingItem = "S&top Recording";
inline constexpr std::string_view kStopRecordingPrompt = "Stop recording the values of the monitor windows";

// The chart's own menu.
inline constexpr std::string_view kPauseChartItem = "Pause";
inline constexpr std::string_view kResumeChartItem = "Resume";
inline constexpr std::string_view kChartRangeItem = "Set Range...";
inline constexpr std::string_view kClearCursorItem = "Clear Cursor";
inline constexpr std::string_view kSpanSeconds = "Last %1 s";
inline constexpr std::string_view kSpanMinutes = "Last %1 min";
inline constexpr std::string_view kPausedMark = "PAUSED";
inline constexpr std::string_view kAxisSeconds = "%1 s";
inline constexpr std::string_view kNoValue = "-";
inline constexpr std::string_view kOverlayItem = "Overlay";
inline constexpr std::string_view kLanesItem = "Lanes";
// A lane's label: the channel's name and units, and the range of its lane.
inline constexpr std::string_view kLaneLabel = "%1  %2 .. %3";
// The legend's last line: values not live any more (the windows' own note), or a cursor that
// scrolled off the chart.
inline constexpr std::string_view kCursorOutside = "%1, outside the chart";

// The range dialog.
inline constexpr std::string_view kChartRangeCaption = "Chart Range";
inline constexpr std::string_view kChartRangeChannel = "Channel:";
inline constexpr std::string_view kChartRangeAutomatic = "Automatic";
inline constexpr std::string_view kChartRangeLow = "Bottom:";
inline constexpr std::string_view kChartRangeHigh = "Top:";
inline constexpr std::string_view kChartRangeInvalid = "The bottom of the range must be below its top.";

// Recording.
inline constexpr std::string_view kRecordTitle = "Record Channels";
inline constexpr std::string_view kRecordFilter = "CSV Files (*.csv)";
inline constexpr std::string_view kRecordDefaultName = "Channels.csv";
inline constexpr std::string_view kRecordExtension = ".csv";
inline constexpr std::string_view kRecordReplace = "%1 already exists. Do you want to replace it ?";
inline constexpr std::string_view kRecordNothing = "No monitor window shows any channel to record.";
inline constexpr std::string_view kRecordFailed = "Recording stopped: the file could not be written.";
inline constexpr std::string_view kRecordCannotStart = "Failed to create the recording file.";
inline constexpr std::string_view kRecordingIndicator = "REC %1";
inline constexpr std::string_view kChartFileDamaged = "Strip chart file is damaged.";
inline constexpr std::string_view kChartFileNotRead = "Failed to read the strip chart file.";
inline constexpr std::string_view kChartLayoutNotSaved = "Failed to save the strip charts";

}  // namespace lcu::gui::text
