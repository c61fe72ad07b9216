// Texts that only the desktop program shows: menu labels with their shortcut after a tab,
// the status-bar prompts of the commands, dialog captions and labels, and the service
// passwords. Each text is kept here once; the core's messages are in core/messages/messages.h.
#pragma once

#include <string_view>

namespace lcu::gui::text {

// Main window.
inline constexpr std::string_view kCaptionSeparator = " - ";
inline constexpr std::string_view kReady = "Ready";

// Menus.
inline constexpr std::string_view kFileMenu = "&File";
inline constexpr std::string_view kLoggerMenu = "&Logger";
inline constexpr std::string_view kSysconMenu = "&Syscon";
inline constexpr std::string_view kWindowMenu = "&Window";
inline constexpr std::string_view kHelpMenu = "&Help";

// Menu items: the label, a tab and the shortcut; the shortcut is taken from the label.
inline constexpr std::string_view kOpenItem = "&Open";
inline constexpr std::string_view kCloseItem = "&Close";
inline constexpr std::string_view kSaveItem = "&Save\tCtrl+S";
inline constexpr std::string_view kSaveAsItem = "Save &As ...";
inline constexpr std::string_view kLcuConfigurationItem = "&LCU Configuration\tCtrl+L";
inline constexpr std::string_view kInitializeLcuItem = "&Initialize LCU\tCtrl+I";
inline constexpr std::string_view kPasswordItem = "&Password\tCtrl+P";
inline constexpr std::string_view kResetLogbookItem = "&Reset Logbook\tCtrl+B";
inline constexpr std::string_view kExitItem = "E&xit\tCtrl+X";
inline constexpr std::string_view kDownloadItem = "&Download\tCtrl+D";
inline constexpr std::string_view kStopDownloadItem = "&Stop Download";
inline constexpr std::string_view kAutoDownloadItem = "&Auto Download\tCtrl+A";
inline constexpr std::string_view kSendConfigItem = "Send &Config\tCtrl+C";
inline constexpr std::string_view kExtractSetupItem = "&Extract Setup";
inline constexpr std::string_view kLcuCheckItem = "LCU Chec&k...";
inline constexpr std::string_view kSessionDataItem = "S&ession Data\tCtrl+E";
inline constexpr std::string_view kPreserveQmtItem = "&Preserve QMT data";
inline constexpr std::string_view kLoadHexFileItem = "Load &Hex File\tCtrl+H";
inline constexpr std::string_view kReadHexFileItem = "&Read Hex File";
inline constexpr std::string_view kReadWriteDataItem = "Read/Write Data";
inline constexpr std::string_view kRefreshCalibrationItem = "Refresh &Calibration\tCtrl+R";
inline constexpr std::string_view kProtectDataItem = "&Protect Data";
inline constexpr std::string_view kStartLoggerItem = "&Start Logger\tCtrl+M";
inline constexpr std::string_view kNewWindowItem = "&New Window\tCtrl+N";
inline constexpr std::string_view kCascadeItem = "&Cascade";
inline constexpr std::string_view kTileItem = "&Tile";
inline constexpr std::string_view kArrangeIconsItem = "&Arrange Icons";
inline constexpr std::string_view kAboutItem = "&About tavrix...";

// Keys that move between the child windows; they have no menu item.
inline constexpr std::string_view kNextPaneKey = "F6";
inline constexpr std::string_view kPreviousPaneKey = "Shift+F6";

// The status bar after a download saved its data file: the file's name and bytes, then
// whether the LCU was emptied.
inline constexpr std::string_view kDownloadSaved = "%1 downloaded, %2 bytes";
inline constexpr std::string_view kLcuEmptied = "; the LCU was emptied.";
inline constexpr std::string_view kLcuKeepsData = "; the LCU still holds the data.";

// Status-bar prompts, shown in pane 0 while an item is highlighted.
inline constexpr std::string_view kOpenPrompt = "Open a monitor settings file";
inline constexpr std::string_view kClosePrompt = "Close the monitor settings file";
inline constexpr std::string_view kSavePrompt = "Save the monitor windows in the settings file";
inline constexpr std::string_view kSaveAsPrompt = "Save the monitor windows in a new settings file";
inline constexpr std::string_view kLcuConfigurationPrompt = "Display LCU Configuration";
inline constexpr std::string_view kInitializeLcuPrompt = "Initialize LCU/logger";
inline constexpr std::string_view kPasswordPrompt = "Enter password";
inline constexpr std::string_view kResetLogbookPrompt = "Reset Engine Logbook";
inline constexpr std::string_view kExitPrompt = "Close the program";
inline constexpr std::string_view kDownloadPrompt = "Download data from logger";
inline constexpr std::string_view kStopDownloadPrompt = "Interrupt download";
inline constexpr std::string_view kAutoDownloadPrompt = "Auto download data on connect";
inline constexpr std::string_view kSendConfigPrompt = "Send configuration file to logger";
inline constexpr std::string_view kExtractSetupPrompt = "Extract setup file from the logger";
inline constexpr std::string_view kLcuCheckPrompt = "Check the LCU before a run";
inline constexpr std::string_view kSessionDataPrompt = "View/Edit Session Data";
inline constexpr std::string_view kPreserveQmtPrompt = "Preserve QMT data";
inline constexpr std::string_view kLoadHexFilePrompt = "Load new hex file";
inline constexpr std::string_view kReadHexFilePrompt = "Read binary file";
inline constexpr std::string_view kReadWriteDataPrompt = "Edit data";
inline constexpr std::string_view kRefreshCalibrationPrompt = "Refresh Calibration";
inline constexpr std::string_view kProtectDataPrompt = "Preserve Data after Download";
inline constexpr std::string_view kStartLoggerPrompt = "Start Manual Logging";
inline constexpr std::string_view kNewWindowPrompt = "Open new monitor window";
inline constexpr std::string_view kCascadePrompt = "Overlap the open windows";
inline constexpr std::string_view kTilePrompt = "Place the open windows side by side";
inline constexpr std::string_view kArrangeIconsPrompt = "Line up the minimized windows along the bottom";
inline constexpr std::string_view kAboutPrompt = "Show the program's version";

// Service password.
inline constexpr std::string_view kPasswordCaption = "Password";
inline constexpr std::string_view kPasswordLabel = "Password:";
inline constexpr std::string_view kServicePassword1 = "tarnwell";
inline constexpr std::string_view kServicePassword2 = "mossgate";
inline constexpr std::string_view kInvalidPassword = "Invalid password";

// About box.
inline constexpr std::string_view kAboutCaption = "About TAVRIX";
inline constexpr std::string_view kVersionLabel = "Version";

// Logger dialogs.
inline constexpr std::string_view kInitLcuCaption = "Initialize LCU";
inline constexpr std::string_view kLcuNumberLabel = "LCU#";
inline constexpr std::string_view kSessionDataCaption = "Session Data";
inline constexpr std::string_view kSessionGroup = "Session";
inline constexpr std::string_view kUpdateButton = "Update";
inline constexpr std::string_view kCancelButton = "Cancel";
inline constexpr std::string_view kLcuConfigurationCaption = "LCU Configuration";
inline constexpr std::string_view kConfigurationGroup = "Configuration";
inline constexpr std::string_view kLcuCheckCaption = "LCU Check";
inline constexpr std::string_view kLcuCheckAllOk = "Everything is ready for a run.";
inline constexpr std::string_view kLcuCheckWarnings = "Some things need a look before a run.";
inline constexpr std::string_view kLcuCheckErrors = "Something must be put right before a run.";
inline constexpr std::string_view kLcuCheckActionLead = "What to do: ";

// Set LCU Clock (Logger menu) and the LCU check window's Check Again and off-line state
// (%1: the time the LCU went off line).
inline constexpr std::string_view kSetLcuClockItem = "Set LCU Cl&ock";
inline constexpr std::string_view kSetLcuClockPrompt = "Set the LCU clock to the computer's time";
inline constexpr std::string_view kCheckAgainButton = "Check &Again";
inline constexpr std::string_view kLcuCheckStale =
    "The LCU went off line at %1: these lines may no longer hold. The check runs again when the LCU is back on line.";

// Child frames and the window-name dialog.
inline constexpr std::string_view kUntitledWindow = "Untitled";
inline constexpr std::string_view kMonitorWindowName = "Monitor";
inline constexpr std::string_view kWindowTitleCaption = "Enter window name";
inline constexpr std::string_view kWindowNameLabel = "Window Name:";

// Monitor windows: the columns, the right-click menu and its prompts.
inline constexpr std::string_view kIdHeading = "ID";
inline constexpr std::string_view kChannelHeading = "Channel";
inline constexpr std::string_view kValueHeading = "Value";
inline constexpr std::string_view kUnitsHeading = "Units";
inline constexpr std::string_view kRawHeading = "Raw";
inline constexpr std::string_view kWindowNameItem = "Window Name";
inline constexpr std::string_view kSetFontItem = "Set Font";
inline constexpr std::string_view kEditChannelsItem = "Edit Channels";
inline constexpr std::string_view kZeroAllChannelsItem = "Zero All Channels";
inline constexpr std::string_view kUndoZeroingItem = "Undo Zeroing";
inline constexpr std::string_view kCloseWindowItem = "Close";
inline constexpr std::string_view kWindowNamePrompt = "Set Window Name";
inline constexpr std::string_view kSetFontPrompt = "Set the font of the list";
inline constexpr std::string_view kEditChannelsPrompt = "Select channels to monitor";
inline constexpr std::string_view kZeroAllChannelsPrompt = "Zero All Channels";
inline constexpr std::string_view kUndoZeroingPrompt = "Put back the calibration as it was before the last zeroing";
inline constexpr std::string_view kCloseWindowPrompt = "Close monitor window";

// The memory window, its address bar and its write dialog. The write dialog's formats are
// named as the columns that show them.
inline constexpr std::string_view kMemoryWindowName = "Read/Write Memory";
inline constexpr std::string_view kAddrHeading = "Addr";
inline constexpr std::string_view kDecName = "Dec";
inline constexpr std::string_view kHexName = "Hex";
inline constexpr std::string_view kAsciiName = "ASCII";
inline constexpr std::string_view kBinaryHeading = "Binary";
inline constexpr std::string_view kAddressBarCaption = "Enter Address";
inline constexpr std::string_view kAddressLabel = "Address:";
inline constexpr std::string_view kRangeLabel = "Range:";
inline constexpr std::string_view kWriteDataCaption = "Write Data";
inline constexpr std::string_view kFormatGroup = "Format";
inline constexpr std::string_view kBinFormat = "Bin";
inline constexpr std::string_view kDataGroup = "Data";

// Channel selection and zeroing dialogs.
inline constexpr std::string_view kActiveChannelsCaption = "Active Channels";
inline constexpr std::string_view kAvailableChannelsLabel = "Available Channels:";
inline constexpr std::string_view kZeroChannelsCaption = "Zero channel(s)";
inline constexpr std::string_view kZeroValueLabel = "Value :";

// Monitor settings files.
inline constexpr std::string_view kLoadSettingsTitle = "Load Settings";
inline constexpr std::string_view kLoadSettingsFilter = "Setting Files (*.nsb)";
inline constexpr std::string_view kSaveSettingsTitle = "Save Settings";
inline constexpr std::string_view kSaveSettingsFilter = "Settings Files (*.nsb)";
inline constexpr std::string_view kDefaultSettingsName = "Settings.nsb";
/// An open child window in the Window menu: its number (the first nine as mnemonics) and name.
inline constexpr std::string_view kWindowListMnemonicItem = "&%1 %2";
inline constexpr std::string_view kWindowListItem = "%1 %2";
/// Given to a settings file name typed without an extension, so that Open lists it again.
inline constexpr std::string_view kSettingsExtension = ".nsb";

// Finding one's way in the monitor and memory windows: values that are no longer live, the
// Monitor menu, the empty window, the channel filter and the Window menu's list.
/// A value cell's tooltip while its value is not live: the time of the reading and its age.
inline constexpr std::string_view kLastRead = "last read %1, %2";
inline constexpr std::string_view kTimeOfDay = "%1:%2:%3";
inline constexpr std::string_view kSecondsAgo = "%1 s ago";
inline constexpr std::string_view kMinutesAgo = "%1 min ago";
inline constexpr std::string_view kHoursAgo = "%1 h ago";
inline constexpr std::string_view kMonitorMenu = "&Monitor";
inline constexpr std::string_view kEditChannelsMenuItem = "&Edit Channels...\tIns";
inline constexpr std::string_view kWindowNameMenuItem = "Window &Name...";
inline constexpr std::string_view kSetFontMenuItem = "Set &Font...";
inline constexpr std::string_view kZeroSelectedItem = "&Zero Selected Channels...";
inline constexpr std::string_view kZeroSelectedPrompt = "Zero the selected channels";
inline constexpr std::string_view kZeroAllMenuItem = "Zero &All Channels...";
inline constexpr std::string_view kUndoZeroingMenuItem = "&Undo Zeroing";
inline constexpr std::string_view kSetRangeMenuItem = "Set &Range...";
inline constexpr std::string_view kSetRangePrompt = "Set the range of a channel in the strip chart";
inline constexpr std::string_view kCopyItem = "Cop&y\tCtrl+Shift+C";
inline constexpr std::string_view kCopyPrompt = "Copy the selected rows (channel, value, units) as text";
/// The body of a monitor window without channels.
inline constexpr std::string_view kEmptyMonitorHint =
    "No channels yet.\n\nPress Insert, or right-click here and choose Edit Channels, to choose the channels this "
    "window shows.";
inline constexpr std::string_view kChannelFilterLabel = "&Find:";
inline constexpr std::string_view kChannelFilterPlaceholder = "name or number";
/// A channel of the selection list: its number, name and units.
inline constexpr std::string_view kChannelChoice = "%1  %2";
inline constexpr std::string_view kChannelChoiceUnits = "%1  [%2]";
/// A window of the Window menu whose name another window has too: its name and first channels.
inline constexpr std::string_view kWindowWithChannels = "%1 \u2014 %2";
inline constexpr std::string_view kChannelListSeparator = ", ";
inline constexpr std::string_view kMoreChannels = "\u2026";
inline constexpr std::string_view kNoChannels = "no channels";

// The download's progress window and the status bar's indicators.
inline constexpr std::string_view kDownloadCaption = "Download";
inline constexpr std::string_view kStopButton = "Stop";
inline constexpr std::string_view kLoggingIndicator = "LOGGING";
inline constexpr std::string_view kServiceIndicator = "SERVICE";
inline constexpr std::string_view kAutoIndicator = "AUTO";
/// The memory pane's tooltip: MEM's number, then the LCU's memory figure in KiB.
inline constexpr std::string_view kMemoryPaneTip =
    "MEM: %1 is the LCU's free data memory in units of 4 KiB (its memory figure, %2 KiB, divided by 4).";
/// Added when the LCU check has read this LCU's header: when, the KiB used, the percentage and
/// the KiB of the buffers' room.
inline constexpr std::string_view kMemoryCheckedTip =
    "The LCU check at %1 found logged data of %2 KiB: %3 % of %4 KiB.";

// Command line.
inline constexpr std::string_view kProgramDescription = "The desktop workstation of the LCU engine data logger.";
inline constexpr std::string_view kSimulateOption = "simulate";
inline constexpr std::string_view kSimulateHelp =
    "Work with a fresh simulated LCU held in memory instead of a real one.";
inline constexpr std::string_view kSimStateOption = "sim-state";
inline constexpr std::string_view kSimStateHelp = "Work with a simulated LCU whose memory is kept in the folder DIR.";
inline constexpr std::string_view kSimStateValue = "DIR";
inline constexpr std::string_view kRecordOption = "record";
inline constexpr std::string_view kRecordHelp = "Write every transfer with the LCU to FILE, one line each.";
inline constexpr std::string_view kRecordValue = "FILE";
inline constexpr std::string_view kReplayOption = "replay";
inline constexpr std::string_view kReplayHelp =
    "Play back a transcript written with --record instead of working with an LCU; the first transfer that differs "
    "from it fails.";
inline constexpr std::string_view kReplayValue = "FILE";

}  // namespace lcu::gui::text
