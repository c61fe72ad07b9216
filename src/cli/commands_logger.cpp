// The logger's main jobs: download, send-config, the LCU configuration rows, and what a
// downloaded data file holds.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/cli11.h"
#include "cli/cli_context.h"
#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "cli/core_command.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "cli/progress_bar.h"
#include "cli/standard_output.h"
#include "cli/stop_signals.h"
#include "cli/terminal.h"
#include "core/commands/download.h"
#include "core/commands/lcu_configuration.h"
#include "core/commands/send_config.h"
#include "core/host/default_paths.h"
#include "core/host/regular_file.h"
#include "core/logger/data_file.h"

namespace lcu::cli {

namespace {

// The download's progress bar, and the data file's path printed once the file is on disk
// and before the LCU is emptied: a path that cannot be printed leaves the LCU as it is, and
// goes to stderr with the reason instead.
class DownloadUi final : public CommandUi {
 public:
  DownloadUi(ProgressBar& bar, Prompter& prompter) : m_bar(bar), m_prompter(prompter) {}

  void BeginProgress(int steps) override { m_bar.BeginProgress(steps); }
  void StepProgress() override { m_bar.StepProgress(); }
  void EndProgress() override { m_bar.EndProgress(); }
  void ShowTransferred(const TransferProgress& progress) override { m_bar.ShowTransferred(progress); }
  bool PumpWaitingMessages() override { return m_bar.PumpWaitingMessages(); }
  void FlagChanged(AppFlag flag, bool on) override { m_bar.FlagChanged(flag, on); }

  // The path goes out as soon as the file is on disk, before the LCU is looked at again or
  // emptied: a script learns where the data is whatever happens next.
  bool DataFileSaved(const std::string& path) override {
    std::cout << path << '\n';
    if (StandardOutput::FlushOrReport(m_prompter)) return true;
    ShowFileError(m_prompter, msg::kDataFileKeptLcuNotEmptied, path, {});
    return false;
  }

 private:
  ProgressBar& m_bar;
  Prompter& m_prompter;
};

int RunDownload(CliContext& context) {
  ProgressBar bar = ProgressBar::ForStderr();
  ProgressPrompter prompter(context.GetPrompter(), bar);
  DownloadUi ui(bar, prompter);
  std::optional<CommandContext> commandContext = context.MakeCommandContext(ui, &prompter);
  if (!commandContext) return kExitFailed;
  // Ctrl+C, SIGTERM and SIGHUP end the download as a quit would: the LCU is left as it is and
  // the partial file is named.
  const StopSignals stopSignals;
  const DownloadResult download = Download(*commandContext);
  return ExitStatusOf(download.result);
}

std::string ConfigurationJson(const LcuConfigurationValues& values) {
  return JsonWriter()
      .BeginObject()
      .Field("configId", values.configId)
      .Field("version", values.version)
      .Field("checksum", values.checksum)
      .Field("firmware", values.firmware)
      .Field("lcuNumber", values.lcuNumber)
      .Field("clockHours", values.clockHours)
      .Field("clockMinutes", values.clockMinutes)
      .Field("memoryKib", values.memoryKib)
      .Field("stbc", values.stbc)
      .EndObject()
      .Text();
}

CommandResult PrintConfiguration(CommandContext& context, bool json) {
  const CLcuConfg configuration(context);
  if (!configuration.IsReady()) return CommandResult::kFailed;
  if (json) {
    std::cout << ConfigurationJson(configuration.Values());
    return CommandResult::kDone;
  }
  for (const std::string& line : configuration.Lines()) std::cout << TerminalSafe(line) << '\n';
  return CommandResult::kDone;
}

std::string DataFileJson(const DataFileInfo& info) {
  JsonWriter json;
  json.BeginObject()
      .Field("lcuNumber", info.lcuNumber)
      .Field("downloaded", DownloadTimeText(info.downloadTime))
      .Field("session", info.session.session)
      .Field("outing", info.session.outing)
      .Field("lapCount", info.session.lapCount)
      .Field("paceLaps", info.session.paceLaps)
      .Field("wrapped", info.wrapped)
      .Key("buffers")
      .BeginArray();
  for (const DataFileBuffer& buffer : info.buffers) {
    json.BeginObject().Field("rateCode", buffer.rateCode).Key("rate");
    if (buffer.rate) {
      json.Value(*buffer.rate);
    } else {
      json.Null();
    }
    json.Field("weight", buffer.weight)
        .Field("length", buffer.length)
        .Field("bytesInFile", buffer.bytesPresent)
        .EndObject();
  }
  return json.EndArray()
      .Field("size", info.fileSize)
      .Field("expectedSize", info.expectedSize)
      .Field("complete", info.Complete())
      .Field("loggedDuring", info.loggedDuring)
      .EndObject()
      .Text();
}

void ShowCannotRead(CliContext& context, const std::string& path, const std::error_code& error) {
  ShowFileError(context.GetPrompter(), msg::kCannotReadDataFile, path, error.message());
}

// Only the header and the file's size are needed, so a large data file is not loaded.
int RunDatInfo(CliContext& context, const std::string& path, bool json) {
  if (const std::optional<std::string> refusal = NotRegularFileReason(path)) {
    ShowFileError(context.GetPrompter(), msg::kCannotReadDataFile, path, *refusal);
    return kExitFailed;
  }
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(Utf8Path(path), error);
  std::ifstream file(Utf8Path(path), std::ios::binary);
  if (error || !file) {
    ShowCannotRead(context, path, error ? error : std::error_code(errno, std::generic_category()));
    return kExitFailed;
  }
  std::vector<std::uint8_t> start(static_cast<std::size_t>(std::min<std::uintmax_t>(size, kLoggerHeaderSize)));
  file.read(reinterpret_cast<char*>(start.data()), static_cast<std::streamsize>(start.size()));
  if (static_cast<std::size_t>(file.gcount()) != start.size()) {
    ShowCannotRead(context, path, std::make_error_code(std::errc::io_error));
    return kExitFailed;
  }
  std::string_view refusal;
  const std::optional<DataFileInfo> info = ReadDataFileInfo(start, size, refusal);
  if (!info) {
    context.GetPrompter().Error(refusal);
    return kExitFailed;
  }
  std::cout << (json ? DataFileJson(*info) : FormatDataFileInfo(*info));
  return kExitOk;
}

}  // namespace

void AddLoggerCommands(CommandRegistry& commands) {
  auto configJson = std::make_shared<bool>(false);
  CLI::App* config = commands.AddCommand(
      "config", "Print the LCU Configuration rows, one \"Label : value\" per line", [configJson](CliContext& context) {
        return RunCoreCommand(context, [json = *configJson](CommandContext& c) { return PrintConfiguration(c, json); });
      });
  AddJsonFlag(*config, *configJson);
  commands.AddCommand("download",
                      "Download the logged data into a new data file and print its path; the LCU is then "
                      "emptied unless the setting Corvalent/Settings \"Preserve Buffer\" is 1",
                      RunDownload);
  commands.AddCommand("send-config", "Send the configuration and calibration of the connected LCU to it",
                      [](CliContext& context) {
                        return RunCoreCommand(context, [](CommandContext& c) { return SendConfig(c).result; });
                      });

  auto datPath = std::make_shared<std::string>();
  auto datJson = std::make_shared<bool>(false);
  CLI::App* datInfo =
      commands.AddCommand("dat-info", "Print what a downloaded data file holds and whether it is complete",
                          [datPath, datJson](CliContext& context) { return RunDatInfo(context, *datPath, *datJson); });
  datInfo->add_option("FILE", *datPath, "The data file (.DAT)")->required();
  AddJsonFlag(*datInfo, *datJson);
}

}  // namespace lcu::cli
