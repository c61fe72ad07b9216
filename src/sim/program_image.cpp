#include "sim/program_image.h"

#include <cstdlib>
#include <string>

#include "core/util/little_endian.h"

namespace lcu::sim {

namespace {
constexpr std::size_t kBootSize = 0x0C00;
constexpr std::size_t kApplicationSize = 0x1A00;
constexpr std::size_t kBannerAddress = 0x2100;

// Deterministic filler that looks like machine code rather than a pattern.
void FillCode(std::span<std::uint8_t> bytes, std::uint32_t start) {
  std::uint32_t state = start;
  for (auto& b : bytes) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<std::uint8_t>(state >> 24);
  }
}
}  // namespace

std::uint16_t ProgramChecksum(std::span<const std::uint8_t> program) {
  if (program.size() != kProgramMemorySize) std::abort();
  std::uint32_t sum = 0;
  for (std::size_t a = kFirmwareBase; a < kChecksumAddress; a += 2) sum += le::U16(program, a);
  return static_cast<std::uint16_t>(sum & 0xFFFF);
}

std::vector<std::uint8_t> FreshProgramImage(std::uint16_t firmwareVersion) {
  std::vector<std::uint8_t> program(kProgramMemorySize, 0);
  auto image = std::span(program);
  FillCode(image.subspan(0, kBootSize), 0x1CB0u);
  FillCode(image.subspan(kFirmwareBase, kApplicationSize), 0xF00Du + firmwareVersion);
  const std::string banner = "LCU FIRMWARE " + std::to_string(firmwareVersion) + ".0";
  for (std::size_t i = 0; i < banner.size(); ++i) program[kBannerAddress + i] = static_cast<std::uint8_t>(banner[i]);
  program[kBannerAddress + banner.size()] = 0;
  le::PutU16(image, kChecksumAddress, ProgramChecksum(image));
  return program;
}

}  // namespace lcu::sim
