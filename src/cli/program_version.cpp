#include "cli/program_version.h"

#include "cli/cli_messages.h"
#include "usb/host_usb_backend.h"

namespace lcu::cli {

std::string VersionText() {
#ifdef LCU_PRODUCT_VERSION
  const std::string version = LCU_PRODUCT_VERSION;
#else
  const std::string version = "0.0.0";
#endif
  return std::string(msg::kProgramName) + ' ' + version + '\n' + usb::HostUsbStackVersion();
}

}  // namespace lcu::cli
