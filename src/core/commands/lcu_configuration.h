// CLcuConfg: what identifies the connected LCU and its configuration, as the LCU
// Configuration dialog shows it: eight rows of label and text. The object gathers everything
// while it is constructed; when anything cannot be read it shows a message instead and is
// not ready, and the dialog is not opened.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/command_context.h"
#include "core/logger/lcu_configuration_rows.h"

namespace lcu {

/// What the rows show, as read: the two texts of the identification block and the numbers
/// the other rows are formatted from.
struct LcuConfigurationValues {
  std::string configId;
  std::string version;
  std::uint16_t checksum = 0;
  std::uint16_t firmware = 0;
  std::uint16_t lcuNumber = 0;
  std::uint16_t clockHours = 0;
  std::uint16_t clockMinutes = 0;
  std::uint32_t memoryKib = 0;
  std::uint16_t stbc = 0;
};

class CLcuConfg {
 public:
  /// Reads the identification block (0x8100) and the checksum (0x7FFE) and formats the rows
  /// with the status block of the last poll. Shows "LCU is off-line." or "Failed to read LCU"
  /// (or refuses while a download runs) and is then not ready.
  explicit CLcuConfg(CommandContext& ctx);

  bool IsReady() const { return m_bReady != 0; }
  /// The eight texts in row order; empty while not ready.
  const LcuConfigurationTexts& Texts() const { return m_szTexts; }
  /// The values behind the texts; zero and empty while not ready.
  const LcuConfigurationValues& Values() const { return m_values; }
  /// One "Label value" line per row (the labels end in " :").
  std::vector<std::string> Lines() const;

 private:
  std::int32_t m_bReady = 1;
  LcuConfigurationTexts m_szTexts;
  LcuConfigurationValues m_values;
};

}  // namespace lcu
