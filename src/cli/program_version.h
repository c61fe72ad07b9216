// What `lcu --version` prints: the program's version, and the version of the libusb it
// reaches the real LCU through, which is the first thing to know about a USB problem.
#pragma once

#include <string>

namespace lcu::cli {

/// "lcu 1.0.0", then "libusb " and libusb's version on a second line.
std::string VersionText();

}  // namespace lcu::cli
