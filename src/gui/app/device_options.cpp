#include "gui/app/device_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include "core/app/messages.h"
#include "core/link/recording_backend.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "sim/lcu_simulator.h"
#include "usb/host_usb_backend.h"

namespace lcu::gui {

namespace {

// The desktop program's command line: the device options, --help and --version.
struct OptionParser {
  QCommandLineParser parser;
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption simulate{ToQString(text::kSimulateOption), ToQString(text::kSimulateHelp)};
  const QCommandLineOption simState{ToQString(text::kSimStateOption), ToQString(text::kSimStateHelp),
                                    ToQString(text::kSimStateValue)};
  const QCommandLineOption record{ToQString(text::kRecordOption), ToQString(text::kRecordHelp),
                                  ToQString(text::kRecordValue)};

  OptionParser() {
    parser.setApplicationDescription(ToQString(text::kProgramDescription));
    parser.addOption(simulate);
    parser.addOption(simState);
    parser.addOption(record);
  }
};

}  // namespace

void AnswerHelpAndVersion(const QStringList& arguments) {
  OptionParser options;
  // The window system's own options (-platform, -stylesheet, -reverse) are unknown here and
  // left for the application object; read as words, none of them passes for -h or -v.
  options.parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  options.parser.parse(arguments);
  if (options.parser.isSet(options.help)) options.parser.showHelp(0);
  if (options.parser.isSet(options.version)) options.parser.showVersion();
}

DeviceOptions ParseDeviceOptions(const QStringList& arguments) {
  OptionParser parsed;
  parsed.parser.process(arguments);

  DeviceOptions options;
  options.simulate = parsed.parser.isSet(parsed.simulate);
  options.simState = parsed.parser.value(parsed.simState);
  options.record = parsed.parser.value(parsed.record);
  return options;
}

namespace {

BackendChoice OpenDevice(const DeviceOptions& options, const SettingsStore& store) {
  BackendChoice choice;
  if (options.simulate || !options.simState.isEmpty()) {
    sim::SimulatorOptions simOptions;
    if (!options.simState.isEmpty()) simOptions.stateDir = options.simState.toStdString();
    auto simulator = std::make_unique<sim::LcuSimulator>(simOptions);
    if (simulator->Ok()) {
      choice.backend = std::move(simulator);
      return choice;
    }
    choice.problem = simulator->Error();
  } else {
    if (auto usb = usb::OpenHostUsbBackend(store, choice.problem)) {
      choice.backend = std::move(usb);
      return choice;
    }
  }
  choice.backend = std::make_unique<NoLcuBackend>();
  return choice;
}

}  // namespace

BackendChoice OpenBackend(const DeviceOptions& options, const SettingsStore& store) {
  BackendChoice choice = OpenDevice(options, store);
  if (options.record.isEmpty()) return choice;
  std::string problem;
  auto recorder = RecordingBackend::ToFile(std::move(choice.backend), options.record.toStdString(), problem);
  if (recorder) {
    choice.backend = std::move(recorder);
  } else {
    choice.backend = std::make_unique<NoLcuBackend>();
    choice.problem = std::string(msg::kCannotCreateTranscript) + problem;
  }
  return choice;
}

}  // namespace lcu::gui
