// StatusIndicators: the states the status bar shows beside the link state, each as a word
// that is there while the state holds. They are taken from what the program already knows
// or has read; finding them sends nothing to the LCU.
#pragma once

#include "core/app/app_state.h"
#include "core/link/usb_device.h"

namespace lcu {

struct StatusIndicators {
  /// The LCU logs, as far as the program knows: on line, and either Start Logger is checked
  /// or the last read of the logging state since the link was opened found it logging
  /// (Download, Auto Download, Send Config and the check before a reset read it). Switching
  /// Start Logger off forgets that read.
  bool logging = false;
  /// The service password has been accepted in this run.
  bool service = false;
  /// Auto Download is on.
  bool autoDownload = false;

  bool operator==(const StatusIndicators&) const = default;
};

/// The indicators now; serviceUnlocked tells whether the service password was accepted.
StatusIndicators CurrentIndicators(const CUsbDevice& device, const AppState& app, bool serviceUnlocked);

}  // namespace lcu
