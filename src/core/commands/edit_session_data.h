// Session Data as a dialog: ReadSessionData, the Session Data dialog opened with the values
// read, and WriteSessionData of the values entered after Update. The dialog stands between
// the read and the write; Cancel ends the command with nothing written.
#pragma once

#include "core/app/command_context.h"
#include "core/commands/write_session_data.h"

namespace lcu {

/// kDeclined when the dialog was cancelled; otherwise the read's failure or the write's
/// result.
WriteSessionDataResult EditSessionData(CommandContext& ctx);

}  // namespace lcu
