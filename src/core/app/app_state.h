// AppState: the fields of the application object that the LCU commands share: the channel
// model with the calibration image, the program's flags, and the current download's file. Who
// holds the link and whether a download runs is the LinkOwner's. Code below the commands sees
// only the part it needs (a ChannelModel).
#pragma once

#include <string>

#include "core/app/program_flags.h"
#include "core/channels/channel_model.h"

namespace lcu {

struct AppState : ChannelModel, ProgramFlags {
  std::string m_szDownloadFile;  // path of the current download's data file
};

}  // namespace lcu
