#include "device_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include "app/messages.h"
#include "app/recording_backend.h"
#include "gui/app/gui_texts.h"
#include "gui/app/qt_text.h"
#include "host_usb_backend.h"
#include "sim/lcu_simulator.h"

namespace lcu::gui {

DeviceOptions ParseDeviceOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption simulate(ToQString(text::kSimulateOption), ToQString(text::kSimulateHelp));
  const QCommandLineOption simState(ToQString(text::kSimStateOption), ToQString(text::kSimStateHelp),
                                    ToQString(text::kSimStateValue));
  const QCommandLineOption record(ToQString(text::kRecordOption), ToQString(text::kRecordHelp),
                                  ToQString(text::kRecordValue));
  parser.addOption(simulate);
  parser.addOption(simState);
  parser.addOption(record);
  parser.process(arguments);

  DeviceOptions options;
  options.simulate = parser.isSet(simulate);
  options.simState = parser.value(simState);
  options.record = parser.value(record);
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
