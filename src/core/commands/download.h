// The download: copies the logger header and every logging buffer of the LCU into one new
// data file named after the date and time, records it in the registry and, unless Protect
// Data is on, resets the LCU by uploading its configuration in reset mode.
//
// The data reaches the disk before anything in the LCU is touched: the file is flushed,
// synced and closed (with its folder synced) before the registry values are written and the
// LCU is reset. Each buffer is streamed into the file chunk by chunk, so memory use does not
// grow with the buffer size; the chunks are written by a thread of their own while the next
// ones cross the link. An existing data file is never replaced. Once the file is saved, the
// header and then the logging state are read again, and the reset's write follows that last
// read directly: an LCU that logged while the download ran is not reset, its file is kept
// but not recorded as the new download (it may mix older and newer data: the header read
// afterwards is added behind its last buffer, so that it does not pass for complete), and
// the user is asked to download again. A download that ends early names the partial file it
// leaves.
#pragma once

#include <cstdint>
#include <string>

#include "core/app/command_context.h"

namespace lcu {

struct DownloadResult {
  CommandResult result = CommandResult::kFailed;
  /// True once the complete data file is safely on disk (also when the reset then failed or
  /// was left out because the LCU logged more meanwhile).
  bool fileSaved = false;
  /// The LCU logged while it was read: the saved file is kept, but not recorded as the new
  /// download, since it may mix older and newer data, and carries the header read afterwards
  /// behind its last buffer; the LCU was not reset.
  bool loggedDuring = false;
  /// The reset after the download emptied the LCU.
  bool lcuEmptied = false;
  /// Bytes of the saved data file.
  std::uint64_t fileSize = 0;
  /// The data file: the complete one, or the part that a stopped or failed download left
  /// (named to the user as incomplete); empty when none was created.
  std::string path;
};

/// The Download command. Refused, with its message, while another download runs, off line,
/// while the LCU logs, and when the header holds no data or an unsound buffer table. A stop
/// request (StopDownload) ends it with kDeclined.
DownloadResult Download(CommandContext& ctx);

}  // namespace lcu
