#include "core/channels/channel_table.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "core/channels/calibration_file.h"
#include "core/channels/channel_calibration.h"
#include "core/host/default_paths.h"
#include "core/messages/messages.h"
#include "core/util/trim_trailing_blanks.h"

namespace lcu {

namespace {

// Records 64 to 1023 go to the entry of their own number; all others are placed by name.
constexpr std::size_t kFirstPositionalRecord = kCalibratedChannels;

using NameBytes = std::span<const std::uint8_t, kCalibrationNameSize>;

std::uint8_t LowerAscii(std::uint8_t c) {
  return c >= 'A' && c <= 'Z' ? static_cast<std::uint8_t>(c + ('a' - 'A')) : c;
}

// A case-insensitive comparison of at most 16 characters: a NUL in either name ends it, and
// two names that end together are equal.
bool SameName(NameBytes a, NameBytes b) {
  for (std::size_t i = 0; i < kCalibrationNameSize; ++i) {
    const std::uint8_t ca = LowerAscii(a[i]);
    if (ca != LowerAscii(b[i])) return false;
    if (ca == 0) return true;
  }
  return true;
}

// The calibrated channel whose name matches the record's first 16 bytes, as they stand in
// the file.
std::optional<std::size_t> EntryByName(const CalibrationImage& calibration, NameBytes name) {
  for (int i = 0; i < kCalibratedChannels; ++i) {
    if (SameName(name, CalibrationNameField(calibration.Bytes(), i))) return static_cast<std::size_t>(i);
  }
  return std::nullopt;
}

std::optional<std::size_t> EntryFor(const CalibrationImage& calibration, std::size_t k,
                                    std::span<const std::uint8_t, kChannelDefinitionSize> record) {
  if (k >= kFirstPositionalRecord && k < kChannelTableSize) return k;
  return EntryByName(calibration, record.first<kCalibrationNameSize>());
}

// Ends the text at the field's last byte and turns its trailing blanks into NULs.
template <std::size_t N>
void TrimField(std::array<char, N>& field) {
  field[N - 1] = '\0';
  const auto end = std::find(field.begin(), field.end(), '\0');
  std::string text(field.begin(), end);
  TrimTrailingBlanks(text);
  std::fill(field.begin() + static_cast<std::ptrdiff_t>(text.size()), end, '\0');
}

void ResetNames(std::span<ChannelDefinition, kChannelTableSize> table) {
  for (std::size_t n = 0; n < table.size(); ++n) {
    std::array<char, kChannelNameSize> text{};
    std::snprintf(text.data(), text.size(), "ID%3.3zu", n);
    table[n].SetName(text.data());
  }
}

}  // namespace

bool ReadChannelDefinitions(ChannelModel& app, DefinitionStream& stream, std::string_view path, Prompter& prompter) {
  ResetNames(app.m_channelTable);

  stream.Read(app.m_dscHeader);
  if (stream.Failed()) {
    ShowFileError(prompter, msg::kFailedToReadDefinitionHeader, path, stream.ErrorText());
    return false;
  }

  std::array<std::uint8_t, kChannelDefinitionSize> record{};
  for (std::size_t k = 0; !stream.AtEnd(); ++k) {
    if (stream.Read(record) < record.size()) {
      if (stream.Failed()) {
        ShowFileError(prompter, msg::kFailedWhileReadingDefinitions, path, stream.ErrorText());
        return false;
      }
      if (stream.AtEnd()) break;
      ShowFileError(prompter, msg::kChannelDefinitionFileInvalid, path, {});
      return false;
    }
    if (k == kMaxDefinitionRecords) {
      ShowFileError(prompter, msg::kChannelDefinitionFileInvalid, path, {});
      return false;
    }
    if (const auto entry = EntryFor(app.m_calibration, k, record)) {
      ChannelDefinition& definition = app.m_channelTable[*entry];
      definition = ChannelDefinition::Read(record);
      TrimField(definition.name);
      TrimField(definition.units);
    }
  }

  ++app.m_nDefinitionGeneration;
  return true;
}

bool LoadChannelDefinitions(ChannelModel& app, const SettingsStore& store, std::uint16_t lcuNumber,
                            Prompter& prompter) {
  if (!LoadAppCalibration(app, store, lcuNumber, prompter, msg::kCouldNotLoadCalibration)) return false;
  const std::string path = JoinPath(SetupDirectory(store), kChannelDefinitionFileName);
  FileDefinitionStream stream(path);
  if (!stream.IsOpen()) {
    ShowFileError(prompter, msg::kCouldNotOpenChannelDefinitionFile, path, stream.ErrorText());
    return false;
  }
  return ReadChannelDefinitions(app, stream, path, prompter);
}

}  // namespace lcu
