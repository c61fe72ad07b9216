// Every text the system shows to the user, kept in one place so that each appears once.
#pragma once

#include <string_view>

namespace lcu::msg {

// Caption of every message box and the product title.
inline constexpr std::string_view kAppTitle = "Corvalent";

// Link and transfers.
inline constexpr std::string_view kReadFileFailedCaption = "ReadFile failed.";
inline constexpr std::string_view kReadFileFailed = "ReadFile failed";
inline constexpr std::string_view kFailedToAllocateMemory = "Failed to allocate memory.";
inline constexpr std::string_view kShortTransferText = "The LCU sent or took fewer bytes than requested.";
inline constexpr std::string_view kReadingFromLcuFailed = "Reading from the LCU failed.";

// Files that are read: the reason, after the path, for one that is not a regular file.
inline constexpr std::string_view kNotARegularFile = "Not a regular file";

// Recording and replaying the traffic with the LCU.
inline constexpr std::string_view kCannotCreateTranscript = "Cannot create the transcript ";
inline constexpr std::string_view kCannotReadTranscript = "Cannot read the transcript ";
inline constexpr std::string_view kTranscriptLine = "Transcript line ";
inline constexpr std::string_view kTranscriptExpected = "expected ";
inline constexpr std::string_view kTranscriptGot = ", but the program made ";
inline constexpr std::string_view kTranscriptEnded = "the transcript has ended, but the program made ";
inline constexpr std::string_view kTranscriptNotPlayed = "the program stopped before ";

// The simulated LCU.
inline constexpr std::string_view kCannotCreateStateFolder = "Cannot create the simulator state folder ";
// Follows the variable's name and comes before its value.
inline constexpr std::string_view kSimClockInvalid = " must be a time of day such as 8:30, not ";

// Off-line forms; each command names the one it shows.
inline constexpr std::string_view kLcuOffline = "LCU is off-line";
inline constexpr std::string_view kLcuOfflineDot = "LCU is off-line.";

// Validation of images before they index memory.
inline constexpr std::string_view kLoggerHeaderInvalid = "Logger header is invalid.";
// Its second line: the entry of the buffer table at fault, after kHeaderEntry and its number.
inline constexpr std::string_view kHeaderEntry = "Entry ";
inline constexpr std::string_view kEntryWindowOutside = " has a window address outside 8000 to BFFF.";
inline constexpr std::string_view kEntryStartsInHeaderPage = " starts inside the header page.";
inline constexpr std::string_view kEntryEndsBeforeStart = " ends before it starts.";
inline constexpr std::string_view kEntryRegionBeforeStart = " has a region that ends before it starts.";
inline constexpr std::string_view kEntryEndOutsideRegion = " has its end outside its region.";
inline constexpr std::string_view kEntryEndsPastMemory = " ends past the end of memory.";
inline constexpr std::string_view kBufferCountTooLarge = "Buffer count %u is more than the header page holds.";
inline constexpr std::string_view kMemorySizeOutside = "Memory size %u lies outside 1 to 2047.";

// Calibration files.
inline constexpr std::string_view kCouldNotLoadCalibration = "Could not load calibration data";
// Follows the path of a calibration file that is not there, as on a first run.
inline constexpr std::string_view kCopySetupHint =
    "Copy the setup (channel.dsc and @LCU1.cal) into that folder, or run lcu sim-setup for the simulator.";
inline constexpr std::string_view kCouldNotReadCalibrationFile = "Could not read calibration file";
inline constexpr std::string_view kCalibrationFileTooShort = "The file is shorter than 16384 bytes";
// Another LCU's calibration file in use: the first part says why (%u the LCU, %s its missing
// file), the second whose file is used instead (%s "LCU 1" or "slot 1", then the file).
inline constexpr std::string_view kLcuNotRegistered = "LCU %u is not registered";
inline constexpr std::string_view kLcuHasNoCalibrationFile = "LCU %u has no calibration file (%s)";
inline constexpr std::string_view kUseCalibrationOf = "; use the calibration of %s (%s)?";
inline constexpr std::string_view kUsingCalibrationOf = "; using the calibration of %s (%s).";
inline constexpr std::string_view kLcuNumbered = "LCU ";
inline constexpr std::string_view kSlotNumbered = "slot ";
// Zeroing and its undo. %s stands for the channels, %u for the LCU, the second %s for the value.
inline constexpr std::string_view kZeroChannelsQuestion =
    "Zero %s of LCU %u to %s? The calibration file is replaced; its previous version is kept.";
inline constexpr std::string_view kListAnd = " and ";
inline constexpr std::string_view kListComma = ", ";
inline constexpr std::string_view kMoreChannels = " more channels";
inline constexpr std::string_view kChannelNumbered = "channel ";
inline constexpr std::string_view kNoCalibratedChannel = "no calibrated channel";
inline constexpr std::string_view kNoZeroingToUndo = "There is no earlier calibration to put back.";
inline constexpr std::string_view kFailedToRestoreCalibration = "Failed to put back the earlier calibration.";
inline constexpr std::string_view kSendRestoredCalibration =
    "The calibration of LCU %u is back as it was before the last zeroing. Send it to the LCU?";

// Download.
inline constexpr std::string_view kCannotDownloadWhileLogging = "Cannot download while logging is in progress !";
inline constexpr std::string_view kFailedToAccessLcu = "Failed to access LCU.";
inline constexpr std::string_view kFailedToReadHeader = "Failed to read header";
inline constexpr std::string_view kLcuHasNoData = "LCU has no data to download";
inline constexpr std::string_view kFailedToOpenOutputFile = "Failed to open output file";
inline constexpr std::string_view kFailedToWriteHeaderToOutputFile = "Failed to write header to output file.";
inline constexpr std::string_view kFailedToReadChannelData = "Failed to read channel data";
inline constexpr std::string_view kFailedToSaveChannelData = "Failed to save channel data";
inline constexpr std::string_view kResetCouldNotReadCalibration =
    "Error while resetting LCU.\nCould not read calibration file.";
inline constexpr std::string_view kErrorWhileResettingLcu = "Error while resetting LCU";
inline constexpr std::string_view kLcuLoggedDuringDownload =
    "LCU logged more data during the download and was not reset.\nPlease download again.";
// With Protect Data on, the LCU logged while it was read; the data file's path follows.
inline constexpr std::string_view kDataFileMayMixData =
    "LCU logged during the download.\nThe data file may mix older and newer data. Please download again.";
// The header read after such a download could not be added to its data file, which so
// passes for complete; the path and the system's reason follow.
inline constexpr std::string_view kDataFileNotMarkedMixed =
    "The data file could not be marked as incomplete: it looks complete, but is not.";
// After "Error while resetting LCU" and the system's text; the data file's path follows.
inline constexpr std::string_view kResetFailedDataFileComplete =
    "The data file is complete; the LCU may already be empty.";
// A stopped or failed download keeps its partial file; its path follows.
inline constexpr std::string_view kDataFileIncomplete = "Data file is incomplete.";
inline constexpr std::string_view kDownloadingLogger = "Downloading Logger";
inline constexpr std::string_view kDownloadInProgress = "A download is in progress. Please wait until it has ended.";
// The download's figures under its progress bar: bytes done of all, the rate, the time left.
inline constexpr std::string_view kBytesOfTotal = "%.1f MiB of %.1f MiB";
inline constexpr std::string_view kRateAndTimeLeft = ", %.1f MB/s, %s left";

// Configuration upload.
inline constexpr std::string_view kLoggingInProgressContinue = "Logging in progress. Do you want to continue ?";
inline constexpr std::string_view kFailedToReadHeaderDot = "Failed to read header.";
inline constexpr std::string_view kLcuContainsData = "LCU contains data. Do you want to continue ?";
inline constexpr std::string_view kFailedToUploadConfiguration = "Failed to upload configuration data.";
inline constexpr std::string_view kConfigurationUpdated = "LCU configuration successfully updated.";
inline constexpr std::string_view kCalibrationImageInvalid = "Calibration file is invalid.";

// Maintenance commands and the LCU configuration display.
inline constexpr std::string_view kFailedToAllocateDumpMemory = "Failed to allocate memory";
inline constexpr std::string_view kFailedToSendCommand = "Failed to send a command to logger.";
inline constexpr std::string_view kFailedToReadLogger = "Failed to read logger.";
inline constexpr std::string_view kFailedToCreateOutputFile = "Failed to create output file.";
inline constexpr std::string_view kFailedToWriteOutputFile = "Failed to write to output file.";
inline constexpr std::string_view kHexFileDownloaded = "Hex file successfully downloaded.";
inline constexpr std::string_view kResetLogbookContinue = "Reset engine logbook. Do you want to continue ?";
inline constexpr std::string_view kFailedToResetLogbook = "Failed to reset logbook";
inline constexpr std::string_view kExtractSetupContinue = "Extract logger setup. Do you want to continue ?";
inline constexpr std::string_view kFailedToInitializeLcu = "Failed to initialize LCU.";
inline constexpr std::string_view kInitializeLcuContinue = "Initialize LCU. Do you want to continue ?";
inline constexpr std::string_view kInitializeLcuWithData =
    "LCU contains data. It may not be readable after Initialize LCU. Do you want to continue ?";
inline constexpr std::string_view kFailedToReadSessionData = "Failed to read session data";
inline constexpr std::string_view kFailedToUpdateSessionData = "Failed to update session data";
inline constexpr std::string_view kFailedToWriteDataToLcu = "Failed to write data to LCU.";
inline constexpr std::string_view kEnterInteger = "Please enter an integer.";
inline constexpr std::string_view kEnterIntegerInLcuRange = "Please enter an integer between 0 and 65535.";
inline constexpr std::string_view kEnterIntegerInMemoryRange = "Please enter an integer between 1 and 64.";
// %1 and %2 stand for the lowest and the highest value accepted.
inline constexpr std::string_view kEnterIntegerBetween = "Please enter an integer between %1 and %2.";
inline constexpr std::string_view kFailedToReadLcu = "Failed to read LCU";

// Set LCU Clock.
inline constexpr std::string_view kSetLcuClockContinue =
    "Set the LCU clock to the computer's time. Do you want to continue ?";
inline constexpr std::string_view kFailedToSetLcuClock = "Failed to set LCU clock.";
inline constexpr std::string_view kEnterNumber = "Please enter a number.";

// Data files.
inline constexpr std::string_view kDataFileTooShort = "Data file is too short.";
inline constexpr std::string_view kDataFileHoldsNoData = "Data file holds no logged data.";
inline constexpr std::string_view kDataFileTooLong = "Data file is longer than its header says.";

// Channel model: the channel definition file and zeroing.
inline constexpr std::string_view kCouldNotOpenChannelDefinitionFile = "Could not open channel definition file";
inline constexpr std::string_view kFailedToReadDefinitionHeader = "Failed to read header from channel definition file.";
inline constexpr std::string_view kFailedWhileReadingDefinitions = "Failed while reading channel definition file.";
inline constexpr std::string_view kChannelDefinitionFileInvalid = "Channel definition file has invalid format.";
inline constexpr std::string_view kFailedToSaveCalibrationFile = "Failed to save calibration file.";

// Monitor settings files. %s stands for the system's text of the error.
inline constexpr std::string_view kFailedToOpenSettingsFile = "Failed to open settings file";
inline constexpr std::string_view kFailedToReadSettingsFile = "Failed to read settings file.\n%s";
inline constexpr std::string_view kFailedToOpenAFile = "Failed to open a file";
inline constexpr std::string_view kFailedToWriteSettingsFile = "Failed to write settings file.";
// A settings or chart file that a load found cut short or not of its format: the first line,
// then the file and why, then where it is kept when it would be saved over (%s: its name).
inline constexpr std::string_view kSettingsFileDamaged = "Settings file is damaged.";
inline constexpr std::string_view kDamagedFileKept = "It is kept as %s before it is saved over.";
inline constexpr std::string_view kDamagedFileNotKept = "Failed to keep the damaged file; it is not replaced.";

// Firmware upload. %u stands for the line number of the refused record, %s for an address.
inline constexpr std::string_view kFailedToOpenHexFile = "Failed to open hex file";
inline constexpr std::string_view kFailedToWriteToLogger = "Failed to write to logger.";
inline constexpr std::string_view kHexFileHoldsNoFirmware = "Hex file holds no data for program memory 2000 to 7FFF.";
inline constexpr std::string_view kHexFileWithoutEndRecord = "Hex file has no end-of-file record; it may be cut short.";
inline constexpr std::string_view kHexLineExtendedAddress = "Hex file line %u follows a non-zero extended address.";
inline constexpr std::string_view kProgramMemoryDiffers = "Program memory does not match the hex file at %s.";
inline constexpr std::string_view kHexFileTooLarge = "Hex file is too large.";
inline constexpr std::string_view kHexLineInvalid = "Hex file line %u is invalid.";
inline constexpr std::string_view kHexLineBadChecksum = "Hex file line %u has a wrong checksum.";
inline constexpr std::string_view kHexLinePastProgramMemory = "Hex file line %u runs past the end of program memory.";
inline constexpr std::string_view kHexLineTextBeforeColon = "Hex file line %u has characters before its colon.";
inline constexpr std::string_view kHexLineIntoWindow =
    "Hex file line %u starts below 2000 and runs into program memory.";
inline constexpr std::string_view kHexLineUnknownType = "Hex file line %u has an unknown record type.";

}  // namespace lcu::msg
