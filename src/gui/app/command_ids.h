// Command identifiers of the main menu: each menu item carries one, and the handlers, the
// check marks and the enabled states are found by it.
#pragma once

#include "core/app/command_context.h"

namespace lcu::gui::cmd {

inline constexpr int kDownload = 32773;
inline constexpr int kStopDownload = 32774;
inline constexpr int kAutoDownload = 32775;
inline constexpr int kSendConfig = 32776;
inline constexpr int kSessionData = 32779;
inline constexpr int kLoadHexFile = 32780;
inline constexpr int kReadHexFile = 32781;
inline constexpr int kReadWriteData = 32782;
inline constexpr int kRefreshCalibration = 32783;
inline constexpr int kLcuConfiguration = 32784;
inline constexpr int kInitializeLcu = 32785;
inline constexpr int kStartLogger = 32786;
inline constexpr int kPassword = 32787;
inline constexpr int kResetLogbook = 32799;
inline constexpr int kProtectData = 32805;
inline constexpr int kExtractSetup = 32806;
inline constexpr int kPreserveQmt = 32807;
inline constexpr int kLcuCheck = 32808;
inline constexpr int kSetLcuClock = 32809;
inline constexpr int kNewWindow = 32771;
inline constexpr int kFileOpen = 32800;
inline constexpr int kFileClose = 32801;
inline constexpr int kFileSave = 32802;
inline constexpr int kFileSaveAs = 32803;
inline constexpr int kRecordChannels = 32901;
inline constexpr int kStopRecording = 32902;
inline constexpr int kStripChart = 32903;
// The Monitor menu: the active monitor window's own commands. Those of its right-click menu
// keep that menu's ids.
inline constexpr int kWindowName = 32794;
inline constexpr int kZeroAllChannels = 32797;
inline constexpr int kEditChannels = 32798;
inline constexpr int kSetFont = 32804;
inline constexpr int kZeroSelectedChannels = 32904;
inline constexpr int kUndoZeroing = 32905;
inline constexpr int kSetChartRange = 32906;
inline constexpr int kCopyRows = 32907;
inline constexpr int kWindowArrange = 57649;
inline constexpr int kWindowCascade = 57650;
inline constexpr int kWindowTile = 57651;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;

/// The menu item whose check mark shows a flag.
constexpr int MenuCommandOf(AppFlag flag) {
  switch (flag) {
    case AppFlag::kAutoDownload: return kAutoDownload;
    case AppFlag::kProtectData: return kProtectData;
    case AppFlag::kPreserveQmt: return kPreserveQmt;
    case AppFlag::kLoggerStarted: return kStartLogger;
  }
  return kStartLogger;
}

}  // namespace lcu::gui::cmd
