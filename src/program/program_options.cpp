#include "program/program_options.h"

#include <cstdlib>

namespace lcu::program {

std::string FaultsFromEnvironment() {
  const char* value = std::getenv(kFaultsVariable);
  return value ? std::string(value) : std::string();
}

}  // namespace lcu::program
